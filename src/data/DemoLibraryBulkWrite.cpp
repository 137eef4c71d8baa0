#include "DemoLibraryBulkWrite.h"

#include "DbError.h"
#include "DurEzeConn.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

TBulkWriteSettings::TBulkWriteSettings(TDurEzeConn &conn) : m_conn(conn)
{
    if (conn.Dialect().Kind() != DatabaseKind::SQLite)
        return;
    const QString cacheSize = pragma(u"cache_size"_s);
    m_synchronous = pragma(u"synchronous"_s);
    // About 150 MB of pages (a negative size counts KiB).
    conn.Execute(u"PRAGMA cache_size = -150000"_s);
    conn.Execute(u"PRAGMA synchronous = OFF"_s);
    m_cacheSize = cacheSize;
}

TBulkWriteSettings::~TBulkWriteSettings()
{
    if (m_cacheSize.isEmpty())
        return;
    try {
        m_conn.Execute(u"PRAGMA cache_size = "_s + m_cacheSize);
        m_conn.Execute(u"PRAGMA synchronous = "_s + m_synchronous);
    } catch (const TDbError &) {
        // The connection is failing already; its next use reports it.
    }
}

QString TBulkWriteSettings::pragma(const QString &name)
{
    QSqlQuery q = m_conn.Select(u"PRAGMA "_s + name);
    if (!q.next())
        throw TDbError(u"无法读取数据库设置 %1。"_s.arg(name));
    return QString::number(q.value(0).toInt());
}
