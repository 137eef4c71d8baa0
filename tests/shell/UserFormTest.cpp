// Users and rights: the user list, its editor, deleting a user with its
// rights rows in one transaction, the rights editor, and rights taking
// effect at the next login, on both kinds of database.

#include "ShellFixture.h"

#include "circulation/BylawEditFrm.h"
#include "circulation/BylawFrm.h"
#include "data/DataDict.h"
#include "forms/DBControls.h"
#include "forms/DataGrid.h"
#include "forms/DataGridSource.h"
#include "forms/FatherFrm.h"
#include "forms/GridOutputFrm.h"
#include "forms/GridPrinter.h"
#include "forms/QLDBFilterFrm.h"
#include "readers/ReaderCateEditFrm.h"
#include "readers/ReaderCateFrm.h"
#include "shell/FunctionWindow.h"
#include "shell/FunctionWindows.h"
#include "shell/HomePage.h"
#include "shell/Rights.h"
#include "shell/UserAccFrm.h"
#include "shell/UserEditFrm.h"
#include "shell/UserFrm.h"
#include "shell/UserLogFrm.h"
#include "shell/UserRules.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
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

// The database refuses at the commit, after the row has left the list: the
// user stays, and so does its row in the list.
TEST_P(UserFormTest, AFailedCommitKeepsTheUserAndItsRow)
{
    const int user = addUser(u"lib02"_s, u"王芳"_s);
    grant(user, 22, true, true, true);
    if (GetParam() == DatabaseKind::SQLite)
        dm->DurEzeConn.Execute(u"PRAGMA foreign_keys=ON"_s);
    exec(u"CREATE TABLE Duty_tab(UserID INTEGER REFERENCES Users_tab(UserID) DEFERRABLE INITIALLY DEFERRED)"_s);
    exec(u"INSERT INTO Duty_tab(UserID)VALUES(%1)"_s.arg(user));
    TUserForm form;
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, user));
    TMessageRecorder messages;
    form.UserDel->trigger();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[1].text.startsWith(u"更新数据库时出错,请重试!"_s));
    EXPECT_EQ(count(u"Users_tab"_s), u"2"_s);
    EXPECT_EQ(rightsOf(user), QStringList{u"22:1,1,1"_s});
    EXPECT_EQ(form.StatusText(), u"共有记录：2 条"_s);
    EXPECT_EQ(dm->UserQuery->FieldByName(u"UserCode"_s)->AsString(), u"lib02"_s);
    EXPECT_FALSE(dm->DurEzeConn.InTransaction());
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

    // Ticking 打开权限 of 借书还书续借 with a click and clearing its 打印权限
    // with Space; the function's name takes no tick.
    acc.CateTree->setCurrentItem(root->child(2));
    const int row = shownFunctions().indexOf(u"借书还书续借"_s);
    acc.show();
    const auto cell = [&](const QString &field) {
        return acc.FunDataGrid->model()->index(row, acc.FunDataGrid->ColumnOf(field));
    };
    QTest::mouseClick(acc.FunDataGrid->viewport(), Qt::LeftButton, {},
                      acc.FunDataGrid->visualRect(cell(u"IsOpen"_s)).center());
    acc.FunDataGrid->setCurrentIndex(cell(u"IsPrint"_s));
    QTest::keyClick(acc.FunDataGrid, Qt::Key_Space);
    QTest::mouseClick(acc.FunDataGrid->viewport(), Qt::LeftButton, {},
                      acc.FunDataGrid->visualRect(cell(u"FunName"_s)).center());
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

TEST_P(UserFormTest, NoRightsAreWrittenForAUserDeletedElsewhere)
{
    const int user = addUser(u"lib01"_s, u"李明"_s);
    TUserForm form;
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserID"_s, user));
    db->openAnother()->Execute(u"DELETE FROM Users_tab WHERE UserID="_s + QString::number(user));
    TMessageRecorder messages;
    form.UserAccredit->trigger();  // the editor does not open
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(u"该用户已不存在，可能已被其他工作站删除。"_s));
    EXPECT_EQ(count(u"UserAccredit_tab"_s), u"0"_s);
}

// The user list's SQL has no WHERE of its own: a search adds one, and the
// next search starts again from all users.
TEST_P(UserFormTest, FindSearchesAllUsersEachTime)
{
    addUser(u"lib01"_s, u"李明"_s);
    addUser(u"lib02"_s, u"王芳"_s);
    TUserForm form;
    for (const QString &code : {u"lib02"_s, u"lib01"_s}) {
        TModalAnswer answer([&](QDialog &d) {
            auto &f = dynamic_cast<TQLDBFilterForm &>(d);
            EXPECT_EQ(f.cbFields->count(), 6);
            f.cbFields->setCurrentIndex(f.cbFields->findText(u"登录代号"_s));
            f.edtValue->setText(code);
            f.AddToList();
            f.btnOK->click();
            return f.result();
        });
        form.UserFind->trigger();
        EXPECT_EQ(form.StatusText(), u"共有记录：1 条"_s) << code.toStdString();
        EXPECT_EQ(dm->UserQuery->FieldByName(u"UserCode"_s)->AsString(), code);
    }
}

