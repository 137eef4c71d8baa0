// The sample library and the generator: whatever they write keeps the
// counters, states and links that the programs rely on.

#include "data/DbError.h"
#include "data/DemoLibrary.h"
#include "support/TestDb.h"

#include <gtest/gtest.h>

#include <QDate>
#include <algorithm>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace {

struct TCheck {
    const char *what;
    QString sql;  // counts the rows that break the rule; must give 0
};

// What every library keeps, whether loaded, generated or both.
const QList<TCheck> &invariants()
{
    static const QList<TCheck> checks{
        {"TotalCount is the number of copies of the title",
         u"SELECT COUNT(*) FROM Books_tab b WHERE COALESCE(b.TotalCount, -1) <>"
         " (SELECT COUNT(*) FROM Copies_tab c WHERE c.BookID = b.BookID)"_s},
        {"LoanCount is the number of open loans of the title",
         u"SELECT COUNT(*) FROM Books_tab b WHERE COALESCE(b.LoanCount, -1) <>"
         " (SELECT COUNT(*) FROM LoanList_tab l WHERE l.BookID = b.BookID AND l.IsReturn = 0)"_s},
        {"a copy is lent out exactly when it has an open loan",
         u"SELECT COUNT(*) FROM Copies_tab c WHERE CASE WHEN c.BookState = '借出' THEN 1 ELSE 0 END"
         " <> CASE WHEN EXISTS (SELECT 1 FROM LoanList_tab l WHERE l.CopyID = c.CopyID"
         " AND l.IsReturn = 0) THEN 1 ELSE 0 END"_s},
        {"a copy is either available or lent out",
         u"SELECT COUNT(*) FROM Copies_tab WHERE BookState IS NULL"
         " OR BookState NOT IN ('可借', '借出')"_s},
        {"every copy has a barcode and a title",
         u"SELECT COUNT(*) FROM Copies_tab c WHERE COALESCE(c.BookBarCode, '') = ''"
         " OR NOT EXISTS (SELECT 1 FROM Books_tab b WHERE b.BookID = c.BookID)"_s},
        {"at most one open loan per copy",
         u"SELECT COUNT(*) FROM (SELECT CopyID FROM LoanList_tab WHERE IsReturn = 0"
         " GROUP BY CopyID HAVING COUNT(*) > 1) x"_s},
        {"a loan names its copy's title and an existing reader",
         u"SELECT COUNT(*) FROM LoanList_tab l LEFT JOIN Copies_tab c ON c.CopyID = l.CopyID"
         " LEFT JOIN Readers_tab r ON r.ReaderID = l.ReaderID"
         " WHERE c.BookID IS NULL OR c.BookID <> l.BookID OR r.ReaderID IS NULL"_s},
        {"no reader holds more than the category allows",
         u"SELECT COUNT(*) FROM Readers_tab r JOIN ReaderCate_tab rc"
         " ON rc.ReaderCateID = r.ReaderCateID WHERE COALESCE(rc.LimitBooksCount, 0) <"
         " (SELECT COUNT(*) FROM LoanList_tab l WHERE l.ReaderID = r.ReaderID"
         " AND l.IsReturn = 0)"_s},
        {"every reader has a category",
         u"SELECT COUNT(*) FROM Readers_tab r WHERE NOT EXISTS"
         " (SELECT 1 FROM ReaderCate_tab rc WHERE rc.ReaderCateID = r.ReaderCateID)"_s},
        {"returned loans carry their return, open ones none",
         u"SELECT COUNT(*) FROM LoanList_tab WHERE (IsReturn = 1 AND (FactReturnDate IS NULL"
         " OR FactReturnTime IS NULL OR ReturnOperator IS NULL OR FactReturnDate < LoanDate))"
         " OR (IsReturn = 0 AND (FactReturnDate IS NOT NULL OR ReturnOperator IS NOT NULL))"
         " OR LoanDate IS NULL OR LoanTime IS NULL OR LoanOperator IS NULL"_s},
        {"every classification code and name is in BookCate_tab",
         u"SELECT COUNT(*) FROM Books_tab b WHERE NOT EXISTS (SELECT 1 FROM BookCate_tab c"
         " WHERE c.BookCateCode = b.CateCode AND c.BookCateName = b.CateName)"_s},
        {"every publisher and place is in Publishers_tab",
         u"SELECT COUNT(*) FROM Books_tab b WHERE NOT EXISTS (SELECT 1 FROM Publishers_tab p"
         " WHERE p.PublisherName = b.Publisher AND p.PublisherPlace = b.PublishPlace)"_s},
        {"every category hangs under the root or an existing parent",
         u"SELECT COUNT(*) FROM BookCate_tab c WHERE c.BookCateParentID <> 0 AND NOT EXISTS"
         " (SELECT 1 FROM BookCate_tab p WHERE p.BookCateID = c.BookCateParentID)"_s},
        {"titles carry name, author and holding type",
         u"SELECT COUNT(*) FROM Books_tab WHERE COALESCE(BookName, '') = ''"
         " OR COALESCE(Author, '') = '' OR COALESCE(BookType, '') = ''"_s},
    };
    return checks;
}

