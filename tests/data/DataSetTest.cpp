// The dataset on real databases of both kinds: states and hooks, writes
// through views, optimistic concurrency between two workstations, cached
// updates, persistent fields, paged reading between other statements, value
// conversions, locate, bookmarks and the client-side filter.

#include "support/TestDb.h"

#include "data/DataSet.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/SilentAbort.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlQuery>
#include <algorithm>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

class DataSetTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
    }

    TDurEzeConn &conn() { return db->conn(); }
    void exec(const QString &sql) { conn().Execute(sql); }

    QString single(const QString &sql)
    {
        QSqlQuery q = conn().Select(sql);
        return q.next() ? q.value(0).toString() : QString();
    }

    QString booksSql() { return u"SELECT * FROM Books_view"_s + conn().Dialect().BaseWhereClause(); }

    // A dataset as the data module declares them: SQL and persistent fields.
    std::unique_ptr<TDataSet> dataSet(const QString &sql, const QString &fieldsOf = {})
    {
        auto ds = std::make_unique<TDataSet>(conn(), u"TestQuery"_s);
        ds->SetSQL(sql);
        if (!fieldsOf.isEmpty())
            ds->SetPersistentFields(Schema::ColumnsOf(fieldsOf));
        return ds;
    }

    // `n` titles named B100001, B100002, ...; the type cycles through three
    // values, so ordering by it leaves long runs of ties.
    void addBooks(int n)
    {
        exec(u"INSERT INTO Books_tab (BookName, Author, BookType, TotalCount, LoanCount) "
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "_s
             + QString::number(n)
             + u") SELECT 'B' || CAST(100000 + i AS VARCHAR(10)), 'A', "
               "CASE i % 3 WHEN 0 THEN '图书' WHEN 1 THEN '期刊' ELSE '报纸' END, 2, 1 FROM n"_s);
    }

    int addBook(const QString &name)
    {
        exec(u"INSERT INTO Books_tab (BookName, Author, BookType) VALUES (%1, 'A', '图书')"_s
                 .arg(QuotedStr(name)));
        return single(u"SELECT MAX(BookID) FROM Books_tab"_s).toInt();
    }

    static void set(TDataSet &ds, const QString &field, const QVariant &value)
    {
        ds.FieldByName(field)->SetValue(value);
    }
    static QVariant value(TDataSet &ds, const QString &field) { return ds.FieldByName(field)->Value(); }

    std::unique_ptr<TTestDb> db;
};

TEST_P(DataSetTest, InsertEditCancelDeleteThroughTheStates)
{
    auto ds = dataSet(booksSql(), u"Books_view"_s);
    int afterInsert = 0;
    ds->AfterInsert = [&](TDataSet &d) {
        ++afterInsert;
        d.FieldByName(u"LoanCount"_s)->SetValue(0);
    };
    EXPECT_EQ(ds->UpdateTable(), u"Books_tab"_s);
    ds->Open();
    EXPECT_EQ(ds->State(), TDataSetState::Browse);
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_TRUE(ds->Eof());

    // An appended row shows while it is being inserted; Cancel takes it away.
    ds->Append();
    EXPECT_EQ(ds->State(), TDataSetState::Insert);
    EXPECT_EQ(afterInsert, 1);
    EXPECT_EQ(value(*ds, u"LoanCount"_s), QVariant(0));
    EXPECT_EQ(ds->RecordCount(), 1);
    ds->Cancel();
    EXPECT_EQ(ds->State(), TDataSetState::Browse);
    EXPECT_EQ(ds->RecordCount(), 0);

    ds->Append();
    set(*ds, u"BookName"_s, u"物权法"_s);
    set(*ds, u"Author"_s, u"王利明"_s);
    set(*ds, u"BookType"_s, u"图书"_s);
    set(*ds, u"TotalCount"_s, 3);
    ds->Post();
    EXPECT_EQ(ds->State(), TDataSetState::Browse);
    const int id = ds->FieldByName(u"BookID"_s)->AsInteger();
    EXPECT_GT(id, 0);
    EXPECT_EQ(ds->LastInsertKey().toInt(), id);
    // The view computes this column; the posted row is read back through it.
    EXPECT_EQ(value(*ds, u"RemainCount"_s), QVariant(3));
    EXPECT_EQ(single(u"SELECT BookName FROM Books_tab WHERE BookID = %1"_s.arg(id)), u"物权法"_s);

    ds->Edit();
    set(*ds, u"Author"_s, u"某人"_s);
    ds->Cancel();
    EXPECT_EQ(value(*ds, u"Author"_s), QVariant(u"王利明"_s));

    ds->Edit();
    set(*ds, u"Author"_s, u"王利明 著"_s);
    set(*ds, u"LoanCount"_s, 1);
    ds->Post();
    EXPECT_EQ(single(u"SELECT Author FROM Books_tab WHERE BookID = %1"_s.arg(id)), u"王利明 著"_s);
    EXPECT_EQ(value(*ds, u"RemainCount"_s), QVariant(2));

    ds->Delete();
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Books_tab"_s), u"0"_s);
}

