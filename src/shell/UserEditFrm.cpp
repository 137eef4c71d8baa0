#include "UserEditFrm.h"

#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataDict.h"
#include "data/DataSet.h"
#include "forms/DBControls.h"

#include <QHBoxLayout>
#include <QLabel>

using namespace Qt::StringLiterals;

TUserEditForm::TUserEditForm(QWidget *parent)
    : TEditorForm(u"UserEditForm"_s, u"用户信息维护"_s, u"User.html"_s, DM1->UserQuery, parent)
{
    TDataSet *users = DataSet();
    EditUserCode = AddEdit(u"登录代号(&L)："_s, u"UserCode"_s);
    EditUserCode->setObjectName(u"EditUserCode"_s);
    EditUserName = AddEdit(u"真实姓名(&N)："_s, u"UserName"_s);
    EditTitle = AddEdit(u"职务(&T)："_s, u"Title"_s);
    CboDepts = AddCombo(u"部门(&D)："_s, u"Dept"_s);
    CboDepts->setObjectName(u"CboDepts"_s);
    MemoMemo = AddMemo(u"备注(&R)："_s, u"Memo"_s);
    MemoMemo->SetWantReturns(false);
    MemoMemo->setFixedHeight(60);
    ChkIsLock = AddCheck(u"锁定 (锁定后的用户将无法登录)"_s, u"IsLock"_s);
    ChkIsLock->setObjectName(u"ChkIsLock"_s);
    LblMaker = new QLabel(u"Orvella软件"_s, this);
    LblMaker->setEnabled(false);
    ButtonsLayout->insertWidget(0, LblMaker);
    EditUserName->setMinimumWidth(220);

    // The departments are the dictionary's category DeptName (the readers'
    // 所在部门 list), though this field is called Dept.
    QStringList depts;
    LoadDictItems(u"DeptName"_s, depts);
    CboDepts->SetItems(depts);
    ChkIsLock->setEnabled(!IsAdminUser(users->FieldByName(u"UserCode"_s)->AsString()));
    EditUserCode->setEnabled(users->State() == TDataSetState::Insert);
    (EditUserCode->isEnabled() ? EditUserCode : EditUserName)->setFocus();
}
