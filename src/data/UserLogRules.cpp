#include "UserLogRules.h"

#include "DMPas.h"
#include "DbHelpers.h"

using namespace Qt::StringLiterals;

QString UserLogBaseSQL()
{
    return u"SELECT * FROM UserLog_tab"_s + DM1->BaseWhereClause();
}

QString UserLogTodaySQL()
{
    return UserLogBaseSQL() + u" AND LogDate="_s + TodayLiteral();
}

QString UserLogFindFields()
{
    return u"UserLogID;LogDate;LogTime;WinName;OperateContent;ComputerName;UserCode;UserName;Memo"_s;
}
