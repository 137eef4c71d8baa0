#pragma once

// Everything that differs between the database kinds lives behind this one
// interface; the rest of the program writes SQL that both kinds accept and
// asks the process-wide dialect for the few pieces that differ.

#include "Schema.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class QSqlDatabase;

enum class DatabaseKind { SQLite, PostgreSQL };

class TDialect
{
public:
    virtual ~TDialect() = default;

    virtual DatabaseKind Kind() const = 0;
    virtual QString KindText() const = 0;   // the `DatabaseKindText`
    virtual QString DriverName() const = 0; // the QtSql driver

    // Statements run right after the connection opens.
    virtual QStringList SessionSetup() const = 0;
    // Starts a write transaction. SQLite takes the write lock at once, so two
    // writers queue on the busy timeout instead of failing halfway.
    virtual QString BeginTransactionSql() const = 0;

    // The WHERE suffix of every base SELECT: " WHERE " CR marker-line " ".
    QString BaseWhereClause() const;
    // The line prefix that the grids' filter row rewrites (compared
    // without regard to letter case).
    QString FilterMarker() const;

    // SQL that yields the database's current date and time; empty when the
    // workstation clock is the reference.
    virtual QString CurrentDateTimeSql() const = 0;
    // A date (and its time of day when that is not midnight) as an SQL literal.
    QString DateLiteral(const QDateTime &value) const;
    // A date column plus N days.
    virtual QString AddDays(const QString &dateExpr, int days) const = 0;
    // Empties a table.
    virtual QString EmptyTableSql(const QString &table) const = 0;

    // DDL from the schema definition.
    virtual QString ColumnTypeSql(const Schema::Column &c) const = 0;
    QStringList CreateTableSql(const Schema::Table &t) const;
    QString CreateViewSql(const Schema::View &v) const;
    QString CreateIndexSql(const Schema::Index &ix) const;
    QStringList SchemaSql() const;  // every table, view and index, in order
};

// The dialect of a kind.
std::unique_ptr<TDialect> MakeDialect(DatabaseKind kind);

// The one quoting function for values that reach SQL text: an SQL string
// literal with inner single quotes doubled. Throws TDbError on a NUL
// character, which no literal can carry safely.
QString QuotedStr(const QString &value);
