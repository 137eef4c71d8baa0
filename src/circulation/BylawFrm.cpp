#include "BylawFrm.h"

#include "BylawEditFrm.h"
#include "BylawRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "forms/DataGrid.h"
#include "forms/EditorForm.h"

#include <QAction>

using namespace Qt::StringLiterals;

TBylawForm::TBylawForm(QWidget *parent)
    : TFatherForm(u"BylawForm"_s, u"借阅规章制度"_s, u"Bylaw.html"_s, parent)
{
    TDataSet *bylaws = DM1->BylawQuery;
    BylawGrid = AddMainGrid(bylaws, u"BylawGrid"_s);
    BylawAdd = AddFunAction(u"BylawAdd"_s, u"新增(&A)"_s, 0, rtOperate,
                            [bylaws] { RunEditor<TBylawEditForm>(bylaws, TEditMode::Append); });
    BylawMod = AddFunAction(u"BylawMod"_s, u"修改(&M)"_s, 1, rtOperate,
                            [bylaws] { RunEditor<TBylawEditForm>(bylaws, TEditMode::Edit); });
    BylawDel = AddFunAction(u"BylawDel"_s, u"删除(&D)"_s, 2, rtOperate, [] { DeleteBylaw(); });
    BylawFind = AddFindAction(u"BylawFind"_s, BylawFindFields(), BylawBaseSQL());
    BylawCustomColumn = AddCustomColumnAction(u"BylawCustomColumn"_s);
    BylawGrid->SetModifyAction(BylawMod);
    SetRowActions({BylawMod, BylawDel});
    BylawGrid->OpenSql(BylawBaseSQL());
}
