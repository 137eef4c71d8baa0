// A new member of staff's first session on both kinds, through the real
// windows and the program's own event loop: start, log in as Admin without a
// password, click the home page's link to the system parameters and save
// them, lock with F9 and unlock, change the password, lock again (the old
// password no longer opens it), and leave through the exit dialog. The log
// holds every step.

#include "ShellFixture.h"

#include "data/ParManager.h"
#include "data/Schema.h"
#include "shell/ExitFrm.h"
#include "shell/LockScreenFrm.h"
#include "shell/LoginFrm.h"
#include "shell/MainFrm.h"
#include "shell/ModPwdFrm.h"
#include "shell/ParFrm.h"
#include "shell/Passwords.h"
#include "shell/PwdInputFrm.h"
#include "shell/UserNameCombo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

namespace {

class WalkTest : public ShellTest
{
protected:
    // Clicks the home page's link whose text is `caption`, as the mouse would.
    static void clickLink(QTextBrowser *page, const QString &caption)
    {
        QTextCursor found = page->document()->find(caption);
        ASSERT_FALSE(found.isNull()) << caption.toStdString();
        QTextCursor inside(page->document());
        inside.setPosition(found.selectionStart() + 1);
        ASSERT_TRUE(inside.charFormat().isAnchor());
        page->setTextCursor(inside);
        page->ensureCursorVisible();
        const QPoint at = page->cursorRect(inside).center() + QPoint(2, 0);
        QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, at);
    }

    // Answers each window of the walk as the user would.
    int answer(QDialog &d)
    {
        shown.append(d.objectName());
        d.show();
        if (auto *login = qobject_cast<TLoginForm *>(&d)) {
            // First start: only "Admin", chosen, the cursor in the password.
            EXPECT_EQ(login->CboUserName->count(), 1);
            EXPECT_EQ(login->CboUserName->currentText(), u"Admin"_s);
            EXPECT_EQ(login->focusWidget(), login->EditPwd);
            QTest::keyClick(login->EditPwd, Qt::Key_Return);
        } else if (auto *par = qobject_cast<TParForm *>(&d)) {
            par->EditSystemName->setText(u"阳光小学图书室"_s);
            par->EditCorpName->setText(u"阳光小学"_s);
            par->ChkIsExitConfirm->setChecked(true);
            par->BtnSave->click();
        } else if (auto *lock = qobject_cast<TLockScreenForm *>(&d)) {
            QTest::mouseClick(lock->ImgMain, Qt::LeftButton);
        } else if (auto *prompt = qobject_cast<TPwdInputForm *>(&d)) {
            while (prompt->result() != QDialog::Accepted && !attempts.isEmpty()) {
                prompt->EditPwd->setText(attempts.takeFirst());
                QTest::keyClick(prompt->EditPwd, Qt::Key_Return);
            }
        } else if (auto *modPwd = qobject_cast<TModPwdForm *>(&d)) {
            EXPECT_EQ(modPwd->EditUserCode->text(), u"Admin"_s);
            modPwd->EditNewPwd1->setText(newPassword);
            modPwd->EditNewPwd2->setText(newPassword);
            modPwd->BtnMod->click();
        } else if (auto *exit = qobject_cast<TExitForm *>(&d)) {
            EXPECT_TRUE(exit->RadExit->isChecked());
            exit->BtnOK->click();
        } else {
            ADD_FAILURE() << "unexpected window " << d.objectName().toStdString();
            d.reject();
        }
        return d.result();
    }

    // The steps after the login, run inside the program's event loop.
    void walk(TMainForm &form)
    {
        EXPECT_EQ(CurrentUser().UserCode, u"Admin"_s);
        const QString page = form.WBPage->toPlainText();
        EXPECT_TRUE(page.contains(u"您好，Admin。今天是：2026年12月11日 星期五！"_s));
        for (const Schema::FunctionInfo &f : Schema::Functions())
            EXPECT_TRUE(page.contains(f.caption)) << f.code;
        EXPECT_FALSE(page.contains(u"无权限"_s));

        clickLink(form.WBPage, u"系统参数设置"_s);
        EXPECT_EQ(ParManager->GetCorpName(), u"阳光小学"_s);

        // The keys reach the main window as the user presses them.
        QApplication::setActiveWindow(&form);
        EXPECT_EQ(QApplication::activeWindow(), &form);
        attempts = {u""_s};
        QTest::keyClick(form.WBPage, Qt::Key_F9);
        EXPECT_FALSE(TLockScreenForm::IsLocked());

        QTest::keyClick(form.WBPage, Qt::Key_F8, Qt::ControlModifier);

        attempts = {u""_s, newPassword};
        QTest::keyClick(form.WBPage, Qt::Key_F9);
        EXPECT_TRUE(attempts.isEmpty());

        form.SystemExit->trigger();
    }

    QStringList shown;
    QStringList attempts;
    const QString newPassword = u"书架2026"_s;
};

TEST_P(WalkTest, FirstSessionOfANewUser)
{
    TMessageRecorder messages;
    TModalAnswer answers([this](QDialog &d) { return answer(d); });
    TMainForm form;
    form.showMaximized();  // the login starts from the event loop, as in the program
    QTimer::singleShot(0, &form, [&] { walk(form); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the walk did not end the program";
        QCoreApplication::exit(1);
    });
    watchdog.start(120000);
    EXPECT_EQ(QApplication::exec(), 0);
    watchdog.stop();

    EXPECT_EQ(shown, (QStringList{u"LoginForm"_s, u"ParForm"_s, u"LockScreenForm"_s,
                                  u"PwdInputForm"_s, u"ModPwdForm"_s, u"LockScreenForm"_s,
                                  u"PwdInputForm"_s, u"ExitForm"_s}));
    // Only the old, empty password was refused, once.
    EXPECT_EQ(messages.texts(), QStringList{u"密码错误，请重新输入。"_s});
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(dm->DurEzeConn.IsOpen());

    EXPECT_EQ(single(u"SELECT SystemName FROM Par_tab"_s), u"阳光小学图书室"_s);
    const QString stored = single(u"SELECT UserPwd FROM Users_tab WHERE UserCode='Admin'"_s);
    EXPECT_TRUE(IsPasswordHash(stored));
    EXPECT_TRUE(PasswordMatches(newPassword, stored));
    EXPECT_EQ(logEntries(), (QStringList{
                                u"进入系统|打开|Admin|管理员"_s,
                                u"系统参数设置|打开|Admin|管理员"_s,
                                u"系统参数设置|关闭|Admin|管理员"_s,
                                u"修改密码|打开|Admin|管理员"_s,
                                u"修改密码|关闭|Admin|管理员"_s,
                                u"退出系统|关闭|Admin|管理员"_s,
                            }));
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM UserLog_tab WHERE LogDate=%1"_s.arg(
                  DateLiteral(pinnedNow().date()))),
              u"6"_s);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, WalkTest, BothKinds, KindName);

} // namespace
