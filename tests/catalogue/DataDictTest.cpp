// The data dictionary: its categories, the choice lists it feeds, and the
// dictionary window with its editor, on both kinds of database.

#include "shell/ShellFixture.h"

#include "catalogue/DataDictEditFrm.h"
#include "catalogue/DataDictFrm.h"
#include "catalogue/DictCombos.h"
#include "data/DataDict.h"
#include "forms/DBControls.h"
#include "forms/DataGrid.h"
#include "shell/FunctionWindows.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class DataDictTest : public ShellTest
{
protected:
    void addItem(int cate, int code, const QString &name)
    {
        exec(u"INSERT INTO Items_tab(ItemCate,ItemCode,ItemName)VALUES(%1,%2,%3)"_s.arg(cate).arg(code).arg(
            QuotedStr(name)));
    }

    // The items of a category as "code:name", in ItemCode, then ItemID order.
    QStringList itemsOf(int cate)
    {
        QStringList out;
        QSqlQuery q = db->conn().Select(
            u"SELECT ItemCode,ItemName FROM Items_tab WHERE ItemCate=%1 ORDER BY ItemCode,ItemID"_s.arg(cate));
        while (q.next())
            out.append(q.value(0).toString() + u':' + q.value(1).toString());
        return out;
    }

    // The item names the grid shows, top to bottom.
    static QStringList gridNames(TDataDictForm &form)
    {
        QStringList out;
        TDataGrid *grid = form.DataDictGrid;
        const int col = grid->ColumnOf(u"ItemName"_s);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out.append(grid->model()->index(r, col).data().toString());
        return out;
    }
};

TEST(DictCategoriesTest, ElevenCategoriesByPosition)
{
    ASSERT_EQ(DictCategoryCount(), 11);
    const QList<std::tuple<QString, int, QString>> cases{
        {u"CorpName"_s, 0, u"工作单位"_s},  {u"DeptName"_s, 1, u"所在部门"_s},
        {u"deptname"_s, 1, u"所在部门"_s},  {u"BookPos"_s, 4, u"书刊架位"_s},
        {u"EditionTime"_s, 10, u"出版版次"_s}, {u"Dept"_s, -1, QString()},
        {QString(), -1, QString()},
    };
    for (const auto &[field, cate, label] : cases) {
        EXPECT_EQ(DictCategoryOf(field), cate) << field.toStdString();
        EXPECT_EQ(DictCategoryLabel(cate), label) << field.toStdString();
    }
}

TEST_P(DataDictTest, ItemsLoadInCodeOrderPerCategory)
{
    addItem(1, 30, u"财务处"_s);
    addItem(1, 10, u"办公室"_s);
    addItem(1, 20, u"图书馆"_s);
    addItem(1, 10, u"教务处"_s);  // equal code: after 办公室, added earlier
    exec(u"INSERT INTO Items_tab(ItemCate,ItemName)VALUES(1,'总务处')"_s);  // no code: first on both kinds
    addItem(0, 5, u"第一中学"_s);
    addItem(2, 1, u"O'Neil's 图书"_s);

    const QList<std::pair<QString, QStringList>> cases{
        {u"DeptName"_s, {u"总务处"_s, u"办公室"_s, u"教务处"_s, u"图书馆"_s, u"财务处"_s}},
        {u"CORPNAME"_s, {u"第一中学"_s}},
        {u"BookType"_s, {u"O'Neil's 图书"_s}},
        {u"BookRoom"_s, {}},
        {u"NoSuchField"_s, {}},
    };
    for (const auto &[field, expected] : cases) {
        QStringList list{u"stale"_s};
        LoadDictItems(field, list);
        EXPECT_EQ(list, expected) << field.toStdString();
    }
}