TEST_P(DataSetTest, FailedCheckBeforePostKeepsTheRowAndWritesNothing)
{
    exec(u"INSERT INTO ReaderCate_tab (ReaderCateName, LimitBooksCount, LimitDays) VALUES ('教师', 5, 30)"_s);
    const QString cate = single(u"SELECT ReaderCateID FROM ReaderCate_tab"_s);
    auto ds = dataSet(u"SELECT * FROM Readers_view"_s, u"Readers_view"_s);
    bool failWithDbError = false;
    ds->BeforePost = [&](TDataSet &d) {
        if (d.FieldByName(u"ReaderName"_s)->AsString().isEmpty()) {
            if (failWithDbError)
                throw TDbError(u"读者姓名不能为空。"_s);
            throw TSilentAbort();
        }
    };
    ds->Open();
    ds->Append();
    set(*ds, u"CardID"_s, u"C001"_s);
    set(*ds, u"ReaderCateID"_s, cate);
    EXPECT_THROW(ds->Post(), TSilentAbort);
    EXPECT_EQ(ds->State(), TDataSetState::Insert);
    EXPECT_EQ(value(*ds, u"CardID"_s), QVariant(u"C001"_s));
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Readers_tab"_s), u"0"_s);

    set(*ds, u"ReaderName"_s, u"王芳"_s);
    ds->Post();
    // Written to the base table; the key and the joined category come back.
    const QString id = single(u"SELECT ReaderID FROM Readers_tab WHERE CardID = 'C001'"_s);
    EXPECT_EQ(ds->FieldByName(u"ReaderID"_s)->AsString(), id);
    EXPECT_EQ(value(*ds, u"ReaderCateName"_s), QVariant(u"教师"_s));

    failWithDbError = true;
    ds->Edit();
    set(*ds, u"ReaderName"_s, u""_s);
    EXPECT_THROW(ds->Post(), TDbError);
    EXPECT_EQ(ds->State(), TDataSetState::Edit);
    EXPECT_EQ(value(*ds, u"ReaderName"_s), QVariant(u""_s));
    EXPECT_EQ(single(u"SELECT ReaderName FROM Readers_tab"_s), u"王芳"_s);
    ds->Cancel();
    EXPECT_EQ(value(*ds, u"ReaderName"_s), QVariant(u"王芳"_s));
}

TEST_P(DataSetTest, ReadOnlyResultsRefuseEdits)
{
    addBook(u"物权法"_s);
    const QStringList readOnly = {
        u"SELECT * FROM Copies_view"_s,  // a view without a base table
        u"SELECT b.BookName, c.BookBarCode FROM Books_tab b JOIN Copies_tab c ON c.BookID = b.BookID"_s,
        u"SELECT BookType, COUNT(*) AS N FROM Books_tab GROUP BY BookType"_s,
        u"SELECT BookName FROM Books_tab"_s,  // the key is not in the result
    };
    for (const QString &sql : readOnly) {
        SCOPED_TRACE(sql.toStdString());
        auto ds = dataSet(sql);
        ds->Open();
        EXPECT_THROW(ds->Edit(), TDbError);
        EXPECT_THROW(ds->Append(), TDbError);
        EXPECT_EQ(ds->State(), TDataSetState::Browse);
    }
    auto log = dataSet(u"SELECT * FROM Books_tab"_s, u"Books_tab"_s);
    log->SetReadOnly(true);
    log->Open();
    EXPECT_THROW(log->Delete(), TDbError);
    // The computed column of a view is never written.
    auto books = dataSet(booksSql(), u"Books_view"_s);
    books->Open();
    books->Edit();
    EXPECT_THROW(set(*books, u"RemainCount"_s, 9), TDbError);
}

