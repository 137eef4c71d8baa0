// The main window on both kinds: the login sequence and its log, following
// home-page links with and without rights, OpenFunctionWindow with every
// right, F9 from anywhere, and leaving the program.

#include "ShellFixture.h"

#include "shell/AboutFrm.h"
#include "shell/ExitFrm.h"
#include "shell/FunctionWindow.h"
#include "shell/HelpFrm.h"
#include "shell/HomePage.h"
#include "shell/LockScreenFrm.h"
#include "shell/LoginFrm.h"
#include "shell/MainFrm.h"
#include "shell/ModPwdFrm.h"
#include "shell/ParFrm.h"
#include "shell/PowerControl.h"
#include "shell/PwdInputFrm.h"
#include "shell/Rights.h"
#include "shell/ShellHelpers.h"
#include "shell/UserNameCombo.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>

namespace {

// A function window with an action of every right tag.
class TTaggedForm : public QDialog
{
public:
    TTaggedForm()
    {
        setObjectName(u"TaggedForm"_s);
        setWindowTitle(u"书刊信息维护"_s);
        Always = new QAction(u"关闭"_s, this);
        Zero = new QAction(u"查询"_s, this);
        Zero->setProperty(RightTagProperty, 0);
        Operate = new QAction(u"新增"_s, this);
        Operate->setProperty(RightTagProperty, OperateRightTag);
        Print = new QAction(u"打印"_s, this);
        Print->setProperty(RightTagProperty, PrintRightTag);
    }
    QAction *Always;
    QAction *Zero;
    QAction *Operate;
    QAction *Print;
};

class MainFormTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped())
            return;
        previous = RegisterFunctionWindow(11, MakeWindowFactory<TTaggedForm>());
        form = std::make_unique<TMainForm>();
    }
    void TearDown() override
    {
        form.reset();
        RegisterFunctionWindow(11, previous);
        SetPowerRequester({});
        ShellTest::TearDown();
    }

    // Logs in through the real login window.
    void loginThroughWindow(const QString &user, const QString &pwd)
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &login = static_cast<TLoginForm &>(d);
            login.CboUserName->setEditText(user);
            login.EditPwd->setText(pwd);
            login.BtnLogin->click();
            return login.result();
        });
        form->SystemLogin->trigger();
    }

    TWindowFactory previous;
    std::unique_ptr<TMainForm> form;
};

TEST_P(MainFormTest, CreationSetsTitleStatusAndNobodyLoggedIn)
{
    form.reset();
    exec(u"INSERT INTO Par_tab(SystemName)VALUES('  阳光小学图书室 ')"_s);
    CurrentUser().UserCode = u"left over"_s;
    form = std::make_unique<TMainForm>();
    EXPECT_EQ(form->windowTitle(), u"  阳光小学图书室 "_s);
    EXPECT_EQ(GetApplicationTitle(), u"  阳光小学图书室 "_s);
    EXPECT_FALSE(CurrentUser().LoggedIn());
    EXPECT_EQ(CurrentUser().UserID, -1);
    const QString expected =
        GetParam() == DatabaseKind::SQLite
            ? u"数据库：SQLite - "_s + dm->DatabaseName
            : u"数据库：PostgreSQL - %1 - @%2"_s.arg(dm->DatabaseName, dm->DatabaseServer);
    EXPECT_EQ(form->StatusText(), expected);
    EXPECT_EQ(form->ToolsLockScreen->shortcut(), QKeySequence(Qt::Key_F9));
}

TEST_P(MainFormTest, LoginSequenceLogsLoadsRightsAndShowsTheHomePage)
{
    addUser(u"lib01"_s, u"李明"_s);
    addUser(u"Admin"_s, u"管理员"_s);
    loginThroughWindow(u"lib01"_s, u""_s);
    EXPECT_EQ(logEntries(), (QStringList{u"进入系统|打开|lib01|李明"_s}));
    EXPECT_TRUE(dm->AccQuery->Active());
    EXPECT_EQ(dm->AccQuery->SQL(), AccQuerySQL(CurrentUser()));
    EXPECT_EQ(form->WBPage->source(), QUrl::fromLocalFile(HomePageTempPath()));
    EXPECT_TRUE(form->WBPage->toPlainText().contains(u"您好，lib01。"_s));

    // A new login reloads rights and page, and is logged again.
    loginThroughWindow(u"Admin"_s, u""_s);
    EXPECT_EQ(logEntries().size(), 2);
    EXPECT_EQ(logEntries().last(), u"进入系统|打开|Admin|管理员"_s);
    EXPECT_TRUE(form->WBPage->toPlainText().contains(u"您好，Admin。"_s));
    EXPECT_EQ(dm->AccQuery->RecordCount(), 15);
}

