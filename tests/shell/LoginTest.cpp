// The login window on both kinds: every refusal and success as one table,
// the first start, the user list switched off, cancelling, and the upgrade
// of a plain-text password left by an older database.

#include "ShellFixture.h"

#include "data/ParManager.h"
#include "shell/LoginFrm.h"
#include "shell/Passwords.h"
#include "shell/UserNameCombo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class LoginTest : public ShellTest
{
protected:
    // Shows the login window, lets `act` work on it and returns what ShowLogin
    // returned.
    bool login(const std::function<void(TLoginForm &)> &act)
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &form = static_cast<TLoginForm &>(d);
            form.show();
            act(form);
            return form.result();
        });
        return ShowLogin();
    }

    static void type(TLoginForm &form, const QString &user, const QString &pwd)
    {
        form.CboUserName->setEditText(user);
        form.EditPwd->setText(pwd);
    }
};

struct LoginCase {
    const char *name;
    QString user;
    QString pwd;
    // Empty: logged in.
    QString caption;
    QString message;
    const char *focus;  // the control that has the focus after a refusal
};

TEST_P(LoginTest, EveryOutcomeOfTheLoginButton)
{
    addUser(u"Admin"_s, u"管理员"_s);
    addUser(u"lib01"_s, u"李明"_s, HashPassword(u"Secret"_s));
    addUser(u"locked"_s, u"王芳"_s, HashPassword(u"pw"_s), true);
    addUser(u"nullpwd"_s, u"赵强"_s);
    addUser(u"emptypwd"_s, u"钱军"_s, u""_s);

    const QList<LoginCase> cases = {
        {"blank name", u"   "_s, u"x"_s, u"信息"_s, u"请输入您的用户名称!"_s, "CboUserName"},
        {"unknown user", u"nobody"_s, u""_s, u"错误"_s, u"您输入的用户名不存在!"_s, "CboUserName"},
        {"name is not trimmed", u" lib01"_s, u"Secret"_s, u"错误"_s, u"您输入的用户名不存在!"_s,
         "CboUserName"},
        {"locked user with the right password", u"locked"_s, u"pw"_s, u"信息"_s,
         u"该用户已被管理员锁定，无法登录。"_s, "CboUserName"},
        {"wrong password", u"lib01"_s, u"secret"_s, u"错误"_s, u"密码错误,请重新输入!"_s, "EditPwd"},
        {"NULL password and a typed one", u"nullpwd"_s, u"x"_s, u"错误"_s,
         u"密码错误,请重新输入!"_s, "EditPwd"},
        {"right password", u"lib01"_s, u"Secret"_s, {}, {}, nullptr},
        {"NULL password and none typed", u"nullpwd"_s, u""_s, {}, {}, nullptr},
        {"empty password and none typed", u"emptypwd"_s, u""_s, {}, {}, nullptr},
    };
    for (const LoginCase &c : cases) {
        SCOPED_TRACE(c.name);
        CurrentUser() = TCurrentUser();
        ClearTerminationRequest();
        TMessageRecorder messages;
        QString focused;
        QString selected;
        const bool ok = login([&](TLoginForm &form) {
            type(form, c.user, c.pwd);
            form.BtnLogin->click();
            if (QWidget *f = form.focusWidget())
                focused = f == form.CboUserName->lineEdit() ? u"CboUserName"_s : f->objectName();
            selected = form.EditPwd->selectedText();
        });
        if (c.caption.isEmpty()) {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(CurrentUser().UserCode, c.user);
            EXPECT_FALSE(TerminationRequested());
            continue;
        }
        EXPECT_FALSE(ok);
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].caption, c.caption);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].kind,
                  c.caption == u"错误"_s ? TMessageKind::Error : TMessageKind::Info);
        EXPECT_EQ(focused.toStdString(), c.focus);
        if (QString::fromLatin1(c.focus) == u"EditPwd"_s) {
            EXPECT_EQ(selected, c.pwd);  // the whole password is selected to be retyped
        }
        // The window stayed open; closing it with nobody logged in ends the program.
        EXPECT_FALSE(CurrentUser().LoggedIn());
        EXPECT_TRUE(TerminationRequested());
    }
}

TEST_P(LoginTest, SuccessFillsTheCurrentUserWithTheStoredHash)
{
    addUser(u"Admin"_s, u"管理员"_s);
    const QString hash = HashPassword(u"Secret"_s);
    const int id = addUser(u"lib01"_s, u"李明"_s, hash);
    EXPECT_TRUE(login([](TLoginForm &form) {
        type(form, u"lib01"_s, u"Secret"_s);
        form.BtnLogin->click();
    }));
    EXPECT_EQ(CurrentUser().UserID, id);
    EXPECT_EQ(CurrentUser().UserCode, u"lib01"_s);
    EXPECT_EQ(CurrentUser().UserName, u"李明"_s);
    EXPECT_EQ(CurrentUser().UserPwd, hash);
    EXPECT_FALSE(dm->PubQuery->Active());
}

