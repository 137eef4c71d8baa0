#include "UserAccFrm.h"

#include "UserRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/Guard.h"
#include "data/Schema.h"
#include "forms/DataGrid.h"

#include <QHBoxLayout>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TUserAccForm::TUserAccForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(u"UserAccForm"_s);
    setWindowTitle(u"用户授权"_s);
    TDataSet *users = DM1->UserQuery;
    DM1->FunQuery->SetFilter(QString());
    DM1->FunQuery->SetFiltered(false);
    OpenUserRights(users->FieldByName(u"UserID"_s)->AsInteger());
    buildLayout();
    buildTree();
    SBarMain->showMessage(u"授权用户:"_s + users->FieldByName(u"UserCode"_s)->AsString() + u'['
                          + users->FieldByName(u"UserName"_s)->AsString() + u']');
}

TUserAccForm::~TUserAccForm() = default;

void TUserAccForm::buildLayout()
{
    auto *split = new QSplitter(Qt::Horizontal, this);
    CateTree = new QTreeWidget(split);
    CateTree->setObjectName(u"CateTree"_s);
    CateTree->setHeaderHidden(true);
    FunDataGrid = new TDataGrid(DM1->FunQuery, split);
    FunDataGrid->setObjectName(u"FunDataGrid"_s);
    FunDataGrid->SetFilterRowVisible(false);
    FunDataGrid->SetCheckColumns({u"IsOpen"_s, u"IsOperate"_s, u"IsPrint"_s});
    split->setStretchFactor(1, 1);
    split->setSizes({150, 450});
    SBarMain = new QStatusBar(this);
    SBarMain->setObjectName(u"SBarMain"_s);
    SBarMain->setSizeGripEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split, 1);
    layout->addWidget(SBarMain);
    resize(620, 420);
}

void TUserAccForm::buildTree()
{
    auto *root = new QTreeWidgetItem(CateTree, {u"全部功能"_s});
    root->setData(0, Qt::UserRole, 0);
    for (int category = 1; category <= 5; ++category) {
        auto *node = new QTreeWidgetItem(root, {Schema::FunctionCategoryName(category)});
        node->setData(0, Qt::UserRole, category);
    }
    root->setExpanded(true);
    connect(CateTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            RunGuarded([this, item] { SelectCategory(item->data(0, Qt::UserRole).toInt()); });
    });
}

void TUserAccForm::SelectCategory(int category)
{
    FunDataGrid->setEnabled(ShowRightsCategory(category));
}

void TUserAccForm::done(int result)
{
    TDataSet *rights = DM1->FunQuery;
    RunGuarded([rights] {
        if (rights->State() == TDataSetState::Edit)
            rights->Post();
    });
    rights->SetFilter(QString());
    rights->SetFiltered(false);
    rights->Close();
    QDialog::done(result);
}
