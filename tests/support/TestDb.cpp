#include "TestDb.h"

#include "data/DbSetup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QAtomicInt>

using namespace Qt::StringLiterals;

TConnectionSettings PostgresSettings(const QString &dbName)
{
    TConnectionSettings s;
    s.DBType = 2;
    s.PgServer = qEnvironmentVariable("VELLUMARK_PG_HOST");
    s.PgPort = qEnvironmentVariableIntValue("VELLUMARK_PG_PORT");
    s.PgDBName = dbName;
    s.PgUser = u"postgres"_s;
    return s;
}

bool PostgresAvailable()
{
    return !qEnvironmentVariableIsEmpty("VELLUMARK_PG_HOST");
}

QString UniqueDatabaseName()
{
    static QAtomicInt counter;
    return u"vmtest_%1_%2"_s.arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1));
}

std::string KindName(const ::testing::TestParamInfo<DatabaseKind> &info)
{
    return info.param == DatabaseKind::SQLite ? "SQLite" : "PostgreSQL";
}

TTestDb::TTestDb(DatabaseKind kind) : m_kind(kind)
{
    if (kind == DatabaseKind::SQLite) {
        m_settings.DBType = 0;
        m_settings.SQLiteFile = m_dir.filePath(u"test.db"_s);
    } else {
        m_settings = PostgresSettings(UniqueDatabaseName());
    }
    CreateDatabase(m_settings);
    m_conn = openAnother();
}

TTestDb::~TTestDb()
{
    m_conn.reset();
    try {
        DropDatabase(m_settings);
    } catch (...) {
        // A leftover database in a throwaway server does no harm.
    }
}

std::unique_ptr<TDurEzeConn> TTestDb::openAnother() const
{
    auto conn = std::make_unique<TDurEzeConn>();
    conn->Open(m_settings);
    return conn;
}
