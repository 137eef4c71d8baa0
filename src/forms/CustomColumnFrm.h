#pragma once

// The column chooser behind every list window's "自定义列" action: the
// grid's columns in their order, ticked when shown. The choice lasts until
// the window closes.

#include <QDialog>

class QListWidget;
class QPushButton;
class TDataGrid;

class TCustomColumnForm : public QDialog
{
    Q_OBJECT
public:
    explicit TCustomColumnForm(QWidget *parent = nullptr);

    QListWidget *ColumnsBox = nullptr;
    QPushButton *BtnSelectAll = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;

    // Ticks every entry.
    void SelectAll();
    // The entries as they are ticked, in order.
    QList<bool> Ticks() const;
};

// Runs the chooser on the grid; on OK each column is shown or hidden as its
// entry is ticked, on cancel nothing changes.
void ChooseGridColumns(TDataGrid *grid);
