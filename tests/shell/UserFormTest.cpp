// Users and rights: the user list, its editor, deleting a user with its
// rights rows in one transaction, the rights editor, and rights taking
// effect at the next login, on both kinds of database.

#include "ShellFixture.h"

#include "data/DataDict.h"
#include "forms/DBControls.h"
#include "forms/DataGrid.h"
#include "readers/ReaderCateFrm.h"
#include "shell/FunctionWindow.h"
#include "shell/FunctionWindows.h"
#include "shell/Rights.h"
#include "shell/UserAccFrm.h"
#include "shell/UserEditFrm.h"
#include "shell/UserFrm.h"
#include "shell/UserRules.h"

#include <QAction>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

namespace {

class UserFormTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped())
            return;
        adminID = addUser(u"Admin"_s, u"管理员"_s);
        loginAs(u"Admin"_s);
        OpenAccTable();
    }

    // The user's rights rows as "FunKey:open,operate,print", by FunKey.
    QStringList rightsOf(int userID)
    {
        QStringList out;
        QSqlQuery q = db->conn().Select(
            u"SELECT FunKey,IsOpen,IsOperate,IsPrint FROM UserAccredit_tab a JOIN UserFun_tab f "
            "ON a.FunID=f.FunID WHERE UserID=%1 ORDER BY FunKey"_s.arg(userID));
        while (q.next())
            out.append(u"%1:%2,%3,%4"_s.arg(q.value(0).toInt()).arg(q.value(1).toInt()).arg(q.value(2).toInt())
                           .arg(q.value(3).toInt()));
        return out;
    }
    QString count(const QString &table) { return single(u"SELECT COUNT(*) FROM "_s + table); }
    void setUsed(const QString &funKeys, bool used)
    {
        exec(u"UPDATE UserFun_tab SET IsUsed=%1 WHERE FunKey IN (%2)"_s.arg(used ? 1 : 0).arg(funKeys));
    }
    // The function names FunQuery shows, in order.
    static QStringList shownFunctions()
    {
        QStringList out;
        TDataSet *rights = DM1->FunQuery;
        for (rights->First(); !rights->Eof(); rights->Next())
            out.append(rights->FieldByName(u"FunName"_s)->AsString());
        return out;
    }

    int adminID = -1;
};

TEST_P(UserFormTest, AdminCannotBeDeletedLockedOrGivenRightsInAnyLetterCase)
{
    TUserForm form;
    for (const QString &code : {u"Admin"_s, u"ADMIN"_s, u"admin"_s}) {
        exec(u"UPDATE Users_tab SET UserCode=%1 WHERE UserID=%2"_s.arg(QuotedStr(code)).arg(adminID));
        form.UserGrid->OpenSql(UsersBaseSQL());
        ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, adminID));
        TMessageRecorder messages;
        form.UserDel->trigger();
        form.UserAccredit->trigger();  // no window opens
        TModalAnswer editor([&](QDialog &d) {
            auto &edit = static_cast<TUserEditForm &>(d);
            EXPECT_FALSE(edit.ChkIsLock->isEnabled()) << code.toStdString();
            return int(QDialog::Rejected);
        });
        form.UserMod->trigger();
        EXPECT_EQ(messages.texts(), (QStringList{u"管理员帐户不能删除。"_s, u"管理员帐户自动拥有所有权限，无需授权。"_s}))
            << code.toStdString();
        EXPECT_EQ(count(u"Users_tab"_s), u"1"_s);
        EXPECT_EQ(count(u"UserAccredit_tab"_s), u"0"_s);
    }
}

TEST_P(UserFormTest, DeletingAUserTakesItsRightsRowsInOneTransaction)
{
    const int keep = addUser(u"lib01"_s, u"李明"_s);
    const int gone = addUser(u"lib02"_s, u"王芳"_s);
    grant(keep, 22, true, true, true);
    grant(gone, 22, true, true, true);
    grant(gone, 23, true, false, true);
    TUserForm form;
    EXPECT_EQ(form.StatusText(), u"共有记录：3 条"_s);

    // A change by another workstation makes the delete fail: nothing goes.
    auto other = db->openAnother();
    other->Execute(u"UPDATE Users_tab SET UserName='王芳芳' WHERE UserID="_s + QString::number(gone));
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, gone));
    {
        TMessageRecorder messages;
        form.UserDel->trigger();
        ASSERT_EQ(messages.shown.size(), 2);
        EXPECT_EQ(messages.shown[1].kind, TMessageKind::Error);
        EXPECT_TRUE(messages.shown[1].text.startsWith(u"更新数据库时出错,请重试!"_s));
    }
    EXPECT_EQ(rightsOf(gone), (QStringList{u"22:1,1,1"_s, u"23:1,0,1"_s}));
    EXPECT_EQ(form.StatusText(), u"共有记录：3 条"_s);

    // Cancel keeps it; OK deletes the user and its rights, nobody else's.
    form.UserGrid->OpenSql(UsersBaseSQL());
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, gone));
    for (bool answer : {false, true}) {
        TMessageRecorder messages(answer);
        form.UserDel->trigger();
        EXPECT_EQ(messages.texts(), QStringList{u"确定要删除当前记录吗?"_s});
    }
    EXPECT_EQ(rightsOf(gone), QStringList());
    EXPECT_EQ(rightsOf(keep), QStringList{u"22:1,1,1"_s});
    EXPECT_EQ(count(u"Users_tab"_s), u"2"_s);
    EXPECT_EQ(form.StatusText(), u"共有记录：2 条"_s);
}

