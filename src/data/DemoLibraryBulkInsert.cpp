#include "DemoLibraryBulkInsert.h"

#include "DbError.h"
#include "DurEzeConn.h"

#include <QSqlError>

#include <utility>

using namespace Qt::StringLiterals;

TBulkInsert::TBulkInsert(TDurEzeConn &conn, const QString &table, const QStringList &columns,
                         const QStringList &returning)
    : m_conn(conn), m_table(table), m_columns(columns), m_returning(returning)
{
}

void TBulkInsert::add(std::initializer_list<QVariant> row)
{
    Q_ASSERT(qsizetype(row.size()) == m_columns.size());
    m_values.append(row);
    if (m_values.size() == RowsPerStatement * m_columns.size())
        write();
}

QList<QVariantList> TBulkInsert::flush()
{
    if (!m_values.isEmpty())
        write();
    return std::exchange(m_returned, {});
}

QSqlQuery &TBulkInsert::statementFor(int rows)
{
    auto it = m_statements.find(rows);
    if (it != m_statements.end())
        return *it;
    const QString row = u"("_s + QStringList(m_columns.size(), u"?"_s).join(u", "_s) + u')';
    QString sql = u"INSERT INTO %1 (%2) VALUES "_s.arg(m_table, m_columns.join(u", "_s)) +
                  QStringList(rows, row).join(u", "_s);
    if (!m_returning.isEmpty())
        sql += u" RETURNING "_s + m_returning.join(u", "_s);
    QSqlQuery q(m_conn.Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw TDbError(u"生成数据失败：%1"_s.arg(q.lastError().text()), sql);
    return *m_statements.insert(rows, q);
}

void TBulkInsert::write()
{
    QSqlQuery &q = statementFor(int(m_values.size() / m_columns.size()));
    for (qsizetype i = 0; i < m_values.size(); ++i)
        q.bindValue(int(i), m_values.at(i));
    m_values.clear();
    if (!q.exec())
        throw TDbError(u"生成数据失败：%1"_s.arg(q.lastError().text()),
                       u"INSERT INTO "_s + m_table);
    while (q.next()) {
        QVariantList values;
        for (int c = 0; c < m_returning.size(); ++c)
            values.append(q.value(c));
        m_returned.append(values);
    }
    q.finish();
}
