#include "MainFrm.h"

#include "data/AppPaths.h"
#include "data/DMPas.h"

#include <QStatusBar>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(u"MainForm"_s);
    setWindowTitle(GetApplicationTitle());

    WBPage = new QTextBrowser(this);
    WBPage->setObjectName(u"WBPage"_s);
    WBPage->setOpenLinks(false);
    setCentralWidget(WBPage);

    StaBarMain = new QStatusBar(this);
    StaBarMain->setObjectName(u"StaBarMain"_s);
    setStatusBar(StaBarMain);
    StaBarMain->showMessage(DatabaseStatusText());
}

QString TMainForm::DatabaseStatusText()
{
    if (!DM1)
        return {};
    QString text = u"数据库：%1 - %2"_s.arg(DM1->DatabaseKindText, DM1->DatabaseName);
    if (!DM1->DatabaseServer.isEmpty())
        text += u" - @"_s + DM1->DatabaseServer;
    return text;
}
