#pragma once

// The drop-down lookup: a borderless grid that opens under an edit box, like
// a combo box's list, over a query the caller has prepared. Enter or a double
// click picks the current row; Esc, or activating anything else, closes it
// without a pick.

#include <QDialog>

class TDataGrid;
class TDataSet;

class TDropDownForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDropDownForm(TDataSet *query, QWidget *parent = nullptr);

    TDataGrid *DataGrid = nullptr;

    // Enter or double-click: picks the current row when there is one.
    void Pick();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// Puts the drop-down under the edit box, inside the work area of its screen.
void PlaceDropDown(QWidget *dropDown, const QWidget *editBox);

// Reopens the query on its own SQL and lets the user pick a row. With
// `singleRow` a result of exactly one row is taken without showing anything.
// True when a row was picked: it is the query's current row.
bool PickFromDropDown(QWidget *editBox, TDataSet *query, bool singleRow);
