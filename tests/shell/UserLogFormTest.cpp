// The operation log window: today's entries by the database's date, and a
// search that replaces the today filter, on both kinds of database.

#include "ShellFixture.h"

#include "data/UserLogRules.h"
#include "forms/DataGrid.h"
#include "forms/QLDBFilterFrm.h"
#include "shell/FunctionWindow.h"
#include "shell/FunctionWindows.h"
#include "shell/UserLogFrm.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class UserLogFormTest : public ShellTest
{
protected:
    void addEntry(const QString &date, const QString &time, const QString &user, const QString &win)
    {
        exec(u"INSERT INTO UserLog_tab(LogDate,LogTime,WinName,OperateContent,ComputerName,UserCode,UserName)"
             "VALUES(%1,%2,%3,'打开','pc1',%4,'某人')"_s.arg(QuotedStr(date), QuotedStr(time), QuotedStr(win),
                                                          QuotedStr(user)));
    }
    // The windows of the listed entries, top to bottom.
    static QStringList shownWindows(TUserLogForm &form)
    {
        QStringList out;
        TDataSet *log = form.UserLogGrid->DataSet();
        for (log->First(); !log->Eof(); log->Next())
            out.append(log->FieldByName(u"WinName"_s)->AsString());
        return out;
    }
};

TEST_P(UserLogFormTest, OpensOnTodayByTheDatabaseDateAndFindReplacesIt)
{
    SetServerNowOverride(QDateTime(QDate(2026, 12, 11), QTime(0, 0, 5)));
    addEntry(u"2026-12-10"_s, u"23:59:59"_s, u"lib02"_s, u"昨晚"_s);
    addEntry(u"2026-12-11"_s, u"00:00:01"_s, u"lib01"_s, u"今晨"_s);
    addEntry(u"2026-12-11"_s, u"00:00:03"_s, u"lib02"_s, u"今晨二"_s);
    RegisterFunctionWindows();
    std::unique_ptr<QWidget> window(FunctionWindowFactory(53)());
    auto *form = qobject_cast<TUserLogForm *>(window.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"操作日志管理"_s);
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(shownWindows(*form), (QStringList{u"今晨"_s, u"今晨二"_s}));
    EXPECT_EQ(form->StatusText(), u"共有记录：2 条"_s);
    EXPECT_TRUE(form->UserLogGrid->FilterRowVisible());
    QStringList titles;  // every field, its key included
    for (int c : form->UserLogGrid->VisualColumns())
        if (form->UserLogGrid->ColumnVisible(c))
            titles.append(form->UserLogGrid->ColumnCaption(c));
    EXPECT_EQ(titles, (QStringList{u"序号"_s, u"操作日期"_s, u"操作时间"_s, u"窗口名称"_s, u"操作内容"_s,
                                   u"机器名称"_s, u"登录代号"_s, u"真实姓名"_s, u"备注"_s}));

    // The filter row narrows what is listed: today's entries of one user.
    form->UserLogGrid->SetFilterText(u"UserCode"_s, u"lib02"_s);
    ASSERT_TRUE(form->UserLogGrid->ApplyFilterRow());
    EXPECT_EQ(shownWindows(*form), QStringList{u"今晨二"_s});
    form->UserLogGrid->ClearFilterRow();

    // A search for one user's entries covers every day.
    TModalAnswer answer([](QDialog &d) {
        auto &f = dynamic_cast<TQLDBFilterForm &>(d);
        EXPECT_EQ(f.cbFields->count(), 9);
        f.cbFields->setCurrentIndex(f.cbFields->findText(u"登录代号"_s));
        f.edtValue->setText(u"lib02"_s);
        f.AddToList();
        f.btnOK->click();
        return f.result();
    });
    form->UserLogFind->trigger();
    EXPECT_FALSE(form->UserLogGrid->DataSet()->SQL().contains(u"LogDate="_s));
    EXPECT_EQ(shownWindows(*form), (QStringList{u"昨晚"_s, u"今晨二"_s}));
}

TEST_P(UserLogFormTest, ChangesNothingAndLogsItsOwnOpening)
{
    TUserLogForm form;
    for (QAction *action : form.findChildren<QAction *>())
        EXPECT_NE(action->property("rightTag").toInt(), 1) << action->objectName().toStdString();
    EXPECT_TRUE(form.UserLogGrid->DataSet()->ReadOnly());
    EXPECT_EQ(form.UserLogGrid->ModifyAction(), nullptr);

    // Opened as a function: its opening and closing go into the log.
    TModalAnswer answer([](QDialog &) { return int(QDialog::Rejected); });
    CurrentUser().UserCode = u"Admin"_s;
    OpenFunctionWindow(MakeWindowFactory<TUserLogForm>(), 53);
    EXPECT_EQ(logEntries().filter(u"操作日志管理|"_s).size(), 2);
    EXPECT_EQ(UserLogTodaySQL(), UserLogBaseSQL() + u" AND LogDate='2026-12-11'"_s);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, UserLogFormTest, BothKinds, KindName);

} // namespace
