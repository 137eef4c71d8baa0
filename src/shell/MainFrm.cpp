#include "MainFrm.h"

#include "AboutFrm.h"
#include "Actions.h"
#include "ExitFrm.h"
#include "ExitRules.h"
#include "FunctionWindow.h"
#include "FunctionWindows.h"
#include "GuideFrm.h"
#include "HomePage.h"
#include "LockKeyFilter.h"
#include "LockScreenFrm.h"
#include "LoginFrm.h"
#include "ModPwdFrm.h"
#include "Rights.h"
#include "ShellHelpers.h"
#include "ShellPictures.h"
#include "data/AppPaths.h"
#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/Guard.h"
#include "data/ParManager.h"
#include "data/UserLog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(u"MainForm"_s);
    SetApplicationTitle(ParManager->GetSystemName());
    setWindowTitle(GetApplicationTitle());
    setWindowIcon(ApplicationIcon());
    CurrentUser() = TCurrentUser();
    RegisterFunctionWindows();

    createActions();
    createMenus();
    createToolBar();
    createPage();

    StaBarMain = new QStatusBar(this);
    StaBarMain->setObjectName(u"StaBarMain"_s);
    m_statusLabel = new QLabel(DatabaseStatusText(), StaBarMain);
    StaBarMain->addWidget(m_statusLabel, 1);
    setStatusBar(StaBarMain);

    connectActions();
    m_lockKeys = new TLockKeyFilter(ToolsLockScreen, this);
}

TMainForm::~TMainForm() = default;

QString TMainForm::DatabaseStatusText()
{
    if (!DM1)
        return {};
    QString text = u"数据库：%1 - %2"_s.arg(DM1->DatabaseKindText, DM1->DatabaseName);
    if (!DM1->DatabaseServer.isEmpty())
        text += u" - @"_s + DM1->DatabaseServer;
    return text;
}

QString TMainForm::StatusText() const
{
    return m_statusLabel->text();
}

QAction *TMainForm::makeAction(const QString &name, const QString &caption,
                               const QString &shortcut, int icon)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    if (icon >= 0)
        action->setIcon(ShellIcon(static_cast<TShellIcon>(icon)));
    return action;
}

void TMainForm::createActions()
{
    const auto icon = [](TShellIcon i) { return static_cast<int>(i); };
    SystemLogin = makeAction(u"SystemLogin"_s, u"重新登录..."_s, u"Ctrl+F7"_s, icon(TShellIcon::Login));
    SystemModPwd = makeAction(u"SystemModPwd"_s, u"修改密码(&M)..."_s, u"Ctrl+F8"_s,
                              icon(TShellIcon::ModPwd));
    SystemExit = makeAction(u"SystemExit"_s, u"退出(&E)"_s, u"Alt+F4"_s, icon(TShellIcon::Exit));
    ToolsBackupDB = makeAction(u"ToolsBackupDB"_s, u"备份数据库(&B)..."_s, u"Ctrl+F10"_s,
                               icon(TShellIcon::Backup));
    ToolsCalc = makeAction(u"ToolsCalc"_s, u"计算器(&C)"_s, u"Ctrl+F11"_s, icon(TShellIcon::Calc));
    ToolsNote = makeAction(u"ToolsNote"_s, u"记事本(&N)"_s, u"Ctrl+F12"_s, icon(TShellIcon::Note));
    ToolsLockScreen = makeAction(u"ToolsLockScreen"_s, u"锁屏"_s, u"F9"_s, icon(TShellIcon::Lock));
    HelpBook = makeAction(u"HelpBook"_s, u"用户手册(&T)"_s, u"F1"_s, icon(TShellIcon::Help));
    HelpGuide = makeAction(u"HelpGuide"_s, u"快速指南"_s, {}, icon(TShellIcon::Guide));
    HelpUrl = makeAction(u"HelpUrl"_s, u"Orvella软件网站(&W)"_s, u"Ctrl+W"_s, icon(TShellIcon::Web));
    HelpAbout = makeAction(u"HelpAbout"_s, u"关于(&A)..."_s, u"Ctrl+A"_s, icon(TShellIcon::About));

    // The toolbar shows its own shorter captions.
    SystemLogin->setIconText(u"重新登录"_s);
    SystemModPwd->setIconText(u"修改密码"_s);
    ToolsLockScreen->setIconText(u"锁屏(F9)"_s);
    HelpGuide->setIconText(u"快速指南"_s);
    HelpAbout->setIconText(u"关于(&A)"_s);
    SystemExit->setIconText(u"退出系统"_s);
}