struct RaceCase {
    const char *name;
    const char *otherWorkstation;  // %1 is the row's key
    bool weDelete;                 // else we change Author
    bool refused;
};

TEST_P(DataSetTest, ChangeMadeMeanwhileByAnotherWorkstationIsNeverOverwritten)
{
    const QList<RaceCase> cases = {
        {"other changed the same column", "UPDATE Books_tab SET Author = 'B' WHERE BookID = %1", false, true},
        {"other deleted the row we edit", "DELETE FROM Books_tab WHERE BookID = %1", false, true},
        {"other changed another column", "UPDATE Books_tab SET Memo = 'B' WHERE BookID = %1", false, false},
        {"other changed the row we delete", "UPDATE Books_tab SET Memo = 'B' WHERE BookID = %1", true, true},
        {"other deleted the row we delete", "DELETE FROM Books_tab WHERE BookID = %1", true, true},
    };
    std::unique_ptr<TDurEzeConn> other = db->openAnother();
    for (const RaceCase &c : cases) {
        SCOPED_TRACE(c.name);
        const int id = addBook(QString::fromUtf8(c.name));
        auto ds = dataSet(booksSql() + u" AND BookID = "_s + QString::number(id), u"Books_view"_s);
        ds->Open();
        other->Execute(QString::fromLatin1(c.otherWorkstation).arg(id));
        const QString otherAuthor = single(u"SELECT Author FROM Books_tab WHERE BookID = %1"_s.arg(id));
        try {
            if (c.weDelete) {
                ds->Delete();
            } else {
                ds->Edit();
                set(*ds, u"Author"_s, u"C"_s);
                ds->Post();
            }
            EXPECT_FALSE(c.refused);
        } catch (const TDbError &e) {
            EXPECT_TRUE(c.refused) << e.fullText().toStdString();
            EXPECT_EQ(e.message(), u"该记录已被其他用户修改或删除，请刷新后重试。"_s);
            EXPECT_EQ(ds->State(), c.weDelete ? TDataSetState::Browse : TDataSetState::Edit);
            EXPECT_EQ(single(u"SELECT Author FROM Books_tab WHERE BookID = %1"_s.arg(id)), otherAuthor);
        }
        if (!c.refused) {
            EXPECT_EQ(single(u"SELECT Author FROM Books_tab WHERE BookID = %1"_s.arg(id)), u"C"_s);
            EXPECT_EQ(single(u"SELECT Memo FROM Books_tab WHERE BookID = %1"_s.arg(id)), u"B"_s);
        }
    }
}