TEST_P(LoginTest, PlainTextPasswordIsReplacedByItsHashAtLogin)
{
    addUser(u"Admin"_s, u"管理员"_s);
    const int id = addUser(u"old"_s, u"老用户"_s, u"abc"_s);
    const QString storedSql = u"SELECT UserPwd FROM Users_tab WHERE UserID=%1"_s.arg(id);
    {
        TMessageRecorder messages;
        EXPECT_FALSE(login([](TLoginForm &form) {
            type(form, u"old"_s, u"abd"_s);
            form.BtnLogin->click();
        }));
        EXPECT_EQ(single(storedSql), u"abc"_s);  // a refusal changes nothing
    }
    EXPECT_TRUE(login([](TLoginForm &form) {
        type(form, u"old"_s, u"abc"_s);
        form.BtnLogin->click();
    }));
    const QString stored = single(storedSql);
    EXPECT_TRUE(IsPasswordHash(stored));
    EXPECT_TRUE(PasswordMatches(u"abc"_s, stored));
    EXPECT_FALSE(PasswordMatches(u"abd"_s, stored));
    EXPECT_EQ(CurrentUser().UserPwd, stored);

    // The next login verifies against the hash.
    CurrentUser() = TCurrentUser();
    EXPECT_TRUE(login([](TLoginForm &form) {
        type(form, u"old"_s, u"abc"_s);
        form.BtnLogin->click();
    }));
    EXPECT_EQ(single(storedSql), stored);
}

TEST_P(LoginTest, FirstStartCreatesAdminAndLogsInWithoutPassword)
{
    ASSERT_EQ(single(u"SELECT COUNT(*) FROM Users_tab"_s), u"0"_s);
    EXPECT_TRUE(login([](TLoginForm &form) {
        EXPECT_EQ(form.CboUserName->count(), 1);
        EXPECT_EQ(form.CboUserName->currentText(), u"Admin"_s);
        EXPECT_EQ(form.focusWidget(), form.EditPwd);
        form.BtnLogin->click();
    }));
    EXPECT_EQ(CurrentUser().UserCode, u"Admin"_s);
    EXPECT_TRUE(IsAdminUser(CurrentUser().UserCode));
    EXPECT_EQ(single(u"SELECT UserName FROM Users_tab WHERE UserCode='Admin'"_s), u"管理员"_s);
    EXPECT_EQ(single(u"SELECT COALESCE(UserPwd,'') FROM Users_tab WHERE UserCode='Admin'"_s), u""_s);
    EXPECT_EQ(single(u"SELECT IsLock FROM Users_tab WHERE UserCode='Admin'"_s), u"0"_s);
}

TEST_P(LoginTest, UserListOrderAndAdminInAnyLetterCase)
{
    addUser(u"zhang"_s, u"张三"_s);
    addUser(u"admin"_s, u"管理员"_s);
    addUser(u" li "_s, u"李四"_s);
    login([](TLoginForm &form) {
        QStringList items;
        for (int i = 0; i < form.CboUserName->count(); ++i)
            items.append(form.CboUserName->itemText(i));
        EXPECT_EQ(items, (QStringList{u"zhang"_s, u"admin"_s, u"li"_s}));
        // With several users nobody is preselected.
        EXPECT_EQ(form.CboUserName->currentText(), u""_s);
    });
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Users_tab"_s), u"3"_s);
}

TEST_P(LoginTest, UserListSwitchedOff)
{
    struct Case {
        const char *parValue;
        bool simple;
    };
    for (const Case &c : {Case{"0", true}, Case{"1", false}, Case{"NULL", false}}) {
        SCOPED_TRACE(c.parValue);
        exec(u"DELETE FROM Par_tab"_s);
        exec(u"INSERT INTO Par_tab(IsShowUserListOnLogin)VALUES(%1)"_s.arg(QString::fromLatin1(c.parValue)));
        login([&](TLoginForm &form) {
            EXPECT_EQ(form.CboUserName->SimpleStyle(), c.simple);
            // The codes are loaded all the same, and a single user is preselected.
            EXPECT_EQ(form.CboUserName->count(), 1);
            EXPECT_EQ(form.CboUserName->currentText(), u"Admin"_s);
        });
    }
}

TEST_P(LoginTest, CancelEndsTheProgramOnlyWhenNobodyIsLoggedIn)
{
    addUser(u"Admin"_s, u"管理员"_s);
    // At start-up.
    EXPECT_FALSE(login([](TLoginForm &form) { form.BtnCancel->click(); }));
    EXPECT_TRUE(TerminationRequested());

    // After "重新登录...": the user stays.
    ClearTerminationRequest();
    loginAs(u"Admin"_s);
    EXPECT_FALSE(login([](TLoginForm &form) {
        type(form, u"Admin"_s, u"wrong"_s);
        QTest::keyClick(form.EditPwd, Qt::Key_Escape);
    }));
    EXPECT_EQ(CurrentUser().UserCode, u"Admin"_s);
    EXPECT_FALSE(TerminationRequested());
}

TEST_P(LoginTest, EnterMovesToThePasswordThenLogsIn)
{
    addUser(u"Admin"_s, u"管理员"_s);
    addUser(u"lib01"_s, u"李明"_s);
    EXPECT_TRUE(login([](TLoginForm &form) {
        form.activateWindow();
        form.CboUserName->setFocus();
        QTest::keyClicks(form.CboUserName->lineEdit(), u"lib01"_s);
        QTest::keyClick(form.CboUserName->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(form.focusWidget(), form.EditPwd);
        EXPECT_EQ(form.CboUserName->count(), 2);  // Enter did not add the text to the list
        QTest::keyClick(form.EditPwd, Qt::Key_Return);
    }));
    EXPECT_EQ(CurrentUser().UserCode, u"lib01"_s);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, LoginTest, BothKinds, KindName);

} // namespace
