// The created database of both kinds matches the one schema definition, and
// the database itself guards the data that several workstations write.

#include "support/TestDb.h"

#include "data/DbError.h"
#include "data/DbSetup.h"
#include "data/Schema.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;
using Schema::ColumnType;

namespace {

struct DbColumn {
    QString name;
    QString type;
    QString defaultValue;
};

QString expectedType(DatabaseKind kind, const Schema::Column &c)
{
    const bool lite = kind == DatabaseKind::SQLite;
    switch (c.type) {
    case ColumnType::Key: return lite ? u"INTEGER"_s : u"integer"_s;
    case ColumnType::String:
        return lite ? u"VARCHAR(%1)"_s.arg(c.size) : u"character varying(%1)"_s.arg(c.size);
    case ColumnType::Integer: return lite ? u"INTEGER"_s : u"integer"_s;
    case ColumnType::SmallInt:
    case ColumnType::Boolean: return lite ? u"SMALLINT"_s : u"smallint"_s;
    case ColumnType::Date: return lite ? u"TEXT"_s : u"date"_s;
    case ColumnType::Money: return lite ? u"NUMERIC(19,4)"_s : u"numeric(19,4)"_s;
    case ColumnType::Memo: return lite ? u"TEXT"_s : u"text"_s;
    case ColumnType::Blob: return lite ? u"BLOB"_s : u"bytea"_s;
    }
    return {};
}

QList<DbColumn> columnsInDatabase(TDurEzeConn &conn, const QString &relation)
{
    QList<DbColumn> out;
    if (conn.Dialect().Kind() == DatabaseKind::SQLite) {
        QSqlQuery q = conn.Select(u"PRAGMA table_info(%1)"_s.arg(relation));
        while (q.next())
            out.append({q.value(1).toString(), q.value(2).toString(), q.value(4).toString()});
    } else {
        QSqlQuery q = conn.ExecuteBound(
            u"SELECT column_name, data_type, character_maximum_length, numeric_precision, "
            "numeric_scale, column_default FROM information_schema.columns "
            "WHERE table_name = ? ORDER BY ordinal_position"_s,
            {relation.toLower()});
        while (q.next()) {
            QString type = q.value(1).toString();
            if (!q.value(2).isNull())
                type += u"(%1)"_s.arg(q.value(2).toInt());
            else if (type == u"numeric")
                type += u"(%1,%2)"_s.arg(q.value(3).toInt()).arg(q.value(4).toInt());
            out.append({q.value(0).toString(), type, q.value(5).toString()});
        }
    }
    return out;
}

class SchemaTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
    }
    TDurEzeConn &conn() { return db->conn(); }
    std::unique_ptr<TTestDb> db;
};

TEST_P(SchemaTest, TablesMatchTheDefinition)
{
    for (const Schema::Table &t : Schema::Tables()) {
        SCOPED_TRACE(t.name.toStdString());
        const QList<DbColumn> actual = columnsInDatabase(conn(), t.name);
        ASSERT_EQ(actual.size(), t.columns.size());
        for (int i = 0; i < actual.size(); ++i) {
            const Schema::Column &c = t.columns.at(i);
            EXPECT_EQ(actual[i].name.toLower(), c.name.toLower());
            EXPECT_EQ(actual[i].type, expectedType(GetParam(), c)) << c.name.toStdString();
            if (c.defaultValue.isValid()) {
                EXPECT_EQ(actual[i].defaultValue, c.defaultValue.toString()) << c.name.toStdString();
            }
        }
    }
}

TEST_P(SchemaTest, ViewsExposeTheirColumnsInOrder)
{
    for (const Schema::View &v : Schema::Views()) {
        SCOPED_TRACE(v.name.toStdString());
        const QSqlRecord rec = conn().Select(u"SELECT * FROM %1 WHERE 1=0"_s.arg(v.name)).record();
        ASSERT_EQ(rec.count(), v.columns.size());
        for (int i = 0; i < rec.count(); ++i)
            EXPECT_EQ(rec.fieldName(i).toLower(), v.columns.at(i).column.name.toLower());
    }
}

