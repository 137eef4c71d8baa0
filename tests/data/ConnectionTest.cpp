// The shared connection: transactions that leave nothing behind on failure,
// and two workstations writing to one SQLite file at once.

#include "support/TestDb.h"

#include "data/DbError.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QThread>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

int count(TDurEzeConn &conn, const QString &table)
{
    QSqlQuery q = conn.Select(u"SELECT COUNT(*) FROM "_s + table);
    return q.next() ? q.value(0).toInt() : -1;
}

class ConnectionTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
    }
    std::unique_ptr<TTestDb> db;
};

TEST_P(ConnectionTest, FailedMultiTableChangeLeavesNothing)
{
    TDurEzeConn &conn = db->conn();
    conn.Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (1, 'B1')"_s);
    try {
        TTransaction tx(conn);
        conn.Execute(u"INSERT INTO Books_tab (BookName) VALUES ('新书')"_s);
        conn.Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (2, 'B1')"_s);  // refused
        tx.Commit();
        FAIL() << "the duplicate barcode was accepted";
    } catch (const TDbError &e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_TRUE(e.detail().contains(u"Copies_tab"_s));
    }
    EXPECT_FALSE(conn.InTransaction());
    EXPECT_EQ(count(conn, u"Books_tab"_s), 0);
    EXPECT_EQ(count(conn, u"Copies_tab"_s), 1);

    // The connection is usable at once, and a committed change stays.
    {
        TTransaction tx(conn);
        conn.Execute(u"INSERT INTO Books_tab (BookName) VALUES ('新书')"_s);
        tx.Commit();
    }
    EXPECT_EQ(count(conn, u"Books_tab"_s), 1);
    EXPECT_EQ(conn.Execute(u"UPDATE Books_tab SET Author = '某人'"_s), 1);
}

// A statement that failed inside a transaction, even when its error was
// caught, makes the commit fail: it is never reported as saved.
TEST_P(ConnectionTest, CommitAfterACaughtFailureIsNotASuccess)
{
    TDurEzeConn &conn = db->conn();
    conn.Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (1, 'B1')"_s);
    {
        TTransaction tx(conn);
        conn.Execute(u"INSERT INTO Books_tab (BookName) VALUES ('新书')"_s);
        EXPECT_THROW(conn.Execute(u"INSERT INTO Copies_tab (BookID, BookBarCode) VALUES (2, 'B1')"_s),
                     TDbError);
        if (GetParam() == DatabaseKind::PostgreSQL) {
            EXPECT_THROW(tx.Commit(), TDbError);
        } else {
            // SQLite keeps the transaction going after a failed statement.
            tx.Commit();
        }
    }
    EXPECT_FALSE(conn.InTransaction());
    EXPECT_EQ(count(conn, u"Books_tab"_s), GetParam() == DatabaseKind::PostgreSQL ? 0 : 1);
}

TEST_P(ConnectionTest, SecondWriterWaitsForTheFirst)
{
    TDurEzeConn &first = db->conn();
    first.BeginTransaction();
    first.Execute(u"INSERT INTO Books_tab (BookName) VALUES ('一')"_s);

    std::atomic<bool> started = false;
    std::atomic<bool> done = false;
    QString error;
    const TConnectionSettings settings = db->settings();
    QThread *writer = QThread::create([&] {
        try {
            TDurEzeConn second;  // another workstation
            second.Open(settings);
            started = true;
            TTransaction tx(second);
            second.Execute(u"INSERT INTO Books_tab (BookName) VALUES ('二')"_s);
            tx.Commit();
        } catch (const TDbError &e) {
            error = e.fullText();
        }
        done = true;
    });
    writer->start();
    while (!started)
        QThread::msleep(5);
    QThread::msleep(300);
    first.Commit();
    writer->wait();
    delete writer;
    EXPECT_TRUE(done);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(count(first, u"Books_tab"_s), 2);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ConnectionTest, BothKinds, KindName);

} // namespace
