#pragma once

// The grid's find-text dialog: not modal, so the user can look at each row
// it finds and go on to the next. It searches the cells as the grid shows
// them, from the row after the current one, down or up. A search through a
// long list keeps the window responsive, shows how far it has come, and
// stops on "停止" (the close button while it runs) or Esc.

#include "GridFind.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDataGrid;

class TGridFindForm : public QDialog
{
    Q_OBJECT
public:
    explicit TGridFindForm(TDataGrid *grid);

    QLineEdit *EditFindText = nullptr;
    QComboBox *CboFindField = nullptr;  // "全部列", then the shown columns
    QComboBox *CboMatch = nullptr;
    QCheckBox *ChkCaseSensitive = nullptr;
    QRadioButton *RadDown = nullptr;
    QRadioButton *RadUp = nullptr;
    QPushButton *BtnFindNext = nullptr;
    QPushButton *BtnClose = nullptr;
    QLabel *LblProgress = nullptr;

    TDataGrid *Grid() const { return m_grid; }
    TGridFindOptions Options() const;
    // Moves the grid to the next row that matches; false (with a message)
    // when there is none.
    bool FindNext();
    // Empties the text and goes back to searching every column.
    void Reset();
    bool Searching() const { return m_searching; }
    // Stops a search that is running.
    void Stop() { m_stop = true; }

    void reject() override;

private:
    void fillColumns();
    bool searchGoesOn(int row, const QString &sql);
    int search(const QList<int> &columns, bool *stopped);

    QPointer<TDataGrid> m_grid;
    bool m_searching = false;
    bool m_stop = false;
};

// Opens the find dialog on the grid with an empty text and no column chosen.
TGridFindForm *ShowGridFindDialog(TDataGrid *grid);