TEST_P(DataSetTest, CachedUpdatesAreAppliedTogetherOrNotAtAll)
{
    const int title = addBook(u"物权法"_s);
    const int otherTitle = addBook(u"合同法"_s);
    exec(u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (%1, 'X1'), (%1, 'X2'), (%2, 'Y1')"_s
             .arg(title)
             .arg(otherTitle));
    const auto copies = [&](const QString &where) {
        return single(u"SELECT COUNT(*) FROM Copies_tab WHERE "_s + where).toInt();
    };
    auto ds = dataSet(u"SELECT * FROM Copies_tab WHERE \rBookID = "_s + QString::number(title),
                      u"Copies_tab"_s);
    ds->SetCachedUpdates(true);
    ds->Open();
    const auto addCopy = [&](const QString &barcode) {
        ds->Append();
        set(*ds, u"BookID"_s, 0);  // a new title gives its key at saving time
        set(*ds, u"BookBarCode"_s, barcode);
        ds->Post();
    };
    addCopy(u"X3"_s);
    ASSERT_TRUE(ds->Locate(u"BookBarCode"_s, u"X1"_s));
    ds->Edit();
    set(*ds, u"BookRoom"_s, u"二楼"_s);
    ds->Post();
    ASSERT_TRUE(ds->Locate(u"BookBarCode"_s, u"X2"_s));
    ds->Delete();
    addCopy(u"X2"_s);  // the barcode given up above, taken by a new copy
    EXPECT_TRUE(ds->UpdatesPending());
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_EQ(copies(u"BookID = %1"_s.arg(title)), 2);
    EXPECT_EQ(copies(u"BookRoom IS NOT NULL"_s), 0);

    // The editor gives every copy the title's key before saving.
    for (ds->First(); !ds->Eof(); ds->Next()) {
        ds->Edit();
        set(*ds, u"BookID"_s, title);
        ds->Post();
    }
    ds->ApplyUpdates();
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(copies(u"BookID = %1"_s.arg(title)), 3);
    EXPECT_EQ(copies(u"BookRoom = '二楼'"_s), 1);
    for (ds->First(); !ds->Eof(); ds->Next()) {
        const QString barcode = ds->FieldByName(u"BookBarCode"_s)->AsString();
        EXPECT_EQ(ds->FieldByName(u"CopyID"_s)->AsString(),
                  single(u"SELECT CopyID FROM Copies_tab WHERE BookBarCode = %1"_s.arg(QuotedStr(barcode))));
    }

    // A batch with a duplicate barcode writes none of its changes.
    ASSERT_TRUE(ds->Locate(u"BookBarCode"_s, u"X3"_s));
    ds->Edit();
    set(*ds, u"BookRoom"_s, u"三楼"_s);
    ds->Post();
    ASSERT_TRUE(ds->Locate(u"BookBarCode"_s, u"X1"_s));
    ds->Delete();
    addCopy(u"Y1"_s);
    EXPECT_THROW(ds->ApplyUpdates(), TDbError);
    EXPECT_TRUE(ds->UpdatesPending());
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_EQ(copies(u"BookRoom = '三楼'"_s), 0);
    EXPECT_EQ(copies(u"BookBarCode = 'X1'"_s), 1);
    EXPECT_EQ(copies(u"BookBarCode = 'Y1'"_s), 1);

    // Inside the caller's transaction a failure leaves the caller's own
    // statements to its rollback too.
    {
        TTransaction transaction(conn());
        exec(u"UPDATE Books_tab SET TotalCount = 9 WHERE BookID = %1"_s.arg(title));
        EXPECT_THROW(ds->ApplyUpdates(), TDbError);
    }
    EXPECT_EQ(single(u"SELECT TotalCount FROM Books_tab WHERE BookID = %1"_s.arg(title)), u"0"_s);

    // Dropping the cache brings back what the database holds.
    ds->CancelUpdates();
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_TRUE(ds->Locate(u"BookBarCode"_s, u"X1"_s));
    EXPECT_TRUE(ds->Locate(u"BookBarCode"_s, u"X3"_s));
    EXPECT_EQ(ds->FieldByName(u"BookRoom"_s)->AsString(), QString());
    EXPECT_FALSE(ds->Locate(u"BookBarCode"_s, u"Y1"_s));

    // Written inside the caller's transaction, the batch counts as saved only
    // when that commits: after a rollback it is still there to save again.
    addCopy(u"X4"_s);
    ds->Edit();
    set(*ds, u"BookID"_s, title);
    ds->Post();
    {
        TTransaction transaction(conn());
        ds->ApplyUpdates();
    }
    EXPECT_TRUE(ds->UpdatesPending());
    EXPECT_EQ(copies(u"BookBarCode = 'X4'"_s), 0);
    {
        TTransaction transaction(conn());
        ds->ApplyUpdates();
        EXPECT_TRUE(ds->UpdatesPending());
        transaction.Commit();
    }
    EXPECT_FALSE(ds->UpdatesPending());
    EXPECT_EQ(copies(u"BookBarCode = 'X4'"_s), 1);
    EXPECT_EQ(ds->FieldByName(u"CopyID"_s)->AsString(),
              single(u"SELECT CopyID FROM Copies_tab WHERE BookBarCode = 'X4'"_s));
}

