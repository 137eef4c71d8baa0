#include "UserLogFrm.h"

#include "data/DMPas.h"
#include "data/UserLogRules.h"
#include "forms/CustomColumnFrm.h"
#include "forms/DataGrid.h"

#include <QAction>

using namespace Qt::StringLiterals;

TUserLogForm::TUserLogForm(QWidget *parent)
    : TFatherForm(u"UserLogForm"_s, u"操作日志管理"_s, u"UserLog.html"_s, parent)
{
    UserLogGrid = AddMainGrid(DM1->UserLogQuery, u"UserLogGrid"_s);
    UserLogFind = AddFunAction(u"UserLogFind"_s, u"查询(&F)"_s, 3, rtAlways,
                               [this] { RunQueryBuilder(UserLogFindFields(), UserLogBaseSQL()); });
    UserLogCustomColumn = AddFunAction(u"UserLogCustomColumn"_s, u"自定义列"_s, 5, rtAlways,
                                       [this] { ChooseGridColumns(UserLogGrid); });
    UserLogGrid->OpenSql(UserLogTodaySQL());
}
