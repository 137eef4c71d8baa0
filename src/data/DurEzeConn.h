#pragma once

// The one database connection of the process. Every statement goes through
// it; failures surface as TDbError.

#include "AppConfig.h"
#include "Dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TDurEzeConn
{
public:
    TDurEzeConn();
    ~TDurEzeConn();
    TDurEzeConn(const TDurEzeConn &) = delete;
    TDurEzeConn &operator=(const TDurEzeConn &) = delete;

    // Opens the database the settings name. An SQLite file that does not
    // exist is an error: opening never creates one. Throws TDbError with the
    // driver's text as message.
    void Open(const TConnectionSettings &settings);
    // Opens (creating) an SQLite file; only the database tool and tests use it.
    void CreateSQLite(const QString &fileName);
    void Close();
    bool IsOpen() const;

    const TDialect &Dialect() const { return *m_dialect; }
    QSqlDatabase &Database() { return m_db; }
    QString ConnectionName() const { return m_name; }

    // Runs a statement; returns the number of rows it changed.
    int Execute(const QString &sql);
    // Runs a SELECT, forward only.
    QSqlQuery Select(const QString &sql);
    // Runs a statement with bound positional values.
    QSqlQuery ExecuteBound(const QString &sql, const QVariantList &values);

    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_inTransaction; }
    // Runs `follow` once the current transaction commits, or at once outside
    // one; a rollback drops it. Memory that mirrors the database (a
    // dataset's saved rows) follows only what was really saved.
    void AfterCommit(std::function<void()> follow);

    QStringList TableNames() const;

private:
    void openWith(const QString &driver, DatabaseKind kind);
    QSqlQuery run(const QString &sql, const QVariantList *values);

    QString m_name;
    QSqlDatabase m_db;
    std::unique_ptr<TDialect> m_dialect;
    bool m_inTransaction = false;
    std::vector<std::function<void()>> m_afterCommit;
};

// Begins a transaction and rolls it back when left without Commit(), so a
// failure anywhere in a multi-table change leaves the database as it was.
class TTransaction
{
public:
    explicit TTransaction(TDurEzeConn &conn) : m_conn(conn) { m_conn.BeginTransaction(); }
    ~TTransaction()
    {
        if (!m_done) {
            try {
                m_conn.Rollback();
            } catch (...) {
                // Already failing; the first error is the one to report.
            }
        }
    }
    TTransaction(const TTransaction &) = delete;
    TTransaction &operator=(const TTransaction &) = delete;

    void Commit()
    {
        m_conn.Commit();
        m_done = true;
    }

private:
    TDurEzeConn &m_conn;
    bool m_done = false;
};
