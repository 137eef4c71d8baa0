#pragma once

// Rows written many to one INSERT statement, for generating large amounts
// of data: on a server every statement costs a round trip, and on SQLite
// every statement its own overhead. Statements are prepared once per number
// of rows and reused with bound values.

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

class TDurEzeConn;

class TBulkInsert
{
public:
    // `returning` names the columns whose values come back for each row
    // written; the order in which rows come back is not defined, so it
    // should include something that tells the rows apart.
    TBulkInsert(TDurEzeConn &conn, const QString &table, const QStringList &columns,
                const QStringList &returning = {});

    // Adds a row, one value per column; writes the rows gathered so far once
    // there are enough for one statement.
    void add(std::initializer_list<QVariant> row);
    // Writes the rows gathered so far and returns what came back for every
    // row written since the last flush.
    QList<QVariantList> flush();

    static constexpr int RowsPerStatement = 100;

private:
    void write();
    QSqlQuery &statementFor(int rows);

    TDurEzeConn &m_conn;
    QString m_table;
    QStringList m_columns;
    QStringList m_returning;
    QVariantList m_values;  // the gathered rows, one after the other
    QList<QVariantList> m_returned;
    QHash<int, QSqlQuery> m_statements;  // by number of rows
};
