// Reader categories: the list window, its editor and the deletion rule, on
// both kinds of database.

#include "shell/ShellFixture.h"

#include "forms/DBControls.h"
#include "forms/DataGrid.h"
#include "readers/ReaderCateEditFrm.h"
#include "readers/ReaderCateFrm.h"
#include "readers/ReaderCateRules.h"
#include "shell/FunctionWindows.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class ReaderCateTest : public ShellTest
{
protected:
    int addCate(const QString &name, const QString &limits = u"5,30,1,15"_s)
    {
        exec(u"INSERT INTO ReaderCate_tab(ReaderCateName,LimitBooksCount,LimitDays,ReLoanTimes,ReLoanDays)"
             "VALUES(%1,%2)"_s.arg(QuotedStr(name), limits));
        return single(u"SELECT ReaderCateID FROM ReaderCate_tab WHERE ReaderCateName="_s + QuotedStr(name))
            .toInt();
    }
    void addReader(const QString &name, int cateID)
    {
        exec(u"INSERT INTO Readers_tab(ReaderName,ReaderCateID)VALUES(%1,%2)"_s.arg(QuotedStr(name)).arg(cateID));
    }
    // Every category as "name:books,days,times,renewal days" (empty for NULL).
    QStringList cates()
    {
        QStringList out;
        QSqlQuery q = db->conn().Select(
            u"SELECT ReaderCateName,LimitBooksCount,LimitDays,ReLoanTimes,ReLoanDays FROM ReaderCate_tab "
            "ORDER BY ReaderCateID"_s);
        const auto text = [&q](int i) { return q.isNull(i) ? QString() : q.value(i).toString(); };
        while (q.next())
            out.append(text(0) + u':' + text(1) + u',' + text(2) + u',' + text(3) + u',' + text(4));
        return out;
    }
    bool locate(const QString &name)
    {
        return dm->ReaderCateQuery->Locate(u"ReaderCateName"_s, name);
    }
};

TEST_P(ReaderCateTest, DeleteRefusesACategoryInUseAndAsksOtherwise)
{
    const int teachers = addCate(u"教师"_s);
    addCate(u"学生"_s);
    addReader(u"张老师"_s, teachers);
    TReaderCateForm form;
    EXPECT_EQ(form.StatusText(), u"共有记录：2 条"_s);

    struct Case {
        QString cate;
        bool answer;
        QStringList messages;
        QStringList remaining;
    };
    const QList<Case> cases{
        {u"教师"_s, true, {u"该读者类别正在使用中，不能删除。"_s}, {u"教师:5,30,1,15"_s, u"学生:5,30,1,15"_s}},
        {u"学生"_s, false, {u"确定要删除该读者类别吗？"_s}, {u"教师:5,30,1,15"_s, u"学生:5,30,1,15"_s}},
        {u"学生"_s, true, {u"确定要删除该读者类别吗？"_s}, {u"教师:5,30,1,15"_s}},
    };
    for (const Case &c : cases) {
        TMessageRecorder messages(c.answer);
        ASSERT_TRUE(locate(c.cate));
        form.ReaderCateDel->trigger();
        EXPECT_EQ(messages.texts(), c.messages) << c.cate.toStdString();
        EXPECT_EQ(cates(), c.remaining) << c.cate.toStdString();
    }
    EXPECT_EQ(form.StatusText(), u"共有记录：1 条"_s);
}

TEST_P(ReaderCateTest, EditorChecksNameAndKeepsEmptyLimitsEmpty)
{
    addCate(u"教师"_s);
    TReaderCateForm form;

    // Typed one by one: an empty name, a taken name, letters in a number,
    // a number beyond 16 bits (SQLite would keep it, PostgreSQL refuse it),
    // a negative limit; then a name with no limits.
    TMessageRecorder messages;
    TModalAnswer answer([&](QDialog &d) {
        auto &editor = static_cast<TReaderCateEditForm &>(d);
        EXPECT_EQ(editor.windowTitle(), u"读者类别修改"_s);
        for (const auto &[name, books] : QList<std::pair<QString, QString>>{
                 {u""_s, u""_s}, {u"教师"_s, u""_s}, {u"研究生"_s, u"五"_s}, {u"研究生"_s, u"70000"_s},
                 {u"研究生"_s, u"-3"_s}, {u"研究生"_s, u""_s}}) {
            editor.EditReaderCateName->setText(name);
            editor.EditLimitBooksCount->setText(books);
            editor.BtnSave->click();
        }
        return editor.result();
    });
    form.ReaderCateAdd->trigger();
    ASSERT_EQ(messages.shown.size(), 5);
    EXPECT_EQ(messages.shown[0].text, u"读者类别名称不能为空。"_s);
    EXPECT_EQ(messages.shown[1].text, u"您输入的读者类别名称已存在。"_s);
    EXPECT_EQ(messages.shown[2].kind, TMessageKind::Error);
    EXPECT_TRUE(messages.shown[2].text.contains(u"可借书数"_s)) << messages.shown[2].text.toStdString();
    EXPECT_EQ(messages.shown[3].text, u"“可借书数”必须是 -32768 到 32767 之间的整数：70000"_s);
    EXPECT_EQ(messages.shown[4].text, u"可借书数不能是负数。"_s);
    EXPECT_EQ(cates(), (QStringList{u"教师:5,30,1,15"_s, u"研究生:,,,"_s}));
    EXPECT_EQ(form.StatusText(), u"共有记录：2 条"_s);
}