// The toolbars of the four windows, left to right, as "name|caption|right
// tag|image": what the rights hide depends on these tags.
TEST_P(UserFormTest, ToolbarsCarryTheirActionsInOrderWithTheirRightTags)
{
    RegisterFunctionWindows();
    const QStringList output{u"ActionPrint|打印(&P)|2|6"_s, u"ActionExport|导出(&E)|2|16"_s, u"-"_s,
                             u"SystemExit|关闭(&C)|0|14"_s};
    const auto listActions = [](const QString &prefix, bool edits) {
        QStringList out;
        if (edits)
            out << prefix + u"Add|新增(&A)|1|0"_s << prefix + u"Mod|修改(&M)|1|1"_s
                << prefix + u"Del|删除(&D)|1|2"_s;
        return out;
    };
    const QList<std::pair<int, QStringList>> cases{
        {22, listActions(u"ReaderCate"_s, true) + QStringList{u"ReaderCateFind|查询(&F)|0|3"_s,
                                                          u"ReaderCateCustomColumn|自定义列|0|5"_s}},
        {23, listActions(u"Bylaw"_s, true) + QStringList{u"BylawFind|查询(&F)|0|3"_s,
                                                     u"BylawCustomColumn|自定义列|0|5"_s}},
        {52, listActions(u"User"_s, true) + QStringList{u"UserAccredit|授权(&E)|1|12"_s, u"UserFind|查询(&F)|0|3"_s,
                                                    u"UserCustomColumn|自定义列|0|5"_s}},
        {53, QStringList{u"UserLogFind|查询(&F)|0|3"_s, u"UserLogCustomColumn|自定义列|0|5"_s}},
    };
    for (const auto &[code, own] : cases) {
        std::unique_ptr<QWidget> window(FunctionWindowFactory(code)());
        auto *form = qobject_cast<TFatherForm *>(window.get());
        ASSERT_NE(form, nullptr) << code;
        QStringList shown;
        for (QAction *a : form->TBarMain->actions())
            shown.append(a->isSeparator() ? u"-"_s
                                          : QStringList{a->objectName(), a->text(), QString::number(RightTag(a)),
                                                        a->property("imageIndex").toString()}
                                                .join(u'|'));
        EXPECT_EQ(shown, own + output) << code;
    }
}

