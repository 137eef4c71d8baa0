// The small windows of the shell on both kinds: the password change, the
// lock screen and its prompt, the system parameters with their defaults and
// their window, the about box and the guide.

#include "ShellFixture.h"

#include "data/ParManager.h"
#include "shell/AboutFrm.h"
#include "shell/GuideFrm.h"
#include "shell/HelpFrm.h"
#include "shell/LockScreenFrm.h"
#include "shell/LoginFrm.h"
#include "shell/ModPwdFrm.h"
#include "shell/ParFrm.h"
#include "shell/Passwords.h"
#include "shell/PwdInputFrm.h"
#include "shell/ShellHelpers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SmallWindowsTest : public ShellTest
{
protected:
    QString storedPwd(int id)
    {
        return single(u"SELECT COALESCE(UserPwd,'') FROM Users_tab WHERE UserID=%1"_s.arg(id));
    }
};

struct PwdCase {
    const char *name;
    QString source, new1, new2;
    QString message;  // empty: changed and closed
};

TEST_P(SmallWindowsTest, PasswordChange)
{
    const QList<PwdCase> cases = {
        {"wrong old password", u"Old"_s, u"n"_s, u"n"_s, u"原密码错误,请重新输入!"_s},
        {"new passwords differ", u"old"_s, u"new1"_s, u"new2"_s, u"两次输入的新密码不相同!"_s},
        {"changed", u"old"_s, u"新密码"_s, u"新密码"_s, {}},
        {"changed again, to no password", u"新密码"_s, u""_s, u""_s, {}},
        {"no password and a typed old one", u"x"_s, u"a"_s, u"a"_s, u"原密码错误,请重新输入!"_s},
        {"from no password", u""_s, u"abc"_s, u"abc"_s, {}},
    };
    const int id = addUser(u"lib01"_s, u"李明"_s, HashPassword(u"old"_s));
    loginAs(u"lib01"_s);
    for (const PwdCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = storedPwd(id);
        TMessageRecorder messages;
        TModPwdForm w;
        EXPECT_EQ(w.EditUserCode->text(), u"lib01"_s);
        EXPECT_FALSE(w.EditUserCode->isEnabled());
        w.EditSourcePwd->setText(c.source);
        w.EditNewPwd1->setText(c.new1);
        w.EditNewPwd2->setText(c.new2);
        w.BtnMod->click();
        if (!c.message.isEmpty()) {
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown[0].caption, u"错误"_s);
            EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(w.result(), QDialog::Rejected);  // the window stays open
            EXPECT_EQ(storedPwd(id), before);
            continue;
        }
        EXPECT_TRUE(messages.shown.isEmpty());
        EXPECT_EQ(w.result(), QDialog::Accepted);
        const QString stored = storedPwd(id);
        EXPECT_EQ(CurrentUser().UserPwd, stored);
        EXPECT_TRUE(PasswordMatches(c.new1, stored));
        EXPECT_EQ(IsPasswordHash(stored), !c.new1.isEmpty());  // never the typed text
    }
}

TEST_P(SmallWindowsTest, PasswordChangeOfADeletedUserClosesSilently)
{
    const int id = addUser(u"lib01"_s, u"李明"_s, HashPassword(u"old"_s));
    loginAs(u"lib01"_s);
    const QString before = CurrentUser().UserPwd;
    exec(u"DELETE FROM Users_tab WHERE UserID=%1"_s.arg(id));
    TModPwdForm w;
    w.EditSourcePwd->setText(u"old"_s);
    w.EditNewPwd1->setText(u"x"_s);
    w.EditNewPwd2->setText(u"x"_s);
    w.BtnMod->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(CurrentUser().UserPwd, before);
}

TEST_P(SmallWindowsTest, PasswordChangeKeys)
{
    CurrentUser() = TCurrentUser();
    TModPwdForm nobody;
    EXPECT_FALSE(nobody.BtnMod->isEnabled());

    addUser(u"lib01"_s, u"李明"_s);
    loginAs(u"lib01"_s);
    TModPwdForm w;
    w.show();
    w.activateWindow();
    w.EditSourcePwd->setFocus();
    QTest::keyClick(w.EditSourcePwd, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.EditNewPwd1);
    QTest::keyClick(w.EditNewPwd1, Qt::Key_Return);
    EXPECT_EQ(w.focusWidget(), w.EditNewPwd2);
    EXPECT_EQ(w.result(), QDialog::Rejected);  // Enter never changes the password by itself
}