TEST_P(SchemaTest, SeedRowsListEveryFunction)
{
    QSqlQuery q = conn().Select(u"SELECT FunKey, FunName, FunCate, IsUsed FROM UserFun_tab ORDER BY FunCode"_s);
    QList<int> keys;
    while (q.next()) {
        const int key = q.value(0).toInt();
        keys.append(key);
        EXPECT_EQ(q.value(2).toInt(), key / 10);
        EXPECT_EQ(q.value(3).toInt(), 1);
        EXPECT_FALSE(q.value(1).toString().isEmpty());
    }
    EXPECT_EQ(keys, (QList<int>{11, 12, 13, 21, 22, 23, 31, 32, 41, 42, 51, 52, 53, 54, 55}));
}

TEST_P(SchemaTest, DefaultsAndRemainCount)
{
    conn().Execute(u"INSERT INTO Books_tab (BookName, Author, BookType, TotalCount) "
                   "VALUES ('物权法', '王利明', '图书', 2)"_s);
    conn().Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode, BookState) VALUES (1, 'B1', '借出')"_s);
    conn().Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode, BookState) VALUES (1, 'B2', '借出')"_s);
    conn().Execute(u"INSERT INTO LoanList_tab (CopyID, BookID, ReaderID, LoanDate) "
                   "VALUES (1, 1, 1, '2026-12-01')"_s);
    conn().Execute(u"UPDATE Books_tab SET LoanCount = 2"_s);

    QSqlQuery loan = conn().Select(u"SELECT IsReturn, ReLoanTimes FROM LoanList_tab"_s);
    ASSERT_TRUE(loan.next());
    EXPECT_EQ(loan.value(0).toInt(), 0);
    EXPECT_EQ(loan.value(1).toInt(), 0);

    QSqlQuery books = conn().Select(u"SELECT RemainCount FROM Books_view"_s);
    ASSERT_TRUE(books.next());
    EXPECT_EQ(books.value(0).toInt(), 0);
    QSqlQuery copies = conn().Select(u"SELECT RemainCount, BookName FROM Copies_view"_s);
    ASSERT_TRUE(copies.next());
    EXPECT_EQ(copies.value(0).toInt(), 0);
    EXPECT_EQ(copies.value(1).toString(), u"物权法"_s);

    // A new title without counters shows none remaining, not an empty cell.
    conn().Execute(u"INSERT INTO Books_tab (BookName, Author, BookType) VALUES ('新书', '某人', '图书')"_s);
    QSqlQuery fresh = conn().Select(u"SELECT TotalCount, LoanCount, RemainCount FROM Books_view WHERE BookName = '新书'"_s);
    ASSERT_TRUE(fresh.next());
    EXPECT_EQ(fresh.value(0).toInt(), 0);
    EXPECT_EQ(fresh.value(2).toInt(), 0);
    EXPECT_FALSE(fresh.value(2).isNull());
}

TEST_P(SchemaTest, LogInsertNamingMemoWorks)
{
    // Both kinds accept the plain column name in a log insert.
    EXPECT_EQ(conn().Execute(u"INSERT INTO UserLog_tab (LogDate, LogTime, WinName, OperateContent, "
                             "UserCode, UserName, Memo) VALUES ('2026-12-11', '08:00:00', "
                             "'进入系统', '打开', '<游客>', '<游客>', '')"_s),
              1);
}

// Each case: rows that go in, then one statement the database must refuse.
struct GuardCase {
    const char *name;
    QStringList setup;
    QString refused;
};