TEST_P(DataSetTest, PersistentFieldsAreTheSchemaColumnsInTheirOrder)
{
    addBook(u"物权法"_s);
    Schema::Column name = Schema::FindTable(u"Books_tab"_s)->columns[2];
    Schema::Column key = Schema::FindTable(u"Books_tab"_s)->columns[0];
    auto ds = dataSet(u"SELECT *, 42 AS Extra FROM Books_view"_s);
    ds->SetPersistentFields({name, key});
    ds->Open();
    ASSERT_EQ(ds->FieldCount(), 2);
    EXPECT_EQ(ds->Field(0)->FieldName(), u"BookName"_s);
    EXPECT_EQ(ds->Field(0)->DisplayLabel(), u"书刊名称"_s);
    EXPECT_FALSE(ds->Field(1)->Visible());
    EXPECT_EQ(ds->FindField(u"Extra"_s), nullptr);
    EXPECT_EQ(ds->FindField(u"BOOKNAME"_s), ds->Field(0));
    EXPECT_EQ(ds->Field(0)->AsString(), u"物权法"_s);
    // Persistent fields outlive a reopen, so the pointers windows hold stay good.
    TField *held = ds->Field(0);
    ds->Reopen();
    EXPECT_EQ(ds->Field(0), held);

    Schema::Column missing = name;
    missing.name = u"NoSuchColumn"_s;
    ds->SetPersistentFields({name, missing});
    try {
        ds->Open();
        ADD_FAILURE() << "a persistent field missing from the result must not open";
    } catch (const TDbError &e) {
        EXPECT_TRUE(e.message().contains(u"NoSuchColumn"_s)) << e.message().toStdString();
    }
    EXPECT_FALSE(ds->Active());

    // Without persistent fields: every column, described from the schema
    // where it is known, else from its values.
    auto all = dataSet(u"SELECT BookName, COUNT(*) AS Titles FROM Books_tab GROUP BY BookName"_s);
    all->Open();
    ASSERT_EQ(all->FieldCount(), 2);
    EXPECT_EQ(all->Field(0)->FieldName(), u"BookName"_s);
    EXPECT_EQ(all->Field(0)->DisplayLabel(), u"书刊名称"_s);
    EXPECT_EQ(all->FieldByName(u"titles"_s)->Value(), QVariant(1));
    EXPECT_THROW(all->FieldByName(u"Nothing"_s), TDbError);
}