TEST_P(SmallWindowsTest, LockScreenClosesOnlyWithThePassword)
{
    addUser(u"lib01"_s, u"李明"_s, HashPassword(u"Pw1"_s));
    loginAs(u"lib01"_s);
    TLockScreenForm lock;
    QStringList typed = {u"pw1"_s, u"Pw1"_s};
    int prompts = 0;
    TMessageRecorder messages;
    TModalAnswer answer([&](QDialog &d) {
        auto &prompt = static_cast<TPwdInputForm &>(d);
        EXPECT_EQ(prompt.windowTitle(), u"输入密码"_s);
        if (++prompts == 1) {  // Alt+F4 or Esc: Cancel keeps the screen locked
            prompt.BtnCancel->click();
            return prompt.result();
        }
        for (const QString &t : typed) {
            prompt.EditPwd->setText(t);
            QTest::keyClick(prompt.EditPwd, Qt::Key_Return);
            if (prompt.result() != QDialog::Accepted) {
                EXPECT_EQ(prompt.EditPwd->text(), u""_s);  // emptied for the next try
            }
        }
        return prompt.result();
    });
    lock.reject();
    EXPECT_EQ(lock.result(), QDialog::Rejected);
    EXPECT_EQ(prompts, 1);
    lock.RequestUnlock();
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(lock.result(), QDialog::Accepted);
    EXPECT_EQ(messages.texts(), QStringList{u"密码错误，请重新输入。"_s});
    EXPECT_EQ(messages.shown[0].caption, u"信息"_s);
}

TEST_P(SmallWindowsTest, LockScreenPlacesItsPictureAndText)
{
    addUser(u"lib01"_s, u"李明"_s);
    loginAs(u"lib01"_s);
    TLockScreenForm lock;
    lock.show();
    const QSize size = lock.size();
    EXPECT_GT(size.width(), 0);
    EXPECT_EQ(lock.palette().color(QPalette::Window), QColor(64, 157, 40));
    EXPECT_EQ(lock.ImgMain->x(), size.width() / 2 - lock.ImgMain->width() / 2);
    EXPECT_EQ(lock.ImgMain->y(), size.height() / 2 - lock.ImgMain->height() / 2);
    EXPECT_EQ(lock.LblInfo->text(), u"点击图标解锁..."_s);
    EXPECT_EQ(lock.LblInfo->x(), size.width() / 2 - lock.LblInfo->width() / 2);
    EXPECT_EQ(lock.LblInfo->y(), lock.ImgMain->y() + lock.ImgMain->height() + lock.LblInfo->height());
    lock.hide();
}

struct ParCase {
    const char *name;
    const char *row;  // the INSERT's values; nullptr: no row
    QString systemName, corpName;
    bool exitConfirm, userList, maxBooks;
};

TEST_P(SmallWindowsTest, ParameterDefaults)
{
    const QString title = GetApplicationTitle();
    const QString noCorp = u"<使用单位名称未设置>"_s;
    const QList<ParCase> cases = {
        {"empty table", nullptr, title, noCorp, false, true, true},
        {"all NULL", "NULL,NULL,NULL,NULL,NULL", title, noCorp, false, true, true},
        {"blank names", "'   ','  ',0,0,0", title, noCorp, false, false, false},
        {"names kept untrimmed", "' 阳光小学 ','第一中学',1,1,1", u" 阳光小学 "_s, u"第一中学"_s,
         true, true, true},
    };
    for (const ParCase &c : cases) {
        SCOPED_TRACE(c.name);
        exec(u"DELETE FROM Par_tab"_s);
        if (c.row)
            exec(u"INSERT INTO Par_tab(SystemName,CorpName,IsExitConfirm,IsShowUserListOnLogin,"
                 "IsMaxBookManager)VALUES(%1)"_s.arg(QString::fromUtf8(c.row)));
        EXPECT_EQ(ParManager->GetSystemName(), c.systemName);
        EXPECT_EQ(ParManager->GetCorpName(), c.corpName);
        EXPECT_EQ(ParManager->GetIsExitConfirm(), c.exitConfirm);
        EXPECT_EQ(ParManager->GetIsShowUserListOnLogin(), c.userList);
        EXPECT_EQ(ParManager->GetIsMaxBookManager(), c.maxBooks);
    }
}

