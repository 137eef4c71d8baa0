// Lending regulations: the list window, its editor with "保存后新增" and
// the text box's keys, on both kinds of database.

#include "shell/ShellFixture.h"

#include "circulation/BylawEditFrm.h"
#include "circulation/BylawFrm.h"
#include "circulation/BylawRules.h"
#include "forms/DBControls.h"
#include "forms/DataGrid.h"
#include "shell/FunctionWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace {

class BylawTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        CurrentUser().UserCode = u"lib01"_s;
    }
    void addBylaw(int sortCode, const QString &title, const QString &content)
    {
        exec(u"INSERT INTO Bylaw_tab(SortCode,BylawTitle,BylawContent)VALUES(%1,%2,%3)"_s.arg(sortCode).arg(
            QuotedStr(title), QuotedStr(content)));
    }
    // Every regulation as "sort|title|content|regdate|operator", in key order.
    QStringList bylaws()
    {
        QStringList out;
        QSqlQuery q = db->conn().Select(
            u"SELECT SortCode,BylawTitle,BylawContent,RegDate,Operator FROM Bylaw_tab ORDER BY BylawID"_s);
        const auto text = [&q](int i) {
            return q.isNull(i) ? QString() : q.value(i).toString().left(10);
        };
        while (q.next())
            out.append(QStringList{text(0), text(1), q.value(2).toString(), text(3), text(4)}.join(u'|'));
        return out;
    }
};

TEST_P(BylawTest, EditorRefusesEmptyAndDuplicateTitlesAndEmptyTexts)
{
    addBylaw(1, u"借书须知"_s, u"凭证借书。"_s);
    TBylawForm form;
    TMessageRecorder messages;
    TModalAnswer answer([&](QDialog &d) {
        auto &editor = static_cast<TBylawEditForm &>(d);
        EXPECT_EQ(editor.windowTitle(), u"规章制度修改"_s);
        const QList<std::pair<QString, QString>> tries{
            {u""_s, u"内容"_s}, {u"借书须知"_s, u"内容"_s}, {u"阅览室规则"_s, u""_s},
            {u"阅览室规则"_s, u"保持安静。\n不得带入食物。"_s}};
        for (const auto &[title, content] : tries) {
            editor.EditBylawTitle->setText(title);
            editor.MemoBylawContent->setPlainText(content);
            editor.BtnSave->click();
        }
        return editor.result();
    });
    form.BylawAdd->trigger();
    EXPECT_EQ(messages.texts(), (QStringList{u"规章制度标题不能为空。"_s, u"您输入的规章制度标题已存在。"_s,
                                             u"规章制度内容不能为空。"_s}));
    EXPECT_EQ(bylaws(), (QStringList{u"1|借书须知|凭证借书。||"_s,
                                     u"|阅览室规则|保持安静。\n不得带入食物。|2026-12-11|lib01"_s}));

    // The same title saved again on its own row is no duplicate.
    messages.shown.clear();
    TModalAnswer again([&](QDialog &d) {
        auto &editor = static_cast<TBylawEditForm &>(d);
        editor.EditSortCode->setText(u"2"_s);
        editor.BtnSave->click();
        return editor.result();
    });
    ASSERT_TRUE(dm->BylawQuery->Locate(u"BylawTitle"_s, u"借书须知"_s));
    form.BylawMod->trigger();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(bylaws().value(0), u"2|借书须知|凭证借书。||"_s);
}

TEST_P(BylawTest, SaveAndAddKeepsTheDialogOpenOnAFilledFreshRow)
{
    TBylawForm form;
    TModalAnswer answer([&](QDialog &d) {
        auto &editor = static_cast<TBylawEditForm &>(d);
        editor.ChkAddNew->setChecked(true);
        for (const QString &title : {u"第一条"_s, u"第二条"_s}) {
            editor.EditBylawTitle->setText(title);
            editor.MemoBylawContent->setPlainText(title + u"内容"_s);
            editor.BtnSave->click();
            EXPECT_EQ(editor.result(), QDialog::Rejected) << "the dialog stays open";
            EXPECT_EQ(dm->BylawQuery->State(), TDataSetState::Insert);
            EXPECT_TRUE(editor.EditBylawTitle->text().isEmpty());
            EXPECT_EQ(dm->BylawQuery->FieldByName(u"Operator"_s)->AsString(), u"lib01"_s);
            EXPECT_EQ(dm->BylawQuery->FieldByName(u"RegDate"_s)->AsDate(), QDate(2026, 12, 11));
        }
        editor.BtnCancel->click();
        return editor.result();
    });
    form.BylawAdd->trigger();
    EXPECT_EQ(bylaws(), (QStringList{u"|第一条|第一条内容|2026-12-11|lib01"_s,
                                     u"|第二条|第二条内容|2026-12-11|lib01"_s}));
    EXPECT_EQ(dm->BylawQuery->State(), TDataSetState::Browse);
    EXPECT_EQ(form.StatusText(), u"共有记录：2 条"_s);
}

TEST_P(BylawTest, EnterMakesANewLineOnlyInTheText)
{
    TBylawForm form;
    dm->BylawQuery->Append();
    TBylawEditForm editor;
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.EditSortCode->setFocus();
    QTest::keyClicks(editor.EditSortCode, u"3"_s);
    QTest::keyClick(editor.EditSortCode, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), editor.EditBylawTitle);
    editor.EditBylawTitle->setText(u"Rules"_s);
    editor.MemoBylawContent->setFocus();
    QTest::keyClicks(editor.MemoBylawContent, u"a"_s);
    QTest::keyClick(editor.MemoBylawContent, Qt::Key_Return);
    QTest::keyClicks(editor.MemoBylawContent, u"b"_s);
    EXPECT_EQ(QApplication::focusWidget(), editor.MemoBylawContent);
    QTest::keyClick(editor.MemoBylawContent, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(bylaws(), QStringList{u"3|Rules|a\nb|2026-12-11|lib01"_s});
}

TEST_P(BylawTest, DeleteAsksAndTheWindowIsRegistered)
{
    addBylaw(2, u"乙"_s, u"二"_s);
    addBylaw(1, u"甲"_s, u"一"_s);
    RegisterFunctionWindows();
    std::unique_ptr<QWidget> window(FunctionWindowFactory(23)());
    auto *form = qobject_cast<TBylawForm *>(window.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"借阅规章制度"_s);
    QStringList titles;
    for (int c : form->BylawGrid->VisualColumns())
        if (form->BylawGrid->ColumnVisible(c))
            titles.append(form->BylawGrid->ColumnCaption(c));
    EXPECT_EQ(titles, (QStringList{u"排序代码"_s, u"规章制度标题"_s, u"备注"_s, u"登记日期"_s, u"操作员"_s}));

    for (bool answer : {false, true}) {
        TMessageRecorder messages(answer);
        ASSERT_TRUE(dm->BylawQuery->Locate(u"BylawTitle"_s, u"乙"_s));
        form->BylawDel->trigger();
        EXPECT_EQ(messages.texts(), QStringList{u"确定要删除该借阅规章制度吗？"_s});
    }
    EXPECT_EQ(bylaws(), QStringList{u"1|甲|一||"_s});
    EXPECT_EQ(BylawFindFields(), u"SortCode;BylawTitle;BylawContent;Memo;RegDate;Operator"_s);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, BylawTest, BothKinds, KindName);

} // namespace