TEST_P(DataDictTest, FillDictCombosFillsOnlyDictionaryBoxesOnThePage)
{
    addItem(1, 1, u"办公室"_s);
    addItem(2, 1, u"图书"_s);
    addItem(2, 2, u"期刊"_s);
    dm->ReadersQuery->Open();
    QWidget page;
    auto *dept = new TDBComboBox(dm->ReadersQuery, u"DeptName"_s, &page);
    auto *name = new TDBComboBox(dm->ReadersQuery, u"ReaderName"_s, &page);
    auto *inner = new QWidget(&page);
    auto *nested = new TDBComboBox(dm->ReadersQuery, u"CorpName"_s, inner);
    auto *type = new TDBComboBox(dm->BooksQuery, u"BookType"_s, &page);

    FillDictCombos(&page);
    const auto items = [](QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out.append(box->itemText(i));
        return out;
    };
    EXPECT_EQ(items(dept), QStringList{u"办公室"_s});
    EXPECT_EQ(items(type), (QStringList{u"图书"_s, u"期刊"_s}));
    EXPECT_EQ(items(name), QStringList());
    EXPECT_EQ(items(nested), QStringList());  // not placed directly on the page

    // The lists are filled once: a later item waits for the next filling.
    addItem(1, 2, u"阅览室"_s);
    EXPECT_EQ(items(dept), QStringList{u"办公室"_s});
    FillDictCombo(dept);
    EXPECT_EQ(items(dept), (QStringList{u"办公室"_s, u"阅览室"_s}));
}

TEST_P(DataDictTest, WindowListsTheChosenCategoryAndAllWithoutOne)
{
    addItem(0, 2, u"第二中学"_s);
    addItem(0, 1, u"第一中学"_s);
    addItem(3, 1, u"一号书库"_s);
    RegisterFunctionWindows();
    std::unique_ptr<QWidget> made(FunctionWindowFactory(51)());
    auto *form = qobject_cast<TDataDictForm *>(made.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"数据字典维护"_s);
    EXPECT_EQ(form->CateView->topLevelItemCount(), 11);
    EXPECT_EQ(form->SelectedCategory(), 0);
    EXPECT_EQ(gridNames(*form), (QStringList{u"第一中学"_s, u"第二中学"_s}));
    EXPECT_TRUE(form->StatusText().isEmpty());

    form->SelectCategory(3);
    EXPECT_EQ(gridNames(*form), QStringList{u"一号书库"_s});
    form->SelectCategory(10);
    EXPECT_TRUE(gridNames(*form).isEmpty());
    EXPECT_FALSE(form->DataDictMod->isEnabled());
    form->DataDictModExecute();  // nothing to modify: no editor, no message

    // A click into the empty area of the category list chooses none: every
    // item, and adding asks for a category.
    form->resize(800, 700);
    form->show();
    QTest::mouseClick(form->CateView->viewport(), Qt::LeftButton, {},
                      QPoint(10, form->CateView->viewport()->height() - 5));
    EXPECT_EQ(form->SelectedCategory(), -1);
    EXPECT_EQ(gridNames(*form), (QStringList{u"第一中学"_s, u"一号书库"_s, u"第二中学"_s}));
    TMessageRecorder messages;
    form->DataDictAdd->trigger();
    EXPECT_EQ(messages.texts(), QStringList{u"请先选择字典类别，再执行该功能。"_s});
    EXPECT_EQ(messages.shown.value(0).kind, TMessageKind::Info);
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Items_tab"_s), u"3"_s);

    form->reject();  // how the window's close ends
    EXPECT_FALSE(dm->ItemsQuery->Active());
}

