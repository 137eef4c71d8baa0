#include "DbSetup.h"

#include "DbError.h"
#include "DurEzeConn.h"
#include "Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

QString quotedIdent(const QString &name)
{
    QString n = name;
    n.replace(u'"', u"\"\""_s);
    return u'"' + n + u'"';
}

// A connection to the server's maintenance database, for creating and
// looking up databases.
TConnectionSettings maintenanceSettings(const TConnectionSettings &s)
{
    TConnectionSettings m = s;
    m.PgDBName = u"postgres"_s;
    return m;
}

bool pgDatabaseExists(TDurEzeConn &server, const QString &name)
{
    QSqlQuery q = server.ExecuteBound(u"SELECT 1 FROM pg_database WHERE datname = ?"_s, {name});
    return q.next();
}

void insertSeedRows(TDurEzeConn &conn)
{
    for (const Schema::SeedRow &row : Schema::SeedRows()) {
        QStringList names, marks;
        QVariantList values;
        for (const auto &[name, value] : row.values) {
            names.append(name);
            marks.append(u"?"_s);
            values.append(value);
        }
        conn.ExecuteBound(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(row.table, names.join(u", "_s),
                                                                   marks.join(u", "_s)),
                          values);
    }
}

} // namespace

void CreateSchema(TDurEzeConn &conn)
{
    TTransaction tx(conn);
    for (const QString &sql : conn.Dialect().SchemaSql())
        conn.Execute(sql);
    insertSeedRows(conn);
    tx.Commit();
}

bool DatabaseExists(const TConnectionSettings &s)
{
    if (s.isSQLite())
        return QFileInfo::exists(s.SQLiteFile);
    TDurEzeConn server;
    server.Open(maintenanceSettings(s));
    return pgDatabaseExists(server, s.PgDBName);
}

void CreateDatabase(const TConnectionSettings &s)
{
    if (s.isSQLite()) {
        if (QFileInfo::exists(s.SQLiteFile))
            throw TDbError(u"数据库文件已经存在，不会改动它：%1"_s.arg(s.SQLiteFile));
        try {
            TDurEzeConn conn;
            conn.CreateSQLite(s.SQLiteFile);
            CreateSchema(conn);
        } catch (...) {
            DropDatabase(s);
            throw;
        }
        return;
    }
    if (!s.isPostgreSQL())
        throw TDbError(u"只能创建 SQLite（DBType=0）或 PostgreSQL（DBType=2）数据库。"_s);

    TDurEzeConn server;
    server.Open(maintenanceSettings(s));
    if (pgDatabaseExists(server, s.PgDBName))
        throw TDbError(u"数据库 %1 已经存在，不会改动它。"_s.arg(s.PgDBName));
    // UTF-8 with a UTF-8 character class, so Chinese text sorts and matches
    // (trigram indexes ignore it under the plain C locale).
    server.Execute(u"CREATE DATABASE %1 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                   "LC_CTYPE 'C.UTF-8' TEMPLATE template0"_s.arg(quotedIdent(s.PgDBName)));
    try {
        TDurEzeConn conn;
        conn.Open(s);
        CreateSchema(conn);
    } catch (...) {
        try {
            DropDatabase(s);
        } catch (...) {
            // The first error is the one to report.
        }
        throw;
    }
}

void DropDatabase(const TConnectionSettings &s)
{
    if (s.isSQLite()) {
        for (const QString &suffix : {QString(), u"-wal"_s, u"-shm"_s, u"-journal"_s})
            QFile::remove(s.SQLiteFile + suffix);
        return;
    }
    TDurEzeConn server;
    server.Open(maintenanceSettings(s));
    server.Execute(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(quotedIdent(s.PgDBName)));
}
