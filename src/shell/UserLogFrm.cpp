#include "UserLogFrm.h"

#include "data/DMPas.h"
#include "data/UserLogRules.h"
#include "forms/DataGrid.h"

#include <QAction>

using namespace Qt::StringLiterals;

TUserLogForm::TUserLogForm(QWidget *parent)
    : TFatherForm(u"UserLogForm"_s, u"操作日志管理"_s, u"UserLog.html"_s, parent)
{
    UserLogGrid = AddMainGrid(DM1->UserLogQuery, u"UserLogGrid"_s);
    UserLogFind = AddFindAction(u"UserLogFind"_s, UserLogFindFields(), UserLogBaseSQL());
    UserLogCustomColumn = AddCustomColumnAction(u"UserLogCustomColumn"_s);
    UserLogGrid->OpenSql(UserLogTodaySQL());
}