TEST_P(DataDictTest, AddModifyAndDeleteThroughTheEditor)
{
    addItem(1, 5, u"办公室"_s);
    TDataDictForm form;
    form.SelectCategory(1);

    // Add: an empty name is refused and the editor stays; then saved with
    // the category of the list and a code equal to an existing one.
    TMessageRecorder messages;
    int opened = 0;
    TModalAnswer answer([&](QDialog &d) {
        auto &editor = static_cast<TDataDictEditForm &>(d);
        ++opened;
        EXPECT_EQ(editor.windowTitle(), u"项目修改"_s);
        editor.EditItemCode->setText(u"5"_s);
        editor.BtnSave->click();
        EXPECT_EQ(editor.result(), QDialog::Rejected);
        editor.EditItemName->setText(u"办公室"_s);
        editor.BtnSave->click();
        return editor.result();
    });
    form.DataDictAdd->trigger();
    EXPECT_EQ(messages.texts(), QStringList{u"项目名称不能为空。"_s});
    EXPECT_EQ(itemsOf(1), (QStringList{u"5:办公室"_s, u"5:办公室"_s}));
    EXPECT_EQ(gridNames(form), (QStringList{u"办公室"_s, u"办公室"_s}));

    // Modify the current row; cancelling another edit leaves no trace.
    {
        TModalAnswer rename([&](QDialog &d) {
            auto &editor = static_cast<TDataDictEditForm &>(d);
            EXPECT_EQ(editor.EditItemName->text(), u"办公室"_s);
            editor.EditItemName->setText(u"校长办公室"_s);
            editor.BtnSave->click();
            return editor.result();
        });
        dm->ItemsQuery->First();
        form.DataDictMod->trigger();
    }
    {
        TModalAnswer cancel([&](QDialog &d) {
            auto &editor = static_cast<TDataDictEditForm &>(d);
            editor.EditItemName->setText(u"不保存"_s);
            editor.UpdateRecords();
            editor.BtnCancel->click();
            return editor.result();
        });
        form.DataDictMod->trigger();
    }
    EXPECT_EQ(itemsOf(1), (QStringList{u"5:校长办公室"_s, u"5:办公室"_s}));
    EXPECT_EQ(dm->ItemsQuery->State(), TDataSetState::Browse);

    // Delete asks first; Cancel keeps the row.
    messages.confirmAnswer = false;
    form.DataDictDel->trigger();
    EXPECT_EQ(itemsOf(1).size(), 2);
    messages.confirmAnswer = true;
    form.DataDictDel->trigger();
    EXPECT_EQ(messages.texts().mid(1),
              (QStringList{u"确定要删除此条记录吗?"_s, u"确定要删除此条记录吗?"_s}));
    EXPECT_EQ(itemsOf(1), QStringList{u"5:办公室"_s});
    EXPECT_EQ(logEntries().filter(u"项目修改|"_s).size(), 6);  // three openings, three closings
}

TEST_P(DataDictTest, EditorKeysMoveOnAndSave)
{
    TDataDictForm form;
    form.SelectCategory(2);
    dm->ItemsQuery->Append();
    dm->ItemsQuery->FieldByName(u"ItemCate"_s)->SetValue(2);
    TDataDictEditForm editor;
    // Each mnemonic of the dialog leads to one control.
    QStringList mnemonics;
    for (const QWidget *w : editor.findChildren<QWidget *>()) {
        const QString text = qobject_cast<const QLabel *>(w) ? static_cast<const QLabel *>(w)->text()
                             : qobject_cast<const QPushButton *>(w) ? static_cast<const QPushButton *>(w)->text()
                                                                    : QString();
        const qsizetype amp = text.indexOf(u'&');
        if (amp >= 0 && amp + 1 < text.size())
            mnemonics.append(text.at(amp + 1).toUpper());
    }
    EXPECT_EQ(mnemonics.size(), 5);
    EXPECT_EQ(mnemonics.removeDuplicates(), 0) << mnemonics.join(u' ').toStdString();
    editor.show();
    QApplication::setActiveWindow(&editor);
    editor.EditItemCode->setFocus();
    QTest::keyClicks(editor.EditItemCode, u"7"_s);
    QTest::keyClick(editor.EditItemCode, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), editor.EditItemName);
    editor.EditItemName->setText(u"期刊"_s);
    QTest::keyClick(editor.EditItemName, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(itemsOf(2), QStringList{u"7:期刊"_s});
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DataDictTest, BothKinds, KindName);

} // namespace