// What the sample library adds on top: its values come from its own
// dictionary, and it is big enough to be worth looking at.
const QList<TCheck> &sampleChecks()
{
    static const QList<TCheck> checks{
        {"holding types are dictionary items",
         u"SELECT COUNT(*) FROM Books_tab b WHERE NOT EXISTS (SELECT 1 FROM Items_tab i"
         " WHERE i.ItemCate = 2 AND i.ItemName = b.BookType)"_s},
        {"rooms and shelf positions are dictionary items",
         u"SELECT COUNT(*) FROM Copies_tab c WHERE NOT EXISTS (SELECT 1 FROM Items_tab i"
         " WHERE i.ItemCate = 3 AND i.ItemName = c.BookRoom) OR NOT EXISTS (SELECT 1 FROM"
         " Items_tab i WHERE i.ItemCate = 4 AND i.ItemName = c.BookPos)"_s},
        {"work units and departments are dictionary items",
         u"SELECT COUNT(*) FROM Readers_tab r WHERE NOT EXISTS (SELECT 1 FROM Items_tab i"
         " WHERE i.ItemCate = 0 AND i.ItemName = r.CorpName) OR NOT EXISTS (SELECT 1 FROM"
         " Items_tab i WHERE i.ItemCate = 1 AND i.ItemName = r.DeptName)"_s},
        {"places of publication are dictionary items",
         u"SELECT COUNT(*) FROM Publishers_tab p WHERE NOT EXISTS (SELECT 1 FROM Items_tab i"
         " WHERE i.ItemCate = 5 AND i.ItemName = p.PublisherPlace)"_s},
        {"every dictionary category 0..10 has items",
         u"SELECT 11 - COUNT(DISTINCT ItemCate) FROM Items_tab WHERE ItemCate BETWEEN 0 AND 10"_s},
        {"item codes count 1.. within each category",
         u"SELECT COUNT(*) FROM (SELECT ItemCate FROM Items_tab GROUP BY ItemCate"
         " HAVING MIN(ItemCode) <> 1 OR MAX(ItemCode) <> COUNT(*)"
         " OR COUNT(DISTINCT ItemCode) <> COUNT(*)) x"_s},
        {"the 22 main classes are the top level",
         u"SELECT 22 - COUNT(*) FROM BookCate_tab WHERE BookCateParentID = 0"
         " AND LENGTH(BookCateCode) = 1"_s},
        {"at least 200 titles",
         u"SELECT CASE WHEN COUNT(*) >= 200 THEN 0 ELSE 1 END FROM Books_tab"_s},
        {"at least 60 readers",
         u"SELECT CASE WHEN COUNT(*) >= 60 THEN 0 ELSE 1 END FROM Readers_tab"_s},
        {"some periodicals with ISSN, CN and frequency",
         u"SELECT CASE WHEN COUNT(*) >= 3 THEN 0 ELSE 1 END FROM Books_tab WHERE BookType = '期刊'"
         " AND CN IS NOT NULL AND PublishPeriods IS NOT NULL AND LENGTH(ISBNISSN) = 9"_s},
        {"open and returned loans", u"SELECT CASE WHEN SUM(IsReturn) >= 5 AND"
         " SUM(1 - IsReturn) >= 5 THEN 0 ELSE 1 END FROM LoanList_tab"_s},
        {"the sample loans were made by Admin",
         u"SELECT COUNT(*) FROM LoanList_tab WHERE LoanOperator <> 'Admin'"_s},
    };
    return checks;
}