TEST_P(SchemaTest, DatabaseRefusesWhatWouldCorruptTheData)
{
    const QList<GuardCase> cases = {
        {"second open loan of one copy",
         {u"INSERT INTO LoanList_tab (CopyID, BookID, ReaderID, IsReturn) VALUES (7, 1, 1, 1)"_s,
          u"INSERT INTO LoanList_tab (CopyID, BookID, ReaderID) VALUES (7, 1, 1)"_s},
         u"INSERT INTO LoanList_tab (CopyID, BookID, ReaderID) VALUES (7, 1, 2)"_s},
        {"duplicate barcode",
         {u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (1, '0012')"_s},
         u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (2, '0012')"_s},
        {"duplicate card",
         {u"INSERT INTO Readers_tab (ReaderName, CardID) VALUES ('李明', 'C1')"_s},
         u"INSERT INTO Readers_tab (ReaderName, CardID) VALUES ('王芳', 'C1')"_s},
        {"duplicate reader code",
         {u"INSERT INTO Readers_tab (ReaderName, ReaderCode) VALUES ('李明', 'R1')"_s},
         u"INSERT INTO Readers_tab (ReaderName, ReaderCode) VALUES ('王芳', 'R1')"_s},
        {"login name differing only in letter case",
         {u"INSERT INTO Users_tab (UserCode, UserName) VALUES ('Admin', '管理员')"_s},
         u"INSERT INTO Users_tab (UserCode, UserName) VALUES ('admin', '冒名')"_s},
        {"duplicate publisher",
         {u"INSERT INTO Publishers_tab (PublisherName) VALUES ('法律出版社')"_s},
         u"INSERT INTO Publishers_tab (PublisherName) VALUES ('法律出版社')"_s},
        {"duplicate class code",
         {u"INSERT INTO BookCate_tab (BookCateParentID, BookCateCode, BookCateName) VALUES (0, 'D', '政治、法律')"_s},
         u"INSERT INTO BookCate_tab (BookCateParentID, BookCateCode, BookCateName) VALUES (0, 'D', '别的')"_s},
        {"duplicate reader category",
         {u"INSERT INTO ReaderCate_tab (ReaderCateName) VALUES ('教师')"_s},
         u"INSERT INTO ReaderCate_tab (ReaderCateName) VALUES ('教师')"_s},
        {"duplicate regulation title",
         {u"INSERT INTO Bylaw_tab (BylawTitle, BylawContent) VALUES ('借阅须知', '...')"_s},
         u"INSERT INTO Bylaw_tab (BylawTitle, BylawContent) VALUES ('借阅须知', '又一条')"_s},
        {"boolean other than 0 and 1", {},
         u"INSERT INTO Readers_tab (ReaderName, Sex) VALUES ('张三', 2)"_s},
        {"text that is not a date", {},
         u"INSERT INTO Readers_tab (ReaderName, BirthDate) VALUES ('张三', '明天')"_s},
    };
    for (const GuardCase &c : cases) {
        SCOPED_TRACE(c.name);
        TTestDb fresh(GetParam());
        for (const QString &sql : c.setup)
            fresh.conn().Execute(sql);
        EXPECT_THROW(fresh.conn().Execute(c.refused), TDbError);
    }
}

TEST_P(SchemaTest, BlankCardsAndCodesNeverCollide)
{
    for (const QString &v : {u"NULL"_s, u"''"_s, u"'  '"_s, u"NULL"_s, u"''"_s}) {
        conn().Execute(u"INSERT INTO Readers_tab (ReaderName, ReaderCode, CardID) VALUES ('某', %1, %1)"_s.arg(v));
    }
    QSqlQuery q = conn().Select(u"SELECT COUNT(*) FROM Readers_tab"_s);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 5);
}

TEST_P(SchemaTest, CreateRefusesAnExistingDatabase)
{
    conn().Execute(u"INSERT INTO Publishers_tab (PublisherName) VALUES ('法律出版社')"_s);
    EXPECT_THROW(CreateDatabase(db->settings()), TDbError);
    // The existing data is untouched.
    QSqlQuery q = conn().Select(u"SELECT COUNT(*) FROM Publishers_tab"_s);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SchemaTest, BothKinds, KindName);

TEST(SchemaDefinition, HiddenFieldsFollowTheRules)
{
    const auto hidden = [](const QString &table, const QString &column) {
        return Schema::FindTable(table)->column(column)->hidden;
    };
    EXPECT_TRUE(hidden(u"Books_tab"_s, u"BookID"_s));
    EXPECT_FALSE(hidden(u"UserLog_tab"_s, u"UserLogID"_s));
    EXPECT_FALSE(hidden(u"Par_tab"_s, u"ParID"_s));
    EXPECT_TRUE(hidden(u"Users_tab"_s, u"UserPwd"_s));
    EXPECT_TRUE(hidden(u"Books_tab"_s, u"ContentIntro"_s));
    EXPECT_TRUE(hidden(u"Readers_tab"_s, u"ReaderCateID"_s));
    EXPECT_FALSE(hidden(u"Books_tab"_s, u"BookName"_s));
    EXPECT_GE(Schema::FindTable(u"Users_tab"_s)->column(u"UserPwd"_s)->size, 128);
}

} // namespace