TEST_P(UserFormTest, EditorLocksTheCodeOfSavedUsersAndTheLockOfAdmin)
{
    exec(u"INSERT INTO Items_tab(ItemCate,ItemCode,ItemName)VALUES(%1,1,'流通部'),(%1,2,'采编部')"_s.arg(
        DictCategoryOf(u"DeptName"_s)));
    TUserForm form;
    TMessageRecorder messages;
    QList<std::tuple<bool, bool, QStringList>> seen;  // code box, lock box, departments
    TModalAnswer answer([&](QDialog &d) {
        auto &editor = static_cast<TUserEditForm &>(d);
        QStringList depts;
        for (int i = 0; i < editor.CboDepts->count(); ++i)
            depts.append(editor.CboDepts->itemText(i));
        seen.append({editor.EditUserCode->isEnabled(), editor.ChkIsLock->isEnabled(), depts});
        if (dm->UserQuery->State() == TDataSetState::Insert) {
            for (const QString &code : {u""_s, u"ADMIN"_s, u"lib03"_s}) {
                editor.EditUserCode->setText(code);
                editor.EditUserName->setText(u"赵敏"_s);
                editor.CboDepts->setEditText(u"采编部"_s);
                editor.BtnSave->click();
            }
        }
        return editor.result();
    });
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, adminID));
    form.UserMod->trigger();
    form.UserAdd->trigger();
    const QStringList depts{u"流通部"_s, u"采编部"_s};
    EXPECT_EQ(seen, (QList<std::tuple<bool, bool, QStringList>>{{false, false, depts}, {true, true, depts}}));
    EXPECT_EQ(messages.texts(), (QStringList{u"登录代号不能为空。"_s, u"您输入的登录代号已存在。"_s}));
    EXPECT_EQ(single(u"SELECT UserName||'|'||Dept||'|'||IsLock FROM Users_tab WHERE UserCode='lib03'"_s),
              u"赵敏|采编部|0"_s);
    EXPECT_EQ(single(u"SELECT UserPwd FROM Users_tab WHERE UserCode='lib03'"_s), QString());
}

TEST_P(UserFormTest, RightsEditorRecreatesAFullSetAndWritesTicksByKey)
{
    const int user = addUser(u"lib01"_s, u"李明"_s);
    setUsed(u"55"_s, false);
    grant(user, 55, true, true, true);  // a row of an unused function only
    OpenQuery(dm->UserQuery, UsersBaseSQL());
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, user));

    TUserAccForm acc;
    EXPECT_EQ(acc.SBarMain->currentMessage(), u"授权用户:lib01[李明]"_s);
    QStringList expected;
    for (const Schema::FunctionInfo &f : Schema::Functions())
        expected.append(u"%1:0,1,1"_s.arg(f.code));
    EXPECT_EQ(rightsOf(user), expected);
    EXPECT_EQ(shownFunctions().size(), 14);  // the unused one is not offered

    // Categories: 借阅管理 shows its two functions; one without used
    // functions disables the grid; the root shows all again.
    setUsed(u"41,42"_s, false);
    acc.FunDataGrid->DataSet()->Reopen();
    QTreeWidgetItem *root = acc.CateTree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 5);
    EXPECT_TRUE(root->isExpanded());
    acc.CateTree->setCurrentItem(root->child(2));
    EXPECT_EQ(shownFunctions(), (QStringList{u"借书还书续借"_s, u"借阅记录查询"_s}));
    EXPECT_TRUE(acc.FunDataGrid->isEnabled());
    acc.CateTree->setCurrentItem(root->child(3));
    EXPECT_FALSE(acc.FunDataGrid->isEnabled());
    acc.CateTree->setCurrentItem(root);
    EXPECT_EQ(shownFunctions().size(), 12);

    // Ticking 打开权限 of 借书还书续借 and clearing its 打印权限.
    acc.CateTree->setCurrentItem(root->child(2));
    const int row = shownFunctions().indexOf(u"借书还书续借"_s);
    acc.show();
    const QModelIndex openCell = acc.FunDataGrid->model()->index(row, acc.FunDataGrid->ColumnOf(u"IsOpen"_s));
    QTest::mouseClick(acc.FunDataGrid->viewport(), Qt::LeftButton, {},
                      acc.FunDataGrid->visualRect(openCell).center());
    acc.ToggleRight(acc.FunDataGrid->model()->index(row, acc.FunDataGrid->ColumnOf(u"IsPrint"_s)));
    acc.ToggleRight(acc.FunDataGrid->model()->index(row, acc.FunDataGrid->ColumnOf(u"FunName"_s)));
    EXPECT_TRUE(rightsOf(user).contains(u"31:1,1,0"_s));
    EXPECT_EQ(rightsOf(user).filter(u":0,1,1"_s).size(), 14);
    acc.reject();
    EXPECT_FALSE(dm->FunQuery->Active());
}