// A colleague's first day, as the people would do it: Admin creates the
// user and grants two functions without the print right, then keeps the
// reader categories and the regulations, printing and exporting each list.
// At the colleague's next login exactly those two functions open, without
// print and export; the log window lists every opening and closing.
TEST_P(UserFormTest, RightsTakeEffectAtTheNextLogin)
{
    RegisterFunctionWindows();
    bool colleague = false;
    TFatherForm *list = nullptr;  // the list window being worked in
    QStringList printed, exported, hidden, logShown;
    const QString exportFile = appDir.filePath(u"list.html"_s);
    const auto output = [&](TFatherForm &form) {
        form.ActionPrint->trigger();
        form.ActionExport->trigger();
        QFile file(exportFile);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        exported.append(QString::fromUtf8(file.readAll()));
    };
    TModalAnswer answer([&](QDialog &d) -> int {
        if (auto *users = qobject_cast<TUserForm *>(&d)) {
            users->UserAdd->trigger();
            EXPECT_TRUE(dm->UserQuery->Locate(u"UserCode"_s, u"lib09"_s));
            users->UserAccredit->trigger();
        } else if (auto *editor = qobject_cast<TUserEditForm *>(&d)) {
            editor->EditUserCode->setText(u"lib09"_s);
            editor->EditUserName->setText(u"新用户"_s);
            editor->BtnSave->click();
        } else if (auto *acc = qobject_cast<TUserAccForm *>(&d)) {
            acc->show();
            for (const QString &name : {u"读者类别设置"_s, u"借阅规章制度"_s}) {
                for (const QString &right : {u"IsOpen"_s, u"IsPrint"_s}) {
                    const QModelIndex cell = acc->FunDataGrid->model()->index(
                        shownFunctions().indexOf(name), acc->FunDataGrid->ColumnOf(right));
                    QTest::mouseClick(acc->FunDataGrid->viewport(), Qt::LeftButton, {},
                                      acc->FunDataGrid->visualRect(cell).center());
                }
            }
        } else if (colleague && qobject_cast<TFatherForm *>(&d)) {
            for (QAction *a : d.findChildren<QAction *>())
                if (!a->isVisible())
                    hidden.append(d.objectName() + u'.' + a->objectName());
        } else if (auto *cates = qobject_cast<TReaderCateForm *>(&d)) {
            list = cates;
            cates->ReaderCateAdd->trigger();
            output(*cates);
        } else if (auto *cate = qobject_cast<TReaderCateEditForm *>(&d)) {
            cate->EditReaderCateName->setText(u"教师"_s);
            cate->EditLimitBooksCount->setText(u"10"_s);
            cate->EditLimitDays->setText(u"60"_s);
            cate->BtnSave->click();
        } else if (auto *bylaws = qobject_cast<TBylawForm *>(&d)) {
            list = bylaws;
            bylaws->BylawAdd->trigger();
            output(*bylaws);
        } else if (auto *bylaw = qobject_cast<TBylawEditForm *>(&d)) {
            bylaw->EditBylawTitle->setText(u"借书须知"_s);
            bylaw->MemoBylawContent->setPlainText(u"凭证借书。"_s);
            bylaw->BtnSave->click();
        } else if (auto *out = qobject_cast<TGridOutputForm *>(&d)) {
            if (out->Mode() == gomExport) {
                out->SelectFormat(2);  // HTML
                out->EditExportFile->setText(exportFile);
                out->ChkExportOpen->setChecked(false);
            }
            out->BtnOK->click();
        } else if (qobject_cast<QPrintPreviewDialog *>(&d)) {
            QPdfWriter pdf(appDir.filePath(u"print.pdf"_s));
            const TDataGridSource source(list->FindFirstGrid(), false);
            const auto pages = PubPrintGrid().Layout(&pdf, QRectF(0, 0, pdf.width(), pdf.height()), source);
            printed.append(PubPrintGrid().Substitutions.value(u"%[Title]"_s) + u':'
                           + pages.value(0).texts(TGridPrinter::TPrintItem::Cell).join(u','));
        } else if (auto *log = qobject_cast<TUserLogForm *>(&d)) {
            TDataSet *entries = log->UserLogGrid->DataSet();
            for (entries->First(); !entries->Eof(); entries->Next())
                logShown.append(entries->FieldByName(u"WinName"_s)->AsString() + u'|'
                                + entries->FieldByName(u"OperateContent"_s)->AsString());
        }
        return d.result();
    });
    for (int code : {52, 22, 23})
        OpenFunctionWindow(FunctionWindowFactory(code), code);
    EXPECT_EQ(printed, (QStringList{u"读者类别设置:教师,10,60,,"_s,
                                    u"借阅规章制度:,借书须知,,2026-12-11,Admin"_s}));
    ASSERT_EQ(exported.size(), 2);
    EXPECT_TRUE(exported[0].contains(u"<td>教师</td>"_s)) << exported[0].toStdString();
    EXPECT_TRUE(exported[1].contains(u"<td>借书须知</td>"_s)) << exported[1].toStdString();

    loginAs(u"lib09"_s);
    OpenAccTable();
    colleague = true;
    for (const Schema::FunctionInfo &f : Schema::Functions())
        EXPECT_EQ(FunRightText(f.code), f.code == 22 || f.code == 23 ? u"有权限"_s : u"无权限"_s) << f.code;
    for (int code : {22, 23})
        OpenFunctionWindow(FunctionWindowFactory(code), code);
    EXPECT_EQ(hidden, (QStringList{u"ReaderCateForm.ActionPrint"_s, u"ReaderCateForm.ActionExport"_s,
                                   u"BylawForm.ActionPrint"_s, u"BylawForm.ActionExport"_s}));
    EXPECT_EQ(OpenFunctionWindow(FunctionWindowFactory(51), 51), int(QDialog::Rejected));

    loginAs(u"Admin"_s);
    OpenAccTable();
    colleague = false;
    OpenFunctionWindow(FunctionWindowFactory(53), 53);
    const QStringList admin{
        u"用户授权设置|打开"_s, u"用户信息维护|打开"_s, u"用户信息维护|关闭"_s, u"用户授权|打开"_s,
        u"用户授权|关闭"_s, u"用户授权设置|关闭"_s, u"读者类别设置|打开"_s, u"读者类别修改|打开"_s,
        u"读者类别修改|关闭"_s, u"读者类别设置|关闭"_s, u"借阅规章制度|打开"_s, u"规章制度修改|打开"_s,
        u"规章制度修改|关闭"_s, u"借阅规章制度|关闭"_s};
    QStringList expected;
    for (const QString &e : admin)
        expected.append(e + u"|Admin|管理员"_s);
    expected << u"读者类别设置|打开|lib09|新用户"_s << u"读者类别设置|关闭|lib09|新用户"_s
             << u"借阅规章制度|打开|lib09|新用户"_s << u"借阅规章制度|关闭|lib09|新用户"_s
             << u"操作日志管理|打开|Admin|管理员"_s << u"操作日志管理|关闭|Admin|管理员"_s;
    EXPECT_EQ(logEntries(), expected);
    // The window reads the log before its own opening is written.
    QStringList listed;
    for (const QString &e : expected.mid(0, expected.size() - 2))
        listed.append(e.section(u'|', 0, 1));
    EXPECT_EQ(logShown, listed);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, UserFormTest, BothKinds, KindName);

} // namespace