qint64 scalar(TDurEzeConn &conn, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q = conn.ExecuteBound(sql, values);
    EXPECT_TRUE(q.next()) << sql.toStdString();
    return q.value(0).toLongLong();
}

void expectChecksHold(TDurEzeConn &conn, const QList<TCheck> &checks)
{
    for (const TCheck &c : checks)
        EXPECT_EQ(scalar(conn, c.sql), 0) << c.what;
}

// The due date of every loan is its loan date plus the reader's loan period.
void expectDueDatesFollowCategories(TDurEzeConn &conn)
{
    QSqlQuery q = conn.Select(u"SELECT l.LoanDate, l.ShouldReturnDate, rc.LimitDays"
                              " FROM LoanList_tab l JOIN Readers_tab r ON r.ReaderID = l.ReaderID"
                              " JOIN ReaderCate_tab rc ON rc.ReaderCateID = r.ReaderCateID"_s);
    int loans = 0;
    while (q.next()) {
        ++loans;
        const QDate loanDate = q.value(0).toDate();
        ASSERT_TRUE(loanDate.isValid());
        EXPECT_EQ(q.value(1).toDate(), loanDate.addDays(q.value(2).toInt()));
    }
    EXPECT_GT(loans, 0);
}

// One row per table: name and number of rows, to see that nothing changed.
QStringList tableSizes(TDurEzeConn &conn)
{
    QStringList sizes;
    for (const QString &table : {u"Books_tab"_s, u"Copies_tab"_s, u"BookCate_tab"_s,
                                 u"Publishers_tab"_s, u"Items_tab"_s, u"Readers_tab"_s,
                                 u"ReaderCate_tab"_s, u"LoanList_tab"_s})
        sizes.append(u"%1=%2"_s.arg(table).arg(scalar(conn, u"SELECT COUNT(*) FROM "_s + table)));
    sizes.append(u"LoanCount=%1"_s.arg(scalar(conn, u"SELECT SUM(LoanCount) FROM Books_tab"_s)));
    return sizes;
}

bool validIsbn13(QString isbn)
{
    isbn.remove(u'-');
    if (isbn.size() != 13)
        return false;
    int sum = 0;
    for (int i = 0; i < 13; ++i)
        sum += isbn.at(i).digitValue() * (i % 2 ? 3 : 1);
    return sum % 10 == 0;
}

bool validIssn(QString issn)
{
    issn.remove(u'-');
    if (issn.size() != 8)
        return false;
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += issn.at(i).digitValue() * (8 - i);
    const int check = (11 - sum % 11) % 11;
    return issn.at(7) == (check == 10 ? QChar(u'X') : QChar(u'0' + check));
}

class DemoLibraryTest : public ::testing::TestWithParam<DatabaseKind>
{
};

TEST_P(DemoLibraryTest, SampleLibraryIsConsistentAndRealistic)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    LoadDemoLibrary(db.conn());

    expectChecksHold(db.conn(), invariants());
    expectChecksHold(db.conn(), sampleChecks());
    expectDueDatesFollowCategories(db.conn());

    // Dates count back from today, so some loans are always late.
    EXPECT_GT(scalar(db.conn(), u"SELECT COUNT(*) FROM LoanList_tab WHERE IsReturn = 0"
                                " AND ShouldReturnDate < ?"_s,
                     {QDate::currentDate().toString(Qt::ISODate)}),
              0);

    // Book numbers carry their publisher's prefix and a valid check digit.
    QSqlQuery q = db.conn().Select(
        u"SELECT b.ISBNISSN, b.BookType, p.PublisherISBN FROM Books_tab b"
        " JOIN Publishers_tab p ON p.PublisherName = b.Publisher"_s);
    while (q.next()) {
        const QString number = q.value(0).toString();
        if (q.value(1).toString() == u"期刊") {
            EXPECT_TRUE(validIssn(number)) << number.toStdString();
        } else {
            EXPECT_TRUE(validIsbn13(number)) << number.toStdString();
            EXPECT_TRUE(number.startsWith(q.value(2).toString() + u'-')) << number.toStdString();
        }
    }
}

TEST_P(DemoLibraryTest, SecondLoadIsRefusedAndChangesNothing)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    LoadDemoLibrary(db.conn());
    const QStringList before = tableSizes(db.conn());

    try {
        LoadDemoLibrary(db.conn());
        FAIL() << "a second load was accepted";
    } catch (const TDbError &e) {
        EXPECT_TRUE(e.message().contains(u"已有书刊"_s)) << e.message().toStdString();
    }
    EXPECT_EQ(tableSizes(db.conn()), before);
    EXPECT_FALSE(db.conn().InTransaction());
}