TEST_P(MainFormTest, CancelledFirstLoginIsLoggedAsGuestAndEndsTheProgram)
{
    {
        TModalAnswer answer([](QDialog &) { return int(QDialog::Rejected); });
        form->SystemLogin->trigger();
    }
    EXPECT_TRUE(TerminationRequested());
    EXPECT_EQ(logEntries(), (QStringList{u"进入系统|打开|<游客>|<游客>"_s}));
    EXPECT_TRUE(form->WBPage->toPlainText().contains(u"请先登录"_s));
}

struct RightsCase {
    const char *name;
    QVariant open, operate, print;  // null: NULL in the rights row
    bool row;                       // false: no rights row at all
    bool shown;
    bool operateVisible, printVisible;
};

TEST_P(MainFormTest, OpenFunctionWindowHonoursEveryRight)
{
    const QVariant null;
    const QList<RightsCase> cases = {
        {"all rights", true, true, true, true, true, true, true},
        {"no open right", false, true, true, true, false, false, false},
        {"no operate right", true, false, true, true, true, false, true},
        {"no print right", true, true, false, true, true, true, false},
        {"NULL rights count as granted", null, null, null, true, true, true, true},
        {"no rights row", null, null, null, false, true, true, true},
    };
    const int id = addUser(u"lib01"_s, u"李明"_s);
    loginAs(u"lib01"_s);
    for (const RightsCase &c : cases) {
        SCOPED_TRACE(c.name);
        exec(u"DELETE FROM UserAccredit_tab"_s);
        exec(u"DELETE FROM UserLog_tab"_s);
        if (c.row)
            grant(id, 11, c.open, c.operate, c.print);
        OpenAccTable();
        bool shown = false;
        {
            TModalAnswer answer([&](QDialog &d) {
                auto &w = static_cast<TTaggedForm &>(d);
                shown = true;
                EXPECT_TRUE(w.Always->isVisible() && w.Always->isEnabled());
                EXPECT_TRUE(w.Zero->isVisible() && w.Zero->isEnabled());
                EXPECT_EQ(w.Operate->isVisible(), c.operateVisible);
                EXPECT_EQ(w.Operate->isEnabled(), c.operateVisible);
                EXPECT_EQ(IsRightHidden(w.Operate), !c.operateVisible);
                EXPECT_EQ(w.Print->isVisible(), c.printVisible);
                EXPECT_EQ(w.Print->isEnabled(), c.printVisible);
                EXPECT_EQ(logEntries(), (QStringList{u"书刊信息维护|打开|lib01|李明"_s}));
                w.setWindowTitle(u"书刊信息维护(3)"_s);
                return int(QDialog::Accepted);
            });
            const int result = OpenFunctionWindow(FunctionWindowFactory(11), 11);
            EXPECT_EQ(result, c.shown ? QDialog::Accepted : QDialog::Rejected);
        }
        EXPECT_EQ(shown, c.shown);
        const QStringList expected =
            c.shown ? QStringList{u"书刊信息维护|打开|lib01|李明"_s, u"书刊信息维护(3)|关闭|lib01|李明"_s}
                    : QStringList{};
        EXPECT_EQ(logEntries(), expected);
    }
}

