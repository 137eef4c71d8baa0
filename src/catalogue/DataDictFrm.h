#pragma once

// The data dictionary window (function 51): the eleven categories on the
// left, the items of the chosen one on the right, in ItemCode order.

#include "forms/FatherFrm.h"

class QTreeWidget;

class TDataDictForm : public TFatherForm
{
    Q_OBJECT
public:
    explicit TDataDictForm(QWidget *parent = nullptr);

    QTreeWidget *CateView = nullptr;
    TDataGrid *DataDictGrid = nullptr;
    QAction *DataDictAdd = nullptr;
    QAction *DataDictMod = nullptr;
    QAction *DataDictDel = nullptr;
    QAction *DataDictCustomColumn = nullptr;

    // The chosen category's position; -1 when none is selected.
    int SelectedCategory() const;
    void SelectCategory(int cate);  // -1 clears the selection

    void DataDictAddExecute();
    void DataDictModExecute();
    void DataDictDelExecute();

private:
    void buildBody();
    void createActions();
    void categoryChanged();
};