// Rows are read a page at a time, and the connection stays free for
// everything else between the pages.
TEST_P(DataSetTest, ReadsLargeResultsInPagesBetweenOtherStatements)
{
    addBooks(3000);
    exec(u"UPDATE Books_tab SET BookPrice = 0.10"_s);
    auto big = dataSet(booksSql(), u"Books_view"_s);
    big->Open();
    EXPECT_LT(big->CachedRowCount(), 1000);
    QList<int> ids;
    for (int i = 0; i < 3; ++i, big->Next())
        ids.append(big->FieldByName(u"BookID"_s)->AsInteger());

    const QString late = single(u"SELECT BookID FROM Books_tab WHERE BookName = 'B102500'"_s);
    exec(u"UPDATE Books_tab SET Author = '改' WHERE BookID = "_s + late);
    {
        TTransaction transaction(conn());
        exec(u"INSERT INTO Books_tab (BookName, Author, BookType) VALUES ('B999999', 'A', '图书')"_s);
        transaction.Commit();
    }
    auto functions = dataSet(u"SELECT * FROM UserFun_tab"_s, u"UserFun_tab"_s);
    functions->Open();
    int seen = 0;
    for (functions->First(); !functions->Eof(); functions->Next())
        ++seen;
    EXPECT_EQ(seen, int(Schema::Functions().size()));
    auto journals = dataSet(booksSql() + u" AND BookType = '期刊'"_s, u"Books_view"_s);
    journals->Open();
    journals->MoveTo(500);
    big->Append();
    set(*big, u"BookName"_s, u"B999998"_s);
    big->Post();
    big->Prior();

    QString lateAuthor;
    for (big->MoveTo(3); !big->Eof(); big->Next()) {
        ids.append(big->FieldByName(u"BookID"_s)->AsInteger());
        if (big->FieldByName(u"BookID"_s)->AsString() == late)
            lateAuthor = big->FieldByName(u"Author"_s)->AsString();
    }
    // Every row once, in key order; the row written meanwhile on the same
    // connection shows, and the dataset's own new row closes the list.
    EXPECT_EQ(ids.size(), 3002);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), 3002u);
    EXPECT_EQ(lateAuthor, u"改"_s);
    EXPECT_EQ(big->RecordCount(), 3002);
    // Footer sums come exact from the database, with the dataset's own row.
    big->Last();
    big->Edit();
    set(*big, u"BookPrice"_s, u"0.05"_s);
    set(*big, u"TotalCount"_s, 4);
    big->Post();
    const QVariantList sums = big->SumsOf({u"TotalCount"_s, u"BookPrice"_s, u"RemainCount"_s});
    EXPECT_EQ(sums, (QVariantList{qlonglong(6004), u"300.05"_s, qlonglong(3004)}));
    EXPECT_THROW(big->SumOf(u"BookName"_s), TDbError);
}

// Pages of a large result come in one total order, whatever the SQL's own
// order leaves tied, so no row is shown twice or skipped.
TEST_P(DataSetTest, LargeResultsArePagedWithoutRepeatsOrGaps)
{
    addBooks(2000);
    struct Case {
        QString sql;
        int rows;
    };
    const QList<Case> cases = {
        {booksSql() + u" ORDER BY BookType DESC"_s, 2000},  // ties broken by key
        {u"SELECT BookType, TotalCount FROM Books_tab ORDER BY BookType"_s, 2000},  // no key
        {u"SELECT BookType, COUNT(*) AS N FROM Books_tab GROUP BY BookType"_s, 3},
        {u"SELECT * FROM Books_tab -- with a comment at the end"_s, 2000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        auto ds = dataSet(c.sql);
        ds->Open();
        EXPECT_EQ(ds->RecordCount(), c.rows);
        std::set<int> ids;
        QStringList types;
        int walked = 0;
        for (ds->First(); !ds->Eof(); ds->Next(), ++walked) {
            types.append(ds->FieldByName(u"BookType"_s)->AsString());
            if (TField *id = ds->FindField(u"BookID"_s))
                ids.insert(id->AsInteger());
        }
        EXPECT_EQ(walked, c.rows);
        if (!ids.empty()) {
            EXPECT_EQ(int(ids.size()), c.rows);
        }
        if (c.sql.contains(u"DESC"_s)) {
            EXPECT_TRUE(std::is_sorted(types.rbegin(), types.rend()));
        }
        // A row far down is reached directly.
        EXPECT_EQ(ds->RowValue(c.rows - 1, ds->FieldByName(u"BookType"_s)->Index()).toString(),
                  types.last());
    }
}

// Rows far apart, reached in any order (selected rows of a long list, the
// scroll bar dragged about), are the right rows.
TEST_P(DataSetTest, RowsFarApartAreTheRightRows)
{
    addBooks(3000);
    auto ds = dataSet(booksSql(), u"Books_view"_s);
    ds->Open();
    const int name = ds->FieldByName(u"BookName"_s)->Index();
    for (int row : {2999, 10, 1500, 700, 2000, 260, 0, 1501}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ds->RowValue(row, name).toString(), u"B%1"_s.arg(100001 + row));
    }
}