TEST_P(DemoLibraryTest, FailedLoadLeavesTheDatabaseAsItWas)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    // A reader typed in by hand holds a card number the sample uses too, so
    // the load fails when it reaches the readers, after the catalogue.
    db.conn().ExecuteBound(u"INSERT INTO ReaderCate_tab (ReaderCateName) VALUES (?)"_s, {u"临时"_s});
    db.conn().ExecuteBound(u"INSERT INTO Readers_tab (ReaderName, CardID, ReaderCateID)"
                           " VALUES (?, ?, (SELECT MAX(ReaderCateID) FROM ReaderCate_tab))"_s,
                           {u"张三"_s, u"20240001"_s});
    const QStringList before = tableSizes(db.conn());

    EXPECT_THROW(LoadDemoLibrary(db.conn()), TDbError);
    EXPECT_EQ(tableSizes(db.conn()), before);
}

// Generates `titles` more and checks the count, the progress reports and
// every invariant.
void generateAndCheck(TDurEzeConn &conn, int titles)
{
    const qint64 before = scalar(conn, u"SELECT COUNT(*) FROM Books_tab"_s);
    const bool sqlite = conn.Dialect().Kind() == DatabaseKind::SQLite;
    const qint64 synchronous = sqlite ? scalar(conn, u"PRAGMA synchronous"_s) : 0;
    QList<int> reports;
    GenerateLibrary(conn, titles, [&](int done) { reports.append(done); });

    // The generator's fast, unsafe writing ends with it.
    if (sqlite) {
        EXPECT_EQ(scalar(conn, u"PRAGMA synchronous"_s), synchronous);
    }

    EXPECT_EQ(scalar(conn, u"SELECT COUNT(*) FROM Books_tab"_s), before + titles);
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.last(), titles);
    EXPECT_TRUE(std::is_sorted(reports.cbegin(), reports.cend()));
    expectChecksHold(conn, invariants());
    expectDueDatesFollowCategories(conn);
    EXPECT_GT(scalar(conn, u"SELECT COUNT(*) FROM LoanList_tab WHERE IsReturn = 0"_s), 0);
    EXPECT_GT(scalar(conn, u"SELECT COUNT(*) FROM LoanList_tab WHERE IsReturn = 1"_s), 0);
}

TEST_P(DemoLibraryTest, GenerateIntoEmptyDatabaseTwice)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    generateAndCheck(db.conn(), 2000);
    // About one reader per 20 titles and one loan per 10.
    EXPECT_EQ(scalar(db.conn(), u"SELECT COUNT(*) FROM Readers_tab"_s), 100);
    EXPECT_EQ(scalar(db.conn(), u"SELECT COUNT(*) FROM LoanList_tab"_s), 200);
    // A second run continues the barcodes and reader numbers of the first.
    generateAndCheck(db.conn(), 2000);
}

TEST_P(DemoLibraryTest, GenerateOnTopOfTheSampleLibrary)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    LoadDemoLibrary(db.conn());
    const qint64 categories = scalar(db.conn(), u"SELECT COUNT(*) FROM BookCate_tab"_s);
    generateAndCheck(db.conn(), 2000);
    // The sample's classification and publishers serve the new titles too.
    EXPECT_EQ(scalar(db.conn(), u"SELECT COUNT(*) FROM BookCate_tab"_s), categories);
}

TEST_P(DemoLibraryTest, GenerateKeepsReadersWithinTightLimits)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    // Categories that allow one book, or none at all (limits left empty).
    db.conn().ExecuteBound(u"INSERT INTO ReaderCate_tab (ReaderCateName, LimitBooksCount,"
                           " LimitDays) VALUES (?, 1, 14)"_s, {u"限借一本"_s});
    db.conn().ExecuteBound(u"INSERT INTO ReaderCate_tab (ReaderCateName) VALUES (?)"_s,
                           {u"停借"_s});
    generateAndCheck(db.conn(), 2000);
    EXPECT_EQ(scalar(db.conn(), u"SELECT COUNT(*) FROM ReaderCate_tab"_s), 2);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DemoLibraryTest, BothKinds, KindName);

} // namespace