TEST_P(UserFormTest, FailedCreationOfRightsLeavesTheOldRows)
{
    const int user = addUser(u"lib01"_s, u"李明"_s);
    setUsed(u"55"_s, false);
    grant(user, 55, true, false, false);
    const QString funID = single(u"SELECT FunID FROM UserFun_tab WHERE FunKey=42"_s);
    if (GetParam() == DatabaseKind::SQLite)
        exec(u"CREATE TRIGGER no42 BEFORE INSERT ON UserAccredit_tab WHEN NEW.FunID=%1 "
             "BEGIN SELECT RAISE(ABORT,'refused'); END"_s.arg(funID));
    else
        exec(u"ALTER TABLE UserAccredit_tab ADD CONSTRAINT no42 CHECK (FunID<>%1)"_s.arg(funID));

    TUserForm form;
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, user));
    TMessageRecorder messages;
    form.UserAccredit->trigger();  // the editor does not open
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_TRUE(messages.shown[0].text.startsWith(u"更新数据库时出错，请重试！"_s));
    EXPECT_EQ(rightsOf(user), QStringList{u"55:1,0,0"_s});
    EXPECT_FALSE(dm->DurEzeConn.InTransaction());
    EXPECT_FALSE(dm->FunQuery->Active());
}

// Admin creates a user, grants two functions without the print right; at
// the user's next login exactly those two open, without print and export.
TEST_P(UserFormTest, RightsTakeEffectAtTheNextLogin)
{
    RegisterFunctionWindows();
    std::unique_ptr<QWidget> window(FunctionWindowFactory(52)());
    auto *form = qobject_cast<TUserForm *>(window.get());
    ASSERT_NE(form, nullptr);
    {
        TModalAnswer answer([&](QDialog &d) {
            if (auto *editor = qobject_cast<TUserEditForm *>(&d)) {
                editor->EditUserCode->setText(u"lib09"_s);
                editor->EditUserName->setText(u"新用户"_s);
                editor->BtnSave->click();
                return editor->result();
            }
            auto &acc = dynamic_cast<TUserAccForm &>(d);
            const int open = acc.FunDataGrid->ColumnOf(u"IsOpen"_s);
            const int print = acc.FunDataGrid->ColumnOf(u"IsPrint"_s);
            for (const QString &name : {u"读者类别设置"_s, u"借阅规章制度"_s}) {
                const int row = shownFunctions().indexOf(name);
                acc.ToggleRight(acc.FunDataGrid->model()->index(row, open));
                acc.ToggleRight(acc.FunDataGrid->model()->index(row, print));
            }
            acc.accept();
            return acc.result();
        });
        form->UserAdd->trigger();
        ASSERT_TRUE(dm->UserQuery->Locate(u"UserCode"_s, u"lib09"_s));
        form->UserAccredit->trigger();
    }
    loginAs(u"lib09"_s);
    OpenAccTable();
    for (const Schema::FunctionInfo &f : Schema::Functions())
        EXPECT_EQ(HasOpenRight(f.code), f.code == 22 || f.code == 23) << f.code;

    QStringList hidden;
    TModalAnswer answer([&](QDialog &d) {
        for (QAction *a : d.findChildren<QAction *>())
            if (!a->isVisible())
                hidden.append(a->objectName());
        return int(QDialog::Rejected);
    });
    OpenFunctionWindow(FunctionWindowFactory(22), 22);
    EXPECT_EQ(hidden, (QStringList{u"ActionPrint"_s, u"ActionExport"_s}));
    EXPECT_EQ(OpenFunctionWindow(FunctionWindowFactory(51), 51), int(QDialog::Rejected));
    EXPECT_EQ(logEntries().filter(u"lib09"_s).filter(u"读者类别设置"_s).size(), 2);
    EXPECT_EQ(logEntries().filter(u"数据字典维护"_s).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, UserFormTest, BothKinds, KindName);

} // namespace