// Rows that the dataset itself inserts or deletes (in the database or in its
// cache) while most of a large result is unread move no other row: nothing
// is shown twice or lost when the rest is read.
TEST_P(DataSetTest, OwnChangesBeforeTheRestIsReadRepeatAndLoseNothing)
{
    addBooks(1000);
    auto ds = dataSet(booksSql() + u" ORDER BY BookName DESC"_s, u"Books_view"_s);
    ds->Open();
    ds->Append();
    set(*ds, u"BookName"_s, u"C1"_s);  // first of all in the database's order
    ds->Post();
    ds->First();
    ds->Delete();  // B101000
    ds->SetCachedUpdates(true);
    ds->First();
    ds->Delete();  // B100999, still in the database
    const auto walk = [&] {
        QStringList names;
        for (ds->First(); !ds->Eof(); ds->Next())
            names.append(ds->FieldByName(u"BookName"_s)->AsString());
        return names;
    };
    QStringList names = walk();
    ASSERT_EQ(names.size(), 999);
    EXPECT_EQ(names.first(), u"B100998"_s);
    EXPECT_EQ(names.last(), u"C1"_s);  // a new row closes the list until the next open
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 999);
    EXPECT_EQ(ds->RecordCount(), 999);

    ds->CancelUpdates();
    names = walk();
    ASSERT_EQ(names.size(), 1000);
    EXPECT_EQ(names.first(), u"B100999"_s);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 1000);
}

struct ValueCase {
    const char *name;
    QString field;
    QVariant input;
    QVariant expected;
};

TEST_P(DataSetTest, ValuesRoundTripAsTheirFieldTypes)
{
    QString longText;
    for (int i = 0; longText.size() < 100000; ++i)
        longText += u"第%1段：内容简介 'quoted' \\ 100%_done\n"_s.arg(i);
    const QList<ValueCase> cases = {
        {"quote, backslash and wildcards", u"BookName"_s, u"O'Neil \\ 100% _x_ ''"_s,
         u"O'Neil \\ 100% _x_ ''"_s},
        {"very long text", u"ContentIntro"_s, longText, longText},
        {"empty text stays empty", u"Memo"_s, u""_s, u""_s},
        {"money keeps its cents", u"BookPrice"_s, u"35.80"_s, u"35.80"_s},
        {"money from a double", u"BookPrice"_s, 35.8, u"35.80"_s},
        {"money to four places", u"BookPrice"_s, u"12.345678"_s, u"12.3457"_s},
        {"integer from text", u"TotalCount"_s, u" 7 "_s, 7},
        {"date", u"RegDate"_s, QDate(2024, 2, 29), QDate(2024, 2, 29)},
        {"date from ISO text", u"RegDate"_s, u"2024-03-01"_s, QDate(2024, 3, 1)},
        {"blank date is none", u"RegDate"_s, u" "_s, QVariant()},
    };
    auto ds = dataSet(booksSql(), u"Books_view"_s);
    ds->Open();
    for (const ValueCase &c : cases) {
        SCOPED_TRACE(c.name);
        ds->Append();
        set(*ds, u"BookName"_s, QString::fromUtf8(c.name));
        set(*ds, c.field, c.input);
        ds->Post();
        const QVariant key = ds->LastInsertKey();
        ds->Reopen();
        ASSERT_TRUE(ds->Locate(u"BookID"_s, key));
        EXPECT_EQ(value(*ds, c.field), c.expected);
        EXPECT_EQ(ds->FieldByName(c.field)->IsNull(), !c.expected.isValid());
    }
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Books_tab WHERE Memo = ''"_s), u"1"_s);

    // Text longer than its column is refused, not cut.
    ds->Edit();
    EXPECT_THROW(set(*ds, u"BookName"_s, QString(101, u'书')), TDbError);
    EXPECT_THROW(set(*ds, u"TotalCount"_s, u"seven"_s), TDbError);
    EXPECT_THROW(set(*ds, u"RegDate"_s, u"29/02/2024"_s), TDbError);
    EXPECT_THROW(set(*ds, u"BookPrice"_s, u"35,80"_s), TDbError);
    ds->Cancel();
}