TEST_P(MainFormTest, FollowingLinks)
{
    const int id = addUser(u"lib01"_s, u"李明"_s);
    addUser(u"Admin"_s, u"管理员"_s);
    grant(id, 11, true, true, true);
    grant(id, 54, false, true, true);
    const QString page = u"file:///opt/Vellumark/Resources/HomePageTemp.html"_s;

    QStringList opened;
    TModalAnswer answer([&](QDialog &d) {
        opened.append(d.objectName());
        return int(QDialog::Rejected);
    });
    const auto follow = [&](const QString &address) {
        opened.clear();
        form->FollowLink(QUrl(address));
        return opened;
    };

    loginAs(u"lib01"_s);
    OpenAccTable();
    EXPECT_EQ(follow(page + u"#11"_s), (QStringList{u"TaggedForm"_s}));
    EXPECT_TRUE(follow(page + u"#54"_s).isEmpty());  // IsOpen false: silently nothing
    EXPECT_TRUE(follow(page + u"#12"_s).isEmpty());  // no rights row
    EXPECT_TRUE(follow(page + u"#99"_s).isEmpty());
    EXPECT_TRUE(follow(u"#top"_s).isEmpty());

    loginAs(u"Admin"_s);
    OpenAccTable();
    EXPECT_EQ(follow(page + u"#54"_s), (QStringList{u"ParForm"_s}));
    EXPECT_TRUE(follow(page + u"#99"_s).isEmpty());  // a number that is no function
    EXPECT_TRUE(follow(page + u"#13"_s).isEmpty());  // a function without a window yet
    EXPECT_TRUE(follow(page).isEmpty());             // an address without a code
    EXPECT_EQ(logEntries(), (QStringList{u"书刊信息维护|打开|lib01|李明"_s,
                                         u"书刊信息维护|关闭|lib01|李明"_s,
                                         u"系统参数设置|打开|Admin|管理员"_s,
                                         u"系统参数设置|关闭|Admin|管理员"_s}));
}

TEST_P(MainFormTest, HelpWindowNeverOwnsAFunctionWindow)
{
    // The help window follows modal windows; owning one would make it its
    // own grandparent at the next F1.
    ShowHelpTopic(u"SysIntro.html"_s);
    THelpForm *help = THelpForm::Instance();
    QApplication::setActiveWindow(help);
    ASSERT_EQ(QApplication::activeWindow(), help);
    QWidget *owner = help;
    TModalAnswer answer([&](QDialog &d) {
        owner = d.parentWidget();
        return int(QDialog::Rejected);
    });
    OpenFunctionWindow<TModPwdForm>(-1);
    EXPECT_EQ(owner, nullptr);
    help->close();
}

TEST_P(MainFormTest, PasswordChangeIsAnEditWindowWithItsLog)
{
    addUser(u"Admin"_s, u"管理员"_s);
    loginAs(u"Admin"_s);
    OpenAccTable();
    TModalAnswer answer([](QDialog &d) {
        auto &w = static_cast<TModPwdForm &>(d);
        EXPECT_EQ(w.EditUserCode->text(), u"Admin"_s);
        return int(QDialog::Rejected);
    });
    form->SystemModPwd->trigger();
    EXPECT_EQ(logEntries(), (QStringList{u"修改密码|打开|Admin|管理员"_s,
                                         u"修改密码|关闭|Admin|管理员"_s}));
}

TEST_P(MainFormTest, F9LocksFromEveryWindowButNotTwiceNorBeforeLogin)
{
    addUser(u"lib01"_s, u"李明"_s, u""_s);

    // Before the first login F9 does nothing (an unexpected window would fail).
    QTest::keyClick(form->WBPage, Qt::Key_F9);

    loginAs(u"lib01"_s);
    QStringList shown;
    TModalAnswer answer([&](QDialog &d) {
        shown.append(d.objectName());
        if (auto *about = qobject_cast<TAboutForm *>(&d)) {
            QTest::keyClick(about->BtnOK, Qt::Key_F9);  // over a modal window
            return int(QDialog::Accepted);
        }
        if (auto *lock = qobject_cast<TLockScreenForm *>(&d)) {
            QTest::keyClick(lock, Qt::Key_F9);  // already locked: nothing
            lock->RequestUnlock();
            return lock->result();
        }
        if (auto *prompt = qobject_cast<TPwdInputForm *>(&d)) {
            QTest::keyClick(prompt->EditPwd, Qt::Key_F9);  // the prompt is up: nothing
            prompt->BtnOK->click();
            return prompt->result();
        }
        return int(QDialog::Rejected);
    });

    QTest::keyClick(form->WBPage, Qt::Key_F9);
    EXPECT_EQ(shown, (QStringList{u"LockScreenForm"_s, u"PwdInputForm"_s}));

    shown.clear();
    form->HelpAbout->trigger();
    EXPECT_EQ(shown, (QStringList{u"AboutForm"_s, u"LockScreenForm"_s, u"PwdInputForm"_s}));
    EXPECT_FALSE(TLockScreenForm::IsLocked());
    EXPECT_EQ(CurrentUser().UserCode, u"lib01"_s);
}

