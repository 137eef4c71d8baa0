#include "UserRules.h"

#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbError.h"
#include "data/DbHelpers.h"
#include "data/Messages.h"

using namespace Qt::StringLiterals;

namespace {

// After a failed deletion the database still holds the user; when the
// failure came after the row had left the list (at the commit), the list
// reads it back so that it keeps showing it.
void keepListedUser(TDataSet *users, int userID)
{
    if (users->Locate(u"UserID"_s, userID))
        return;
    try {
        users->Reopen();
        users->Locate(u"UserID"_s, userID);
    } catch (const TDbError &) {
        // The deletion's error is the one to report.
    }
}

} // namespace

QString UsersBaseSQL()
{
    return u"SELECT * FROM Users_tab"_s;
}

QString UserFindFields()
{
    return u"UserCode;UserName;Title;Dept;IsLock;Memo"_s;
}

bool DeleteUser()
{
    TDataSet *users = DM1->UserQuery;
    if (!users->Active() || users->IsEmpty())
        return false;
    if (IsAdminUser(users->FieldByName(u"UserCode"_s)->AsString())) {
        ShowInfo(u"管理员帐户不能删除。"_s);
        return false;
    }
    if (!AskConfirm(u"确定要删除当前记录吗?"_s))
        return false;
    const int userID = users->FieldByName(u"UserID"_s)->AsInteger();
    TDurEzeConn &conn = DM1->DurEzeConn;
    try {
        TTransaction transaction(conn);
        conn.Execute(u"DELETE FROM UserAccredit_tab WHERE UserID="_s + QString::number(userID));
        users->Delete();
        transaction.Commit();
    } catch (const TDbError &e) {
        keepListedUser(users, userID);
        throw TDbError(u"更新数据库时出错,请重试!"_s, e.fullText());
    }
    return true;
}

bool CheckCanAccredit(const QString &userCode)
{
    if (!IsAdminUser(userCode))
        return true;
    ShowInfo(u"管理员帐户自动拥有所有权限，无需授权。"_s);
    return false;
}

QString UserRightsSQL(int userID)
{
    return u"SELECT AccID,FunName,IsOpen,IsOperate,IsPrint,FunCate\r\n"
           "FROM UserAccredit_tab LEFT JOIN UserFun_tab\r\n"
           "ON UserAccredit_tab.FunID=UserFun_tab.FunID\r\n"
           "WHERE IsUsed <> 0 AND UserID=%1 \r\n"
           "ORDER BY FunCode"_s.arg(userID);
}

void OpenUserRights(int userID)
{
    TDataSet *rights = DM1->FunQuery;
    OpenQuery(rights, UserRightsSQL(userID));
    if (!rights->IsEmpty())
        return;
    rights->Close();
    CreateUserRights(userID);
    rights->Open();
}

void CreateUserRights(int userID)
{
    TDurEzeConn &conn = DM1->DurEzeConn;
    TDataSet *functions = DM1->PubQuery;
    const QString user = QString::number(userID);
    // Another workstation may have deleted the user meanwhile: its rights
    // would be written for nobody, and the ticks seem to save.
    if (!ValueExists(user, u"UserID"_s, u"Users_tab"_s, {}, false))
        throw TDbError(u"该用户已不存在，可能已被其他工作站删除。"_s);
    try {
        TTransaction transaction(conn);
        conn.Execute(u"DELETE FROM UserAccredit_tab WHERE UserID="_s + user);
        OpenQuery(functions, u"SELECT FunID FROM UserFun_tab"_s);
        for (functions->First(); !functions->Eof(); functions->Next())
            conn.Execute(u"INSERT INTO UserAccredit_tab(UserID,FunID,IsOpen,IsOperate,IsPrint)VALUES("_s
                         + user + u',' + functions->Field(0)->AsString() + u",0,1,1)"_s);
        functions->Close();
        transaction.Commit();
    } catch (const TDbError &e) {
        functions->Close();
        throw TDbError(u"更新数据库时出错，请重试！"_s, e.fullText());
    }
}

bool ShowRightsCategory(int category)
{
    TDataSet *rights = DM1->FunQuery;
    rights->SetFilter(category > 0 ? u"FunCate="_s + QString::number(category) : QString());
    rights->SetFiltered(category > 0);
    return rights->RecordCount() > 0;
}
