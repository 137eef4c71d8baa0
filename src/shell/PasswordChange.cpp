#include "PasswordChange.h"

#include "Passwords.h"
#include "data/CurrentUser.h"
#include "data/DbHelpers.h"
#include "data/Dialect.h"
#include "data/DurEzeConn.h"
#include "data/Messages.h"

using namespace Qt::StringLiterals;

bool IsCurrentUserPassword(const QString &typed)
{
    return PasswordMatches(typed, CurrentUser().UserPwd);
}

TPwdChangeOutcome ChangePassword(const QString &sourcePwd, const QString &newPwd1,
                                 const QString &newPwd2)
{
    if (!IsCurrentUserPassword(sourcePwd)) {
        ShowMessageBox(TMessageKind::Error, u"错误"_s, u"原密码错误,请重新输入!"_s);
        return TPwdChangeOutcome::WrongSource;
    }
    if (newPwd1 != newPwd2) {
        ShowMessageBox(TMessageKind::Error, u"错误"_s, u"两次输入的新密码不相同!"_s);
        return TPwdChangeOutcome::NewDiffers;
    }
    // An empty new password removes the password; it is stored as empty
    // text, which every check reads as "no password".
    const QString stored = newPwd1.isEmpty() ? QString() : HashPassword(newPwd1);
    const int changed = GetConnection().Execute(u"UPDATE Users_tab SET UserPwd=%1\r\nWHERE UserID=%2"_s
                                                    .arg(QuotedStr(stored))
                                                    .arg(CurrentUser().UserID));
    if (changed != 1)
        return TPwdChangeOutcome::UserGone;
    CurrentUser().UserPwd = stored;
    return TPwdChangeOutcome::Changed;
}
