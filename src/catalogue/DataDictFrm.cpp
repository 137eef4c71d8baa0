#include "DataDictFrm.h"

#include "DataDictEditFrm.h"

#include "data/DMPas.h"
#include "data/DataDict.h"
#include "data/DataSet.h"
#include "data/Guard.h"
#include "forms/DataGrid.h"
#include "forms/EditorForm.h"
#include "forms/ImageList.h"

#include <QAction>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TDataDictForm::TDataDictForm(QWidget *parent)
    : TFatherForm(u"DataDictForm"_s, u"数据字典维护"_s, u"DataDict.html"_s, parent)
{
    buildBody();
    createActions();
    SelectCategory(0);
}

void TDataDictForm::buildBody()
{
    auto *split = new QSplitter(Qt::Horizontal, this);
    CateView = new QTreeWidget(split);
    CateView->setObjectName(u"CateView"_s);
    CateView->setHeaderLabels({u"字典类别"_s});
    CateView->setRootIsDecorated(false);
    CateView->setSelectionMode(QAbstractItemView::SingleSelection);
    CateView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < DictCategoryCount(); ++i) {
        auto *item = new QTreeWidgetItem(CateView, {DictCategoryLabel(i)});
        item->setIcon(0, ImgList16(19));
        item->setData(0, Qt::UserRole, i);
    }
    BodyLayout()->addWidget(split);
    // Beside the categories, in the items' code order, without a count.
    DataDictGrid = AddMainGrid(DM1->ItemsQuery, u"DataDictGrid"_s,
                               {.container = split, .recordCount = false, .filterRow = false,
                                .titleSort = false});
    DataDictGrid->horizontalHeader()->setStretchLastSection(true);
    split->setStretchFactor(1, 1);
    split->setSizes({160, 480});

    connect(CateView, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunGuarded([this] { categoryChanged(); }); });
}

void TDataDictForm::createActions()
{
    DataDictAdd = AddFunAction(u"DataDictAdd"_s, u"新增(&A)"_s, 0, rtOperate,
                               [this] { DataDictAddExecute(); });
    DataDictMod = AddFunAction(u"DataDictMod"_s, u"修改(&M)"_s, 1, rtOperate,
                               [this] { DataDictModExecute(); });
    DataDictDel = AddFunAction(u"DataDictDel"_s, u"删除(&D)"_s, 2, rtOperate,
                               [this] { DataDictDelExecute(); });
    DataDictCustomColumn = AddCustomColumnAction(u"DataDictCustomColumn"_s);
    DataDictGrid->SetModifyAction(DataDictMod);
    SetRowActions({DataDictMod, DataDictDel});
}

int TDataDictForm::SelectedCategory() const
{
    const QList<QTreeWidgetItem *> selected = CateView->selectedItems();
    return selected.isEmpty() ? -1 : selected.constFirst()->data(0, Qt::UserRole).toInt();
}

void TDataDictForm::SelectCategory(int cate)
{
    if (cate < 0 || cate >= CateView->topLevelItemCount()) {
        CateView->clearSelection();
        return;
    }
    CateView->setCurrentItem(CateView->topLevelItem(cate));
}

void TDataDictForm::categoryChanged()
{
    OpenDictItems(SelectedCategory());
}

void TDataDictForm::DataDictAddExecute()
{
    const int cate = SelectedCategory();
    if (!CheckDictCategoryChosen(cate))
        return;
    RunEditor<TDataDictEditForm>(DM1->ItemsQuery, TEditMode::Append, [cate] {
        DM1->ItemsQuery->FieldByName(u"ItemCate"_s)->SetValue(cate);
    });
}

void TDataDictForm::DataDictModExecute()
{
    if (!DM1->ItemsQuery->Active() || DM1->ItemsQuery->IsEmpty())
        return;
    RunEditor<TDataDictEditForm>(DM1->ItemsQuery, TEditMode::Edit);
}

void TDataDictForm::DataDictDelExecute()
{
    DeleteDictItem();
}