TEST_P(ReaderCateTest, RenamingToItsOwnNameIsAcceptedAndCancelLeavesNoTrace)
{
    addCate(u"教师"_s);
    addCate(u"学生"_s);
    TReaderCateForm form;
    TMessageRecorder messages;
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &editor = static_cast<TReaderCateEditForm &>(d);
            EXPECT_EQ(editor.EditReaderCateName->text(), u"学生"_s);
            editor.EditLimitDays->setText(u"14"_s);
            editor.BtnSave->click();
            return editor.result();
        });
        ASSERT_TRUE(locate(u"学生"_s));
        form.ReaderCateMod->trigger();
    }
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &editor = static_cast<TReaderCateEditForm &>(d);
            editor.EditReaderCateName->setText(u"本科生"_s);
            editor.UpdateRecords();
            return int(QDialog::Rejected);  // Esc
        });
        form.ReaderCateMod->trigger();
    }
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(cates(), (QStringList{u"教师:5,30,1,15"_s, u"学生:5,14,1,15"_s}));
    EXPECT_EQ(dm->ReaderCateQuery->FieldByName(u"ReaderCateName"_s)->AsString(), u"学生"_s);
}

TEST_P(ReaderCateTest, EditorKeysAndTheEmptyList)
{
    TReaderCateForm form;
    EXPECT_FALSE(form.ReaderCateMod->isEnabled());
    EXPECT_FALSE(form.ReaderCateDel->isEnabled());
    form.ReaderCateMod->trigger();  // no rows: nothing opens

    dm->ReaderCateQuery->Append();
    TReaderCateEditForm editor;
    editor.show();
    QApplication::setActiveWindow(&editor);
    // A failed check leaves the dialog open with the focus on its field.
    editor.EditLimitDays->setFocus();
    {
        TMessageRecorder messages;
        QTest::keyClick(editor.EditLimitDays, Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(messages.texts(), QStringList{u"读者类别名称不能为空。"_s});
    }
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(QApplication::focusWidget(), editor.EditReaderCateName);
    editor.EditReaderCateName->setText(u"访客"_s);
    QTest::keyClick(editor.EditReaderCateName, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), editor.EditLimitBooksCount);
    QTest::keyClicks(editor.EditLimitBooksCount, u"2"_s);
    QTest::keyClick(editor.EditLimitBooksCount, Qt::Key_Enter, Qt::AltModifier);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(cates(), QStringList{u"访客:2,,,"_s});
}

TEST_P(ReaderCateTest, RegisteredUnderItsFunctionCode)
{
    RegisterFunctionWindows();
    std::unique_ptr<QWidget> window(FunctionWindowFactory(22)());
    auto *form = qobject_cast<TReaderCateForm *>(window.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"读者类别设置"_s);
    EXPECT_EQ(form->HelpKeyword(), u"ReaderCate.html"_s);
    QStringList titles;
    for (int c : form->ReaderCateGrid->VisualColumns())
        if (form->ReaderCateGrid->ColumnVisible(c))
            titles.append(form->ReaderCateGrid->ColumnCaption(c));
    EXPECT_EQ(titles, (QStringList{u"读者类别名称"_s, u"可借书数"_s, u"可借天数"_s, u"可续借次数"_s,
                                   u"每次可续借天数"_s}));
    EXPECT_EQ(ReaderCateFindFields(), u"ReaderCateName;LimitBooksCount;LimitDays;ReLoanTimes;ReLoanDays"_s);

    // Print and export work on this grid, titled with the caption.
    QStringList printTitles;
    TModalAnswer answer([&](QDialog &d) {
        printTitles.append(d.findChild<QLineEdit *>(u"EditTitle"_s)->text());
        return int(QDialog::Rejected);
    });
    form->ActionPrint->trigger();
    form->ActionExport->trigger();
    EXPECT_EQ(printTitles, (QStringList{u"读者类别设置"_s, u"读者类别设置"_s}));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ReaderCateTest, BothKinds, KindName);

} // namespace