struct ExitCase {
    const char *name;
    const char *isExitConfirm;  // Par_tab value
    const char *choice;         // radio button chosen in the exit dialog; nullptr: Cancel
    bool closes;
    const char *power;          // the request sent to logind
};

TEST_P(MainFormTest, LeavingWithAndWithoutConfirmation)
{
    const QList<ExitCase> cases = {
        {"no confirmation", "0", nullptr, true, ""},
        {"NULL means no confirmation", "NULL", nullptr, true, ""},
        {"confirmation cancelled", "1", nullptr, false, ""},
        {"confirmed: the program only", "1", "RadExit", true, ""},
        {"confirmed: switch off", "1", "RadShutDown", true, "PowerOff"},
        {"confirmed: restart", "1", "RadReBoot", true, "Reboot"},
    };
    addUser(u"Admin"_s, u"管理员"_s);
    for (const ExitCase &c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        dm.reset();  // the last case closed the connection
        dm = std::make_unique<TDM1>();
        ASSERT_TRUE(dm->ConnectDatabase(db->settings()));
        exec(u"DELETE FROM Par_tab"_s);
        exec(u"DELETE FROM UserLog_tab"_s);
        exec(u"INSERT INTO Par_tab(IsExitConfirm)VALUES(%1)"_s.arg(QString::fromLatin1(c.isExitConfirm)));
        form = std::make_unique<TMainForm>();
        loginAs(u"Admin"_s);

        QString power;
        SetPowerRequester([&](TPowerAction a) {
            power = a == TPowerAction::PowerOff ? u"PowerOff"_s : u"Reboot"_s;
            return QString();
        });
        bool asked = false;
        TModalAnswer answer([&](QDialog &d) {
            auto &w = static_cast<TExitForm &>(d);
            asked = true;
            EXPECT_TRUE(w.RadExit->isChecked());
            if (!c.choice) {
                QTest::keyClick(&w, Qt::Key_Escape);
                return w.result();
            }
            w.findChild<QRadioButton *>(QString::fromLatin1(c.choice))->setChecked(true);
            w.BtnOK->click();
            return w.result();
        });
        EXPECT_EQ(form->close(), c.closes);
        EXPECT_EQ(asked, QByteArray(c.isExitConfirm) == "1");
        EXPECT_EQ(power.toStdString(), c.power);
        if (c.closes) {
            EXPECT_EQ(logEntries(), (QStringList{u"退出系统|关闭|Admin|管理员"_s}));
            EXPECT_FALSE(dm->DurEzeConn.IsOpen());
        } else {
            EXPECT_TRUE(logEntries().isEmpty());
            EXPECT_TRUE(dm->DurEzeConn.IsOpen());
        }
    }
}

TEST_P(MainFormTest, RefusedPowerOffIsExplainedAndTheProgramStillEnds)
{
    exec(u"INSERT INTO Par_tab(IsExitConfirm)VALUES(1)"_s);
    SetPowerRequester([](TPowerAction) { return u"Interactive authentication required."_s; });
    TModalAnswer answer([](QDialog &d) {
        auto &w = static_cast<TExitForm &>(d);
        w.RadShutDown->setChecked(true);
        w.BtnOK->click();
        return w.result();
    });
    TMessageRecorder messages;
    EXPECT_TRUE(form->close());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.shown[0].text,
              PowerRefusalMessage(TPowerAction::PowerOff, u"Interactive authentication required."_s));
    EXPECT_TRUE(messages.shown[0].text.contains(u"关闭计算机"_s));
}

TEST_P(MainFormTest, AnErrorInTheCloseQueryClosesAnywayAndIsShown)
{
    dm->TempQuery->Close();
    dm->DurEzeConn.Execute(u"DROP TABLE Par_tab"_s);
    TMessageRecorder messages;
    EXPECT_TRUE(form->close());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(logEntries(), (QStringList{u"退出系统|关闭|<游客>|<游客>"_s}));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, MainFormTest, BothKinds, KindName);

} // namespace
