// The grid's SQL: what the filter row's texts become, how the marker line
// takes them (alone and next to a find's condition), the ORDER BY of the
// sorted titles and how the footer shows its sums.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "data/Dialect.h"
#include "data/DurEzeConn.h"
#include "forms/GridSql.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Schema::Column;
using Schema::ColumnType;

namespace {

TEST(GridSql, FilterRowTexts)
{
    TDurEzeConn conn;
    TDataSet ds(conn, u"TestQuery"_s);
    ds.SetPersistentFields({
        column(u"BookName"_s, ColumnType::String, u"书刊名称"_s),
        column(u"TotalCount"_s, ColumnType::Integer, u"总册数"_s),
        column(u"BookPrice"_s, ColumnType::Money, u"书刊定价"_s),
        column(u"RegDate"_s, ColumnType::Date, u"登记日期"_s),
        column(u"Sex"_s, ColumnType::Boolean, u"性别"_s),
    });
    struct Case {
        QString field;
        QString text;
        QString sql;       // empty with an error or a blank text
        bool error = false;
    };
    const QString like = u"UPPER(BookName) LIKE UPPER('%1') ESCAPE '!'"_s;
    const QList<Case> cases{
        {u"BookName"_s, u"计算机"_s, like.arg(u"%计算机%"_s)},
        {u"BookName"_s, u"  java "_s, like.arg(u"%java%"_s)},
        {u"BookName"_s, u"it's"_s, like.arg(u"%it''s%"_s)},
        {u"BookName"_s, u"x') OR 1=1 --"_s, like.arg(u"%x'') OR 1=1 --%"_s)},
        {u"BookName"_s, u"50%_!"_s, like.arg(u"%50!%!_!!%"_s)},  // taken literally
        {u"BookName"_s, u"a\rb"_s, like.arg(u"%a b%"_s)},         // no line break in the SQL
        {u"BookName"_s, u"   "_s, {}},
        {u"TotalCount"_s, u"5"_s, u"TotalCount = 5"_s},
        {u"TotalCount"_s, u">=5"_s, u"TotalCount >= 5"_s},
        {u"TotalCount"_s, u"> 5"_s, u"TotalCount > 5"_s},
        {u"TotalCount"_s, u"<>3"_s, u"TotalCount <> 3"_s},
        {u"TotalCount"_s, u"<= -2"_s, u"TotalCount <= -2"_s},
        {u"BookPrice"_s, u"<12.5"_s, u"BookPrice < 12.5"_s},
        {u"TotalCount"_s, u"abc"_s, {}, true},
        {u"TotalCount"_s, u"5 OR 1=1"_s, {}, true},
        {u"TotalCount"_s, u">="_s, {}, true},
        {u"RegDate"_s, u"2009-5-1"_s, u"RegDate = '2009-05-01'"_s},
        {u"RegDate"_s, u">=2009/05/01"_s, u"RegDate >= '2009-05-01'"_s},
        {u"RegDate"_s, u"<20100101"_s, u"RegDate < '2010-01-01'"_s},
        {u"RegDate"_s, u"2009-13-01"_s, {}, true},
        {u"RegDate"_s, u"昨天"_s, {}, true},
        {u"Sex"_s, u"是"_s, u"Sex = 1"_s},
        {u"Sex"_s, u"否"_s, u"Sex = 0"_s},
        {u"Sex"_s, u"男"_s, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString(c.field + u": "_s + c.text).toStdString());
        QString error;
        EXPECT_EQ(FilterRowCondition(*ds.FieldByName(c.field), c.text, &error), c.sql);
        EXPECT_EQ(!error.isEmpty(), c.error) << error.toStdString();
    }
    QString error;
    FilterRowCondition(*ds.FieldByName(u"TotalCount"_s), u"abc"_s, &error);
    EXPECT_EQ(error, u"“abc”不是正确的总册数，请输入数字。"_s);
    EXPECT_EQ(JoinFilterRow({}), u"1=1"_s);
    EXPECT_EQ(JoinFilterRow({u"A = 1"_s, {}, u"B = 2"_s}), u"A = 1 AND B = 2"_s);
}

TEST(GridSql, MarkerLineRewrite)
{
    const QString base = u"SELECT * FROM Books_view"_s + MakeDialect(DatabaseKind::SQLite)->BaseWhereClause();
    const QString marker = u"/*FILTER*/"_s;
    bool found = false;

    // On the base SELECT: the marker line becomes marker + " (" + condition + ")".
    const QString once = ApplyGridFilter(base, marker, u"TotalCount > 5"_s, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(once, u"SELECT * FROM Books_view WHERE \r/*FILTER*/ (TotalCount > 5)"_s);
    // Again: the previous condition is replaced, not added to.
    EXPECT_EQ(ApplyGridFilter(once, marker, u"1=1"_s),
              u"SELECT * FROM Books_view WHERE \r/*FILTER*/ (1=1)"_s);

    // With a find's condition after the marker line's own: the find stays.
    const QString find = base + u" AND BookName LIKE '%计算机%'"_s;
    const QString both = ApplyGridFilter(find, marker, u"TotalCount > 5"_s);
    EXPECT_EQ(both, u"SELECT * FROM Books_view WHERE \r/*FILTER*/ (TotalCount > 5)  AND BookName LIKE '%计算机%'"_s);
    // A condition holding parentheses and quotes inside literals.
    const QString tricky = ApplyGridFilter(both, marker, u"BookName LIKE '%)('' (%'"_s);
    EXPECT_EQ(tricky, u"SELECT * FROM Books_view WHERE \r/*FILTER*/ (BookName LIKE '%)('' (%')  AND BookName LIKE '%计算机%'"_s);
    EXPECT_EQ(ApplyGridFilter(tricky, marker, u"1=1"_s),
              u"SELECT * FROM Books_view WHERE \r/*FILTER*/ (1=1)  AND BookName LIKE '%计算机%'"_s);

    // The marker is found without regard to letter case, on any line.
    EXPECT_EQ(ApplyGridFilter(u"SELECT *\nFROM T\nWHERE\n/*filter*/ 1=1\nORDER BY A"_s, marker, u"A=2"_s),
              u"SELECT *\nFROM T\nWHERE\n/*FILTER*/ (A=2)\nORDER BY A"_s);
    // A marker of another form, such as "(1>0)AND", works the same way.
    EXPECT_EQ(ApplyGridFilter(u"SELECT * FROM T WHERE \r(1>0)AND 1=1 "_s, u"(1>0)AND"_s, u"A=2"_s),
              u"SELECT * FROM T WHERE \r(1>0)AND (A=2)"_s);
    // A term the grid does not know is kept after the new one.
    EXPECT_EQ(ApplyGridFilter(u"SELECT * FROM T WHERE\r/*FILTER*/ X=1"_s, marker, u"A=2"_s),
              u"SELECT * FROM T WHERE\r/*FILTER*/ (A=2) AND  X=1"_s);
    // No marker line: nothing to rewrite.
    const QString plain = u"SELECT * FROM T WHERE A=1 -- /*FILTER*/ 1=1"_s;
    EXPECT_EQ(ApplyGridFilter(plain, marker, u"A=2"_s, &found), plain);
    EXPECT_FALSE(found);
}

TEST(GridSql, SortRewrite)
{
    const QString base = u"SELECT * FROM Books_view WHERE \r/*Filter*/ 1=1 "_s;
    const QList<TGridSortColumn> sort{{u"TotalCount"_s, true}, {u"BookName"_s, false}};
    EXPECT_EQ(ApplyGridSort(base, sort),
              u"SELECT * FROM Books_view WHERE \r/*Filter*/ 1=1\rORDER BY TotalCount DESC, BookName"_s);
    EXPECT_EQ(ApplyGridSort(base, {}), base);
    // The SQL's own trailing ORDER BY gives way.
    EXPECT_EQ(ApplyGridSort(u"SELECT * FROM LoanList_view ORDER BY LoanDate DESC;"_s, sort),
              u"SELECT * FROM LoanList_view\rORDER BY TotalCount DESC, BookName"_s);
    // ORDER BY inside a subquery, a literal or a comment is not the SQL's own.
    const QString nested = u"SELECT * FROM (SELECT * FROM T ORDER BY A) x WHERE N = 'ORDER BY' -- ORDER BY B"_s;
    EXPECT_EQ(TrailingOrderBy(nested), -1);
    // A text with its own LIMIT is wrapped rather than cut.
    EXPECT_EQ(ApplyGridSort(u"SELECT * FROM T ORDER BY A LIMIT 10"_s, {{u"B"_s, false}}),
              u"SELECT * FROM (\rSELECT * FROM T ORDER BY A LIMIT 10\r) vm_s\rORDER BY B"_s);
}

TEST(GridSql, FooterSums)
{
    struct Case {
        ColumnType type;
        QVariant sum;
        QString text;
    };
    const QList<Case> cases{
        {ColumnType::Integer, QVariant(), u"0"_s},
        {ColumnType::Integer, qlonglong(12345678901), u"12345678901"_s},
        {ColumnType::Integer, u"39"_s, u"39"_s},
        {ColumnType::Money, QVariant(), u"0.00"_s},
        {ColumnType::Money, 244.10000000000002, u"244.10"_s},
        {ColumnType::Money, u"244.1000"_s, u"244.10"_s},
        {ColumnType::Money, u"12.3456"_s, u"12.3456"_s},
        {ColumnType::Money, u"7"_s, u"7.00"_s},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FooterSumText(c.type, c.sum), c.text) << c.text.toStdString();
}

} // namespace