TEST_P(SmallWindowsTest, ParameterWindowCreatesTheRowOnlyWhenSaved)
{
    {
        TParForm w;
        EXPECT_EQ(w.windowTitle(), u"系统参数设置"_s);
        EXPECT_EQ(w.EditSystemName->text(), u""_s);
        EXPECT_TRUE(w.ChkIsShowUserListOnLogin->isChecked());  // the defaults are shown
        EXPECT_TRUE(w.ChkIsMaxBookManager->isChecked());
        EXPECT_FALSE(w.ChkIsExitConfirm->isChecked());
        w.EditCorpName->setText(u"不会保存"_s);
        w.BtnCancel->click();
    }
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Par_tab"_s), u"0"_s);

    {
        TParForm w;
        w.EditSystemName->setText(u"阳光小学图书室"_s);
        w.EditCorpName->setText(u"阳光小学"_s);
        w.ChkIsExitConfirm->setChecked(true);
        w.ChkIsShowUserListOnLogin->setChecked(false);
        w.BtnSave->click();
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Par_tab"_s), u"1"_s);
    EXPECT_EQ(ParManager->GetSystemName(), u"阳光小学图书室"_s);
    EXPECT_EQ(ParManager->GetCorpName(), u"阳光小学"_s);
    EXPECT_TRUE(ParManager->GetIsExitConfirm());
    EXPECT_FALSE(ParManager->GetIsShowUserListOnLogin());
    EXPECT_TRUE(ParManager->GetIsMaxBookManager());

    // A second save edits the same row.
    {
        TParForm w;
        EXPECT_EQ(w.EditSystemName->text(), u"阳光小学图书室"_s);
        EXPECT_FALSE(w.ChkIsShowUserListOnLogin->isChecked());
        w.ChkIsMaxBookManager->setChecked(false);
        w.BtnSave->click();
    }
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Par_tab"_s), u"1"_s);
    EXPECT_FALSE(ParManager->GetIsMaxBookManager());
    EXPECT_FALSE(dm->ParQuery->Active());
}

TEST_P(SmallWindowsTest, AboutShowsVersionAndTheLibrary)
{
    {
        TAboutForm w;
        EXPECT_EQ(w.PanCorpName->text(), u"<使用单位名称未设置>"_s);
        EXPECT_TRUE(w.lblAppVer->text().startsWith(u"软件版本："_s));
    }
    exec(u"INSERT INTO Par_tab(CorpName)VALUES('阳光小学')"_s);
    TAboutForm w;
    EXPECT_EQ(w.PanCorpName->text(), u"阳光小学"_s);
}

TEST_P(SmallWindowsTest, F1OpensTheTopicOfEachWindow)
{
    addUser(u"Admin"_s, u"管理员"_s);
    loginAs(u"Admin"_s);
    const std::pair<std::function<QDialog *()>, QString> cases[] = {
        {[] { return new TLoginForm; }, u"SysStartup.html"_s},
        {[] { return new TParForm; }, u"Par.html"_s},
        {[] { return new TModPwdForm; }, u"SysIntro.html"_s},
        {[] { return new TAboutForm; }, u"SysIntro.html"_s},
    };
    for (const auto &[make, topic] : cases) {
        SCOPED_TRACE(topic.toStdString());
        ShowHelpTopic(u"index.html"_s);
        std::unique_ptr<QDialog> w(make());
        QTest::keyClick(w.get(), Qt::Key_F1);
        EXPECT_EQ(THelpForm::Instance()->CurrentTopic(), topic) << w->objectName().toStdString();
    }
    THelpForm::Instance()->close();
}

TEST(Guide, HelpLinkOpensTheContents)
{
    TGuideForm w;
    EXPECT_EQ(w.windowTitle(), u"快速指南"_s);
    emit w.LblHelp->linkActivated(u"help"_s);
    EXPECT_EQ(THelpForm::Instance()->CurrentTopic(), u"index.html"_s);
    THelpForm::Instance()->close();
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SmallWindowsTest, BothKinds, KindName);

} // namespace
