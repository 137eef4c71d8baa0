#include "LoginRules.h"

#include "Passwords.h"
#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "data/Dialect.h"
#include "data/Messages.h"

using namespace Qt::StringLiterals;

namespace {

bool containsAdmin(const QStringList &codes)
{
    for (const QString &code : codes)
        if (IsAdminUser(code))
            return true;
    return false;
}

// Replaces a legacy plain-text password by its hash; returns what is stored.
QString upgradePassword(int userID, const QString &typed, const QString &stored)
{
    if (stored.isEmpty() || IsPasswordHash(stored))
        return stored;
    const QString hash = HashPassword(typed);
    GetConnection().Execute(u"UPDATE Users_tab SET UserPwd=%1 WHERE UserID=%2"_s
                                .arg(QuotedStr(hash))
                                .arg(userID));
    return hash;
}

} // namespace

QStringList LoadLoginUserCodes()
{
    TDataSet *q = DM1->PubQuery;
    OpenQuery(q, u"SELECT UserCode FROM Users_tab"_s);
    QStringList codes;
    for (q->First(); !q->Eof(); q->Next())
        codes.append(q->Field(0)->AsString().trimmed());
    if (!containsAdmin(codes)) {
        GetConnection().Execute(u"INSERT INTO Users_tab(UserCode, UserName, IsLock)"
                                "VALUES('Admin', '管理员', 0)"_s);
        codes.append(u"Admin"_s);
    }
    return codes;
}

TLoginOutcome TryLogin(const QString &userCode, const QString &password)
{
    if (userCode.trimmed().isEmpty())
        return TLoginOutcome::BlankName;
    TDataSet *q = DM1->PubQuery;
    OpenQuery(q, u"SELECT UserID,UserCode,UserPwd,UserName,IsLock FROM Users_tab WHERE UserCode="_s +
                     QuotedStr(userCode));
    if (q->IsEmpty())
        return TLoginOutcome::UnknownUser;
    if (q->FieldByName(u"IsLock"_s)->AsBoolean())
        return TLoginOutcome::LockedUser;
    const QString stored = q->FieldByName(u"UserPwd"_s)->AsString();
    if (!PasswordMatches(password, stored))
        return TLoginOutcome::WrongPassword;

    const int userID = q->FieldByName(u"UserID"_s)->AsInteger();
    TCurrentUser user;
    user.UserID = userID;
    user.UserCode = q->FieldByName(u"UserCode"_s)->AsString();
    user.UserName = q->FieldByName(u"UserName"_s)->AsString();
    user.UserPwd = upgradePassword(userID, password, stored);
    CurrentUser() = user;
    return TLoginOutcome::LoggedIn;
}

void ShowLoginRefusal(TLoginOutcome outcome)
{
    switch (outcome) {
    case TLoginOutcome::LoggedIn:
        return;
    case TLoginOutcome::BlankName:
        ShowMessageBox(TMessageKind::Info, u"信息"_s, u"请输入您的用户名称!"_s);
        return;
    case TLoginOutcome::UnknownUser:
        ShowMessageBox(TMessageKind::Error, u"错误"_s, u"您输入的用户名不存在!"_s);
        return;
    case TLoginOutcome::LockedUser:
        ShowMessageBox(TMessageKind::Info, u"信息"_s, u"该用户已被管理员锁定，无法登录。"_s);
        return;
    case TLoginOutcome::WrongPassword:
        ShowMessageBox(TMessageKind::Error, u"错误"_s, u"密码错误,请重新输入!"_s);
        return;
    }
}
