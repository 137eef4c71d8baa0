#include "UserFrm.h"

#include "FunctionWindow.h"
#include "UserAccFrm.h"
#include "UserEditFrm.h"
#include "UserRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "forms/DataGrid.h"
#include "forms/EditorForm.h"

#include <QAction>

using namespace Qt::StringLiterals;

TUserForm::TUserForm(QWidget *parent)
    : TFatherForm(u"UserForm"_s, u"用户授权设置"_s, u"User.html"_s, parent)
{
    TDataSet *users = DM1->UserQuery;
    UserGrid = AddMainGrid(users, u"UserGrid"_s);
    UserGrid->SetFilterRowVisible(false);
    UserAdd = AddFunAction(u"UserAdd"_s, u"新增(&A)"_s, 0, rtOperate,
                           [users] { RunEditor<TUserEditForm>(users, TEditMode::Append); });
    UserMod = AddFunAction(u"UserMod"_s, u"修改(&M)"_s, 1, rtOperate,
                           [users] { RunEditor<TUserEditForm>(users, TEditMode::Edit); });
    UserDel = AddFunAction(u"UserDel"_s, u"删除(&D)"_s, 2, rtOperate, [] { DeleteUser(); });
    UserAccredit = AddFunAction(u"UserAccredit"_s, u"授权(&E)"_s, 12, rtOperate,
                                [this] { UserAccreditExecute(); });
    UserFind = AddFindAction(u"UserFind"_s, UserFindFields(), UsersBaseSQL(), u" WHERE "_s);
    UserCustomColumn = AddCustomColumnAction(u"UserCustomColumn"_s);
    UserGrid->SetModifyAction(UserMod);
    UserGrid->OpenSql(UsersBaseSQL());
    SetRowActions({UserMod, UserDel, UserAccredit});
}

void TUserForm::UserAccreditExecute()
{
    TDataSet *users = DM1->UserQuery;
    if (!users->Active() || users->IsEmpty())
        return;
    if (CheckCanAccredit(users->FieldByName(u"UserCode"_s)->AsString()))
        OpenFunctionWindow<TUserAccForm>(-1);
}
