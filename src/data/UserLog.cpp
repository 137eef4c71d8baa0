#include "UserLog.h"

#include "AppPaths.h"
#include "CurrentUser.h"
#include "DbHelpers.h"
#include "Dialect.h"
#include "DurEzeConn.h"

using namespace Qt::StringLiterals;

void WriteUserLog(const QString &winName, const QString &operateContent, const QString &memo)
{
    const QDateTime now = GetServerNow();
    const TCurrentUser &user = CurrentUser();
    const QString guest = u"<游客>"_s;
    const QString code = user.UserCode.isEmpty() ? guest : user.UserCode;
    const QString name = user.UserCode.isEmpty() ? guest : user.UserName;
    // The log's text columns are narrow; a long caption is cut rather than
    // failing the action that is being logged.
    const QStringList values = {
        DateLiteral(now.date()),
        QuotedStr(now.toString(u"HH:mm:ss"_s)),
        QuotedStr(winName.left(16)),
        QuotedStr(operateContent.left(4)),
        QuotedStr(code.left(20)),
        QuotedStr(name.left(10)),
        QuotedStr(memo.left(30)),
        QuotedStr(GetLocalComputerName().left(20)),
    };
    GetConnection().Execute(
        u"INSERT INTO UserLog_tab(LogDate,LogTime,WinName,OperateContent,UserCode,UserName,"
        "Memo,ComputerName)VALUES("_s + values.join(u","_s) + u")"_s);
}