TEST_P(DataSetTest, MoneyAndDatesReadBackExactly)
{
    exec(u"INSERT INTO Books_tab (BookName, BookPrice, RegDate) VALUES ('a', 0.10, '2024-01-05')"_s);
    exec(u"INSERT INTO Books_tab (BookName, BookPrice, RegDate) VALUES ('b', 0.20, '2024-01-06 10:30:00')"_s);
    exec(u"UPDATE Books_tab SET BookPrice = BookPrice + 0.20 WHERE BookName = 'a'"_s);
    auto ds = dataSet(u"SELECT * FROM Books_view ORDER BY BookName"_s, u"Books_view"_s);
    ds->Open();
    EXPECT_EQ(value(*ds, u"BookPrice"_s), QVariant(u"0.30"_s));
    EXPECT_EQ(value(*ds, u"RegDate"_s), QVariant(QDate(2024, 1, 5)));
    ds->Next();
    EXPECT_EQ(ds->FieldByName(u"RegDate"_s)->AsDate(), QDate(2024, 1, 6));  // the date alone

    auto sum = dataSet(u"SELECT SUM(BookPrice) AS Total FROM Books_tab"_s);
    sum->Open();
    EXPECT_EQ(sum->Field(0)->AsString(), u"0.50"_s);
    EXPECT_EQ(ds->SumOf(u"BookPrice"_s), QVariant(u"0.50"_s));

    // Posting leaves a computed sum exact, and the optimistic check still
    // finds the row although the stored value came from arithmetic.
    ds->First();
    ds->Edit();
    set(*ds, u"Memo"_s, u"checked"_s);
    ds->Post();
    ds->Delete();
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Books_tab"_s), u"1"_s);
}

TEST_P(DataSetTest, LocateBookmarksAndClientFilter)
{
    exec(u"UPDATE UserFun_tab SET FunMemo = 'Loans' WHERE FunKey = 31"_s);
    auto ds = dataSet(u"SELECT * FROM UserFun_tab ORDER BY FunCode"_s, u"UserFun_tab"_s);
    ds->Open();
    const int all = ds->RecordCount();
    EXPECT_TRUE(ds->Locate(u"FunKey"_s, 31));
    EXPECT_EQ(ds->FieldByName(u"FunName"_s)->AsString(), u"借书还书续借"_s);
    EXPECT_FALSE(ds->Locate(u"FunKey"_s, 99));
    EXPECT_EQ(ds->FieldByName(u"FunKey"_s)->AsInteger(), 31);  // stays where it was
    EXPECT_FALSE(ds->Locate(u"FunMemo"_s, u"LOANS"_s));
    EXPECT_TRUE(ds->Locate(u"FunMemo"_s, u"LOANS"_s, true));

    const TDataSet::TBookmark mark = ds->Bookmark();
    ds->First();
    ASSERT_TRUE(ds->Locate(u"FunKey"_s, 11));
    ds->Delete();  // a row above the bookmarked one goes
    ds->Last();
    EXPECT_TRUE(ds->BookmarkValid(mark));
    ASSERT_TRUE(ds->GotoBookmark(mark));
    EXPECT_EQ(ds->FieldByName(u"FunKey"_s)->AsInteger(), 31);

    ds->SetFilter(u"FunCate=3"_s);
    EXPECT_EQ(ds->RecordCount(), all - 1);  // not filtered yet
    ds->SetFiltered(true);
    EXPECT_EQ(ds->RecordCount(), 2);
    EXPECT_EQ(ds->FieldByName(u"FunKey"_s)->AsInteger(), 31);
    ds->SetFilter(u"FunCate=5 and FunName='用户授权设置'"_s);
    EXPECT_EQ(ds->RecordCount(), 1);
    // A row edited out of the filter leaves the filtered rows.
    ds->Edit();
    set(*ds, u"FunCate"_s, 4);
    ds->Post();
    EXPECT_EQ(ds->RecordCount(), 0);
    EXPECT_THROW(ds->SetFilter(u"NoSuchField=1"_s), TDbError);
    ds->SetFiltered(false);
    EXPECT_EQ(ds->RecordCount(), all - 1);

    ds->Reopen();
    EXPECT_FALSE(ds->BookmarkValid(mark));
    EXPECT_FALSE(ds->GotoBookmark(mark));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DataSetTest, BothKinds, KindName);

} // namespace
