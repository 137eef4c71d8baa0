#pragma once

// Throwaway library databases for tests: a new SQLite file in a temporary
// folder, or a new database on the private PostgreSQL server that CTest
// starts. Each is created by the program's own CreateDatabase, opened, and
// removed again when the object goes.

#include "data/AppConfig.h"
#include "data/Dialect.h"
#include "data/DurEzeConn.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

class TTestDb
{
public:
    // Creates and opens a new database of the kind. For PostgreSQL outside
    // CTest (no server named in the environment) the test is skipped by the
    // caller through PostgresAvailable().
    explicit TTestDb(DatabaseKind kind);
    ~TTestDb();

    const TConnectionSettings &settings() const { return m_settings; }
    TDurEzeConn &conn() { return *m_conn; }
    // A second, independent connection to the same database (another
    // workstation).
    std::unique_ptr<TDurEzeConn> openAnother() const;

private:
    DatabaseKind m_kind;
    QTemporaryDir m_dir;
    TConnectionSettings m_settings;
    std::unique_ptr<TDurEzeConn> m_conn;
};

// Settings of the private PostgreSQL server for a database `dbName`.
TConnectionSettings PostgresSettings(const QString &dbName);
// True when CTest named a PostgreSQL server for the tests.
bool PostgresAvailable();
// A database name that no other test uses.
QString UniqueDatabaseName();

// Both kinds, for INSTANTIATE_TEST_SUITE_P; and a printable name for each.
inline const auto BothKinds = ::testing::Values(DatabaseKind::SQLite, DatabaseKind::PostgreSQL);
std::string KindName(const ::testing::TestParamInfo<DatabaseKind> &info);

// Skips the test when it is PostgreSQL and no server is available.
#define SKIP_WITHOUT_SERVER(kind)                                                 \
    do {                                                                          \
        if ((kind) == DatabaseKind::PostgreSQL && !PostgresAvailable())           \
            GTEST_SKIP() << "no PostgreSQL server named in VELLUMARK_PG_HOST";    \
    } while (0)
