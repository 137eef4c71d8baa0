#pragma once

// The staff program's main window: the home page with a link for every
// function, the menus and toolbar of what does not depend on rights, the
// status bar with the database, F9 for the lock screen everywhere, the exit
// confirmation and the log of entering and leaving.

#include <QMainWindow>

class QAction;
class QLabel;
class QStatusBar;
class QTextBrowser;
class QToolBar;
class QUrl;
class TLockKeyFilter;

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Takes the title from the parameters and starts with nobody logged in.
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // "数据库：<kind> - <name>", with " - @<server>" for a server database.
    static QString DatabaseStatusText();
    static QString HelpKeyword() { return QStringLiteral("SysIntro.html"); }
    QString StatusText() const;

    // The login sequence (SystemLogin): login window, log entry, rights,
    // home page.
    void RunLoginSequence();
    // A link of the home page was followed: its function code opens the
    // function for a user who may open it; other links navigate.
    void FollowLink(const QUrl &url);

    QAction *SystemLogin = nullptr;
    QAction *SystemModPwd = nullptr;
    QAction *SystemExit = nullptr;
    QAction *ToolsBackupDB = nullptr;
    QAction *ToolsCalc = nullptr;
    QAction *ToolsNote = nullptr;
    QAction *ToolsLockScreen = nullptr;
    QAction *HelpBook = nullptr;
    QAction *HelpGuide = nullptr;
    QAction *HelpUrl = nullptr;
    QAction *HelpAbout = nullptr;

    QToolBar *TblMain = nullptr;
    QTextBrowser *WBPage = nullptr;
    QStatusBar *StaBarMain = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *makeAction(const QString &name, const QString &caption, const QString &shortcut,
                        int icon);
    void createActions();
    void connectActions();
    void createMenus();
    void createToolBar();
    void createPage();
    void showHomePage();

    QLabel *m_statusLabel = nullptr;
    TLockKeyFilter *m_lockKeys = nullptr;
    bool m_loginStarted = false;
    bool m_sessionClosed = false;
};