void TMainForm::connectActions()
{
    OnTriggered(SystemLogin, [this] { RunLoginSequence(); });
    OnTriggered(SystemModPwd, [] { OpenFunctionWindow<TModPwdForm>(-1); });
    connect(SystemExit, &QAction::triggered, this, &QWidget::close);
    // The backup window comes with the maintenance tools; until it is
    // there the command is greyed.
    ToolsBackupDB->setEnabled(bool(NamedWindowFactory(u"TBackupDBForm"_s)));
    OnTriggered(ToolsBackupDB, [] { OpenFunctionWindow(NamedWindowFactory(u"TBackupDBForm"_s), -1); });
    OnTriggered(ToolsCalc, [] { RunProgram(u"calc.exe"_s); });
    OnTriggered(ToolsNote, [] { RunProgram(u"notepad.exe"_s); });
    OnTriggered(ToolsLockScreen, [] { LockScreen(); });
    OnTriggered(HelpBook, [] { ShowHelpTopic(HelpKeyword()); });
    OnTriggered(HelpGuide, [] { ShowGuide(); });
    OnTriggered(HelpUrl, [] { OpenWebSite(); });
    OnTriggered(HelpAbout, [] { ShowAbout(); });
    connect(WBPage, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &url) { RunGuarded([&] { FollowLink(url); }); });
}

void TMainForm::createMenus()
{
    QMenu *system = menuBar()->addMenu(u"系统(&S)"_s);
    system->addAction(SystemLogin);
    system->addAction(SystemModPwd);
    system->addSeparator();
    system->addAction(SystemExit);

    QMenu *tools = menuBar()->addMenu(u"工具(&T)"_s);
    tools->addAction(ToolsBackupDB);
    tools->addSeparator();
    tools->addAction(ToolsCalc);
    tools->addAction(ToolsNote);
    tools->addSeparator();
    tools->addAction(ToolsLockScreen);

    QMenu *help = menuBar()->addMenu(u"帮助(&H)"_s);
    help->addAction(HelpBook);
    help->addAction(HelpGuide);
    help->addAction(HelpUrl);
    help->addSeparator();
    help->addAction(HelpAbout);
}

void TMainForm::createToolBar()
{
    TblMain = addToolBar(u"工具栏"_s);
    TblMain->setObjectName(u"TblMain"_s);
    TblMain->setMovable(false);
    TblMain->setIconSize(QSize(24, 24));
    TblMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const QList<QAction *> buttons = {SystemLogin, SystemModPwd, ToolsLockScreen, nullptr,
                                      HelpGuide,   HelpAbout,    nullptr,         SystemExit};
    for (QAction *action : buttons) {
        if (!action) {
            TblMain->addSeparator();
            continue;
        }
        TblMain->addAction(action);
        if (QWidget *button = TblMain->widgetForAction(action))
            button->setMinimumSize(55, 44);
    }
}

void TMainForm::createPage()
{
    WBPage = new QTextBrowser(this);
    WBPage->setObjectName(u"WBPage"_s);
    WBPage->setOpenLinks(false);
    WBPage->setFrameShape(QFrame::NoFrame);
    // Pictures of the template ship beside the program, while the produced
    // page may live in the per-user folder.
    WBPage->setSearchPaths({GetProgramPath() + u"Resources"_s});
    QPalette pal = WBPage->palette();
    pal.setColor(QPalette::Base, Qt::white);
    WBPage->setPalette(pal);
    setCentralWidget(WBPage);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_loginStarted)
        return;
    m_loginStarted = true;
    // Once the window is on screen, from inside the event loop.
    QTimer::singleShot(0, SystemLogin, &QAction::trigger);
}

void TMainForm::RunLoginSequence()
{
    ShowLogin();
    // Also when the first login was cancelled: the program ends after
    // these steps, and the log shows the guest.
    WriteUserLog(u"进入系统"_s, u"打开"_s);
    OpenAccTable();
    showHomePage();
}

void TMainForm::showHomePage()
{
    const QUrl page = QUrl::fromLocalFile(ProduceHomePageFile());
    if (WBPage->source() == page)
        WBPage->reload();
    else
        WBPage->setSource(page);
}

void TMainForm::FollowLink(const QUrl &url)
{
    const int code = FunctionCodeFromAddress(url.toString());
    if (code == 0) {
        if (url.scheme() == u"http" || url.scheme() == u"https" || url.scheme() == u"mailto")
            QDesktopServices::openUrl(url);
        else if (url.isRelative() && url.path().isEmpty())
            WBPage->scrollToAnchor(url.fragment());
        else
            WBPage->setSource(url);
        return;
    }
    if (!HasOpenRight(code))
        return;
    if (const TWindowFactory factory = FunctionWindowFactory(code))
        OpenFunctionWindow(factory, code);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (m_sessionClosed) {
        event->accept();
        return;
    }
    if (!MainWindowMayClose([] { return ShowExitDialog() == QDialog::Accepted; })) {
        event->ignore();
        return;
    }
    m_sessionClosed = true;
    CloseMainSession();
    event->accept();
    // The help window may still be open; the program ends with this window.
    QCoreApplication::exit(0);
}
