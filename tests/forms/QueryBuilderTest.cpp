// The query builder: the condition text of every operator and field type,
// values that try to break out of their literal, the number check, and the
// dialog driven as a user would.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "forms/QLDBFilterFrm.h"
#include "forms/QLDBFlt.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using Schema::Column;
using Schema::ColumnType;

namespace {

// Fields of every kind, on a dataset that is never opened.
class FieldSet
{
public:
    FieldSet() : ds(conn, u"TestQuery"_s)
    {
        ds.SetPersistentFields({
            column(u"BookName"_s, ColumnType::String, u"书刊名称"_s),
            column(u"TotalCount"_s, ColumnType::Integer, u"总册数"_s),
            column(u"BookPrice"_s, ColumnType::Money, u"书刊定价"_s),
            column(u"RegDate"_s, ColumnType::Date, u"登记日期"_s),
            column(u"Sex"_s, ColumnType::Boolean, u"性别"_s),
            column(u"ContentIntro"_s, ColumnType::Memo, u"内容简介"_s),
            column(u"Photo"_s, ColumnType::Blob, u"照片"_s),
            column(u"ReaderID"_s, ColumnType::Key, u"读者序号"_s),
        });
    }
    const TField *f(const QString &name) const { return ds.FieldByName(name); }

    TDurEzeConn conn;
    TDataSet ds;
};

TEST(BuildFilter, EveryOperatorAndFieldType)
{
    FieldSet fs;
    struct Case {
        QList<QPair<QString, QString>> lines;  // field, line
        QString sql;
    };
    const QList<Case> cases{
        {{}, u" 1=1 "_s},
        // Every operator on a text field.
        {{{u"BookName"_s, u"0;0;计算机"_s}}, u"BookName = '计算机'"_s},
        {{{u"BookName"_s, u"0;1;计算机"_s}}, u"BookName <> '计算机'"_s},
        {{{u"BookName"_s, u"0;2;计算机"_s}}, u"BookName >'计算机'"_s},
        {{{u"BookName"_s, u"0;3;计算机"_s}}, u"BookName >= '计算机'"_s},
        {{{u"BookName"_s, u"0;4;计算机"_s}}, u"BookName < '计算机'"_s},
        {{{u"BookName"_s, u"0;5;计算机"_s}}, u"BookName <= '计算机'"_s},
        {{{u"BookName"_s, u"0;6;计算机"_s}}, u"BookName LIKE '计算机%'"_s},
        {{{u"BookName"_s, u"0;7;计算机"_s}}, u"BookName NOT LIKE '计算机%'"_s},
        {{{u"BookName"_s, u"0;8;计算机"_s}}, u"BookName LIKE '%计算机'"_s},
        {{{u"BookName"_s, u"0;9;计算机"_s}}, u"BookName NOT LIKE '%计算机'"_s},
        {{{u"BookName"_s, u"0;10;计算机"_s}}, u"BookName LIKE '%计算机%'"_s},
        {{{u"BookName"_s, u"0;11;计算机"_s}}, u"BookName NOT LIKE '%计算机%'"_s},
        {{{u"ContentIntro"_s, u"0;10;历史"_s}}, u"ContentIntro LIKE '%历史%'"_s},
        // Numbers go in as typed, without a space after ">".
        {{{u"TotalCount"_s, u"0;2;5"_s}}, u"TotalCount >5"_s},
        {{{u"BookPrice"_s, u"0;5;12.5"_s}}, u"BookPrice <= 12.5"_s},
        {{{u"ReaderID"_s, u"0;0;0"_s}}, u"ReaderID = 0"_s},
        // A number field's value that is no number (not made by the dialog)
        // only ever becomes a literal.
        {{{u"TotalCount"_s, u"0;0;5 OR 1=1"_s}}, u"TotalCount = '5 OR 1=1'"_s},
        // Dates in the program's short date format, quoted.
        {{{u"RegDate"_s, u"0;0;2009-05-01"_s}}, u"RegDate = '2009-05-01'"_s},
        {{{u"RegDate"_s, u"0;3;2009-05-01"_s}}, u"RegDate >= '2009-05-01'"_s},
        // Booleans.
        {{{u"Sex"_s, u"0;0;是"_s}}, u"Sex = 1"_s},
        {{{u"Sex"_s, u"0;0;否"_s}}, u"Sex = 0"_s},
        {{{u"Sex"_s, u"0;1;是"_s}}, u"Sex <> 1"_s},
        {{{u"Photo"_s, u"0;0;x"_s}}, u"Photo = 'x'"_s},
        // The worked example, and AND joiners; the first joiner is never used.
        {{{u"BookName"_s, u"0;10;计算机"_s}, {u"TotalCount"_s, u"1;2;5"_s}},
         u"BookName LIKE '%计算机%' OR TotalCount >5"_s},
        {{{u"BookName"_s, u"1;10;计算机"_s}, {u"TotalCount"_s, u"0;4;3"_s}, {u"Sex"_s, u"1;0;否"_s}},
         u"BookName LIKE '%计算机%' AND TotalCount < 3 OR Sex = 0"_s},
        // Quotes are doubled in every form; "%" and "_" stay wildcards.
        {{{u"BookName"_s, u"0;0;O'Brien"_s}}, u"BookName = 'O''Brien'"_s},
        {{{u"BookName"_s, u"0;10;x' OR '1'='1"_s}}, u"BookName LIKE '%x'' OR ''1''=''1%'"_s},
        {{{u"BookName"_s, u"0;6;it's"_s}}, u"BookName LIKE 'it''s%'"_s},
        {{{u"BookName"_s, u"0;9;'"_s}}, u"BookName NOT LIKE '%'''"_s},
        {{{u"BookName"_s, u"0;10;50%_off"_s}}, u"BookName LIKE '%50%_off%'"_s},
        // A value ends at its first ";".
        {{{u"BookName"_s, u"0;0;甲;乙"_s}}, u"BookName = '甲'"_s},
    };
    for (const Case &c : cases) {
        QList<TFilterCondition> conditions;
        for (const auto &[field, line] : c.lines)
            conditions.append({line, fs.f(field)});
        SCOPED_TRACE(c.sql.toStdString());
        EXPECT_EQ(BuildFilter(conditions), c.sql);
    }
}

TEST(BuildFilter, NumberCheckOfTheDialog)
{
    const QList<QPair<QString, bool>> cases{
        {u"abc"_s, false}, {u"0.0"_s, false}, {{}, false},     {u"  "_s, false},
        {u"inf"_s, false}, {u"nan"_s, false}, {u"0x10"_s, false}, {u"5 OR 1=1"_s, false},
        {u"0"_s, true},    {u" 0 "_s, true},  {u"12.5"_s, true}, {u"-3"_s, true},
        {u"1e3"_s, true},
    };
    for (const auto &[text, valid] : cases)
        EXPECT_EQ(IsValidFilterNumber(text), valid) << text.toStdString();
}

TEST(BuildFilter, WhatEachFieldTypeOffers)
{
    const TFilterFieldRule text = FilterFieldRule(ColumnType::String);
    EXPECT_EQ(text.operators.size(), 12);
    EXPECT_EQ(text.preselected, foContains);
    EXPECT_EQ(FilterFieldRule(ColumnType::Memo).preselected, foContains);
    const TFilterFieldRule number = FilterFieldRule(ColumnType::Integer);
    EXPECT_EQ(number.operators, (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(number.numeric);
    EXPECT_EQ(number.preselected, foEqual);
    EXPECT_TRUE(FilterFieldRule(ColumnType::Money).numeric);
    EXPECT_EQ(FilterFieldRule(ColumnType::Date).page, TFilterValuePage::Date);
    EXPECT_FALSE(FilterFieldRule(ColumnType::Date).numeric);
    const TFilterFieldRule yesNo = FilterFieldRule(ColumnType::Boolean);
    EXPECT_EQ(yesNo.operators, (QList<int>{0, 1}));
    EXPECT_EQ(yesNo.page, TFilterValuePage::Boolean);
    EXPECT_EQ(FilterFieldRule(ColumnType::Blob).operators.size(), 12);
    EXPECT_EQ(FilterFieldRule(ColumnType::Blob).preselected, foEqual);
}

TEST(BuildFilter, LinesAsTheListDrawsThem)
{
    FieldSet fs;
    EXPECT_EQ(ConditionDisplayText({u"1;10;计算机"_s, fs.f(u"BookName"_s)}, true), u" 书刊名称 包含 计算机 。"_s);
    EXPECT_EQ(ConditionDisplayText({u"1;2;5"_s, fs.f(u"TotalCount"_s)}, false), u"或 总册数 大于 5 。"_s);
    EXPECT_EQ(ConditionDisplayText({u"0;0;是"_s, fs.f(u"Sex"_s)}, false), u"与 性别 等于 是 。"_s);
}

// The conditions run against real data: a quote can neither break nor
// extend the statement, and the wildcards still match.
using BuildFilterOnDatabase = FormsDbTest;

TEST_P(BuildFilterOnDatabase, QuotesAndWildcardsSelectTheRightRows)
{
    TDataSet *books = dm->BooksQuery;
    books->Open();
    const TField *name = books->FieldByName(u"BookName"_s);
    const TField *author = books->FieldByName(u"Author"_s);
    struct Case {
        QString line;
        const TField *field;
        int rows;
    };
    const QList<Case> cases{
        {u"0;0;O'Brien的书"_s, name, 1},
        {u"0;10;'Brien"_s, name, 1},
        {u"0;6;O'"_s, author, 1},
        {u"0;10;x' OR '1'='1"_s, name, 0},
        {u"0;10;'); DELETE FROM Books_tab; --"_s, name, 0},
        {u"0;10;50%"_s, name, 2},   // "%" is a wildcard: 50%折扣指南 and 500个问题
        {u"0;6;计算机__"_s, name, 2},  // "_" matches one character
        {u"0;11;计算机"_s, name, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const QString filter = BuildFilter({{c.line, c.field}});
        ReopenQuery(books, dm->BooksBaseSQL + u" AND "_s + filter);
        EXPECT_EQ(books->RecordCount(), c.rows);
    }
    EXPECT_EQ(countWhere(u"1=1"_s), SampleBooks().size());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, BuildFilterOnDatabase, BothKinds, KindName);

// --- the dialog ----------------------------------------------------------------

class QueryDialogTest : public FormsDbTest
{
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped())
            return;
        builder = QueryBuilder();
        builder->SetDataSet(dm->BooksQuery);
        builder->Conditions.clear();
        // Listed out of the query's order on purpose.
        builder->SetFilterFields(u"RegDate;TotalCount;BookName"_s);
    }
    // Runs the dialog, handing it to `drive`, which returns its result.
    bool run(const std::function<int(TQLDBFilterForm &)> &drive)
    {
        TModalAnswer answer([&](QDialog &d) {
            auto &form = dynamic_cast<TQLDBFilterForm &>(d);
            form.show();
            form.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
            const int result = drive(form);
            form.hide();
            return result;
        });
        return builder->Execute();
    }
    static void choose(TQLDBFilterForm &f, const QString &label)
    {
        f.cbFields->setCurrentIndex(f.cbFields->findText(label));
    }

    TQLDBFilterDialog *builder = nullptr;
};

TEST_P(QueryDialogTest, FieldsOperatorsAndPagesFollowTheField)
{
    EXPECT_TRUE(run([](TQLDBFilterForm &f) {
        EXPECT_EQ(f.windowTitle(), u"查询"_s);
        // The query's field order, not that of the list.
        QStringList labels;
        for (int i = 0; i < f.cbFields->count(); ++i)
            labels.append(f.cbFields->itemText(i));
        EXPECT_EQ(labels, (QStringList{u"书刊名称"_s, u"总册数"_s, u"登记日期"_s}));
        EXPECT_EQ(f.cbConditions->currentText(), u"包含"_s);  // the first field is text
        EXPECT_EQ(f.cbConditions->count(), 12);
        choose(f, u"总册数"_s);
        EXPECT_EQ(f.cbConditions->count(), 6);
        EXPECT_EQ(f.cbConditions->currentText(), u"等于"_s);
        EXPECT_EQ(f.nbValue->currentWidget(), f.edtValue);
        choose(f, u"登记日期"_s);
        EXPECT_EQ(f.nbValue->currentWidget(), f.dtpDate);
        return int(QDialog::Rejected);
    }) == false);
}

TEST_P(QueryDialogTest, NumbersAreCheckedAndLinesDrawnAndLoadedBack)
{
    TMessageRecorder messages;
    EXPECT_TRUE(run([](TQLDBFilterForm &f) {
        choose(f, u"总册数"_s);
        for (const QString &bad : {u"abc"_s, u"0.0"_s, QString()}) {
            f.edtValue->setText(bad);
            EXPECT_FALSE(f.AddToList());
        }
        EXPECT_EQ(f.lbFilter->count(), 0);
        f.cbConditions->setCurrentIndex(f.cbConditions->findText(u"大于"_s));
        f.edtValue->setText(u"0"_s);
        EXPECT_TRUE(f.AddToList());
        f.edtValue->setText(u"12.5"_s);
        f.rbOr->setChecked(true);
        EXPECT_TRUE(f.AddToList());
        choose(f, u"书刊名称"_s);
        f.rbAnd->setChecked(true);
        f.edtValue->setText(u"计算机"_s);
        EXPECT_TRUE(f.AddToList());
        choose(f, u"登记日期"_s);
        f.dtpDate->setDate(QDate(2009, 5, 1));
        EXPECT_TRUE(f.AddToList());
        EXPECT_EQ(f.LineTexts(), (QStringList{u" 总册数 大于 0 。"_s, u"或 总册数 大于 12.5 。"_s,
                                              u"与 书刊名称 包含 计算机 。"_s,
                                              u"与 登记日期 等于 2009-05-01 。"_s}));
        // The date field offers six operators; the text line still reads 包含.
        EXPECT_EQ(f.cbConditions->count(), 6);

        // Deleting the first line takes the joiner off the new first line.
        f.lbFilter->setCurrentRow(0);
        f.DeleteLine();
        EXPECT_EQ(f.LineTexts().constFirst(), u" 总册数 大于 12.5 。"_s);

        // Double-clicking a line loads it back into the editors.
        f.lbFilter->setCurrentRow(0);
        f.LoadLine();
        EXPECT_TRUE(f.rbOr->isChecked());
        EXPECT_EQ(f.cbFields->currentText(), u"总册数"_s);
        EXPECT_EQ(f.cbConditions->currentText(), u"大于"_s);
        EXPECT_EQ(f.edtValue->text(), u"12.5"_s);
        f.lbFilter->setCurrentRow(2);
        f.dtpDate->setDate(QDate(2020, 1, 1));
        f.LoadLine();
        EXPECT_EQ(f.nbValue->currentWidget(), f.dtpDate);
        EXPECT_EQ(f.dtpDate->date(), QDate(2009, 5, 1));
        EXPECT_EQ(f.lbFilter->count(), 3);  // the line stays
        f.btnOK->click();
        return f.result();
    }));
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown[0].caption, u"提示"_s);
    EXPECT_EQ(messages.shown[0].text, u"请输入正确的总册数。"_s);
    EXPECT_EQ(builder->BuildFilter(),
              u"TotalCount >12.5 AND BookName LIKE '%计算机%' AND RegDate = '2009-05-01'"_s);
}

TEST_P(QueryDialogTest, KeysOfTheForm)
{
    TMessageRecorder messages;
    builder->Conditions = {{u"0;0;旧条件"_s, dm->BooksQuery->FieldByName(u"BookName"_s)}};
    // Esc cancels and leaves the conditions as they were.
    EXPECT_FALSE(run([](TQLDBFilterForm &f) {
        EXPECT_EQ(f.lbFilter->count(), 1);
        f.NewConditions();
        QTest::keyClick(f.edtValue, Qt::Key_Escape);
        return f.result();
    }));
    EXPECT_EQ(builder->Conditions.size(), 1);

    builder->Conditions.clear();
    EXPECT_TRUE(run([](TQLDBFilterForm &f) {
        // Enter moves on through the editors to the add button, which adds.
        f.edtValue->setFocus();
        f.edtValue->setText(u"计算机"_s);
        QTest::keyClick(f.edtValue, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), f.btnAddToList);
        QTest::keyClick(f.btnAddToList, Qt::Key_Return);
        EXPECT_EQ(f.lbFilter->count(), 1);
        EXPECT_TRUE(f.isVisible());
        // Ctrl+Enter is OK.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        return f.result();
    }));
    EXPECT_EQ(builder->BuildFilter(), u"BookName LIKE '%计算机%'"_s);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(QueryDialogTest, OkNeedsALineAndAllShowsEverything)
{
    TMessageRecorder messages;
    EXPECT_TRUE(run([](TQLDBFilterForm &f) {
        f.btnOK->click();
        EXPECT_NE(f.result(), int(QDialog::Accepted));  // stays open
        f.BtnAll->click();
        return f.result();
    }));
    EXPECT_EQ(messages.texts(), QStringList{u"请先定义查询条件。"_s});
    EXPECT_TRUE(builder->Conditions.isEmpty());
    // "全部(&L)": the window reopens with every row.
    const QString sql = dm->BooksBaseSQL + u" AND "_s + builder->BuildFilter();
    EXPECT_TRUE(sql.endsWith(u"AND  1=1 "_s));
    ReopenQuery(dm->BooksQuery, sql);
    EXPECT_EQ(dm->BooksQuery->RecordCount(), SampleBooks().size());
}

TEST_P(QueryDialogTest, RefusedWithoutDataSet)
{
    builder->SetDataSet(nullptr);
    EXPECT_THROW(builder->Execute(), std::logic_error);
    // A field name the query lacks is an error of the toolkit's own.
    builder->SetDataSet(dm->BooksQuery);
    builder->SetFilterFields(u"NoSuchField"_s);
    EXPECT_ANY_THROW(builder->Execute());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, QueryDialogTest, BothKinds, KindName);

} // namespace
