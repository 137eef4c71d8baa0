#include "DurEzeConn.h"

#include "DbError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString driverText(const QSqlError &e)
{
    QString text = e.text().trimmed();
    if (text.isEmpty())
        text = e.driverText().trimmed();
    return text;
}

} // namespace

TDurEzeConn::TDurEzeConn()
{
    static QAtomicInt counter;
    m_name = u"DurEzeConn%1"_s.arg(counter.fetchAndAddRelaxed(1));
    m_dialect = MakeDialect(DatabaseKind::SQLite);
}

TDurEzeConn::~TDurEzeConn()
{
    Close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void TDurEzeConn::Open(const TConnectionSettings &s)
{
    Close();
    if (s.isSQLite()) {
        if (!QFileInfo(s.SQLiteFile).isFile())
            throw TDbError(u"数据库文件不存在：%1"_s.arg(s.SQLiteFile));
        m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
        m_db.setDatabaseName(s.SQLiteFile);
        m_db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=15000"_s);
        openWith(u"QSQLITE"_s, DatabaseKind::SQLite);
    } else if (s.isPostgreSQL()) {
        m_db = QSqlDatabase::addDatabase(u"QPSQL"_s, m_name);
        m_db.setHostName(s.PgServer);
        m_db.setPort(s.PgPort);
        m_db.setDatabaseName(s.PgDBName);
        m_db.setUserName(s.PgUser);
        m_db.setPassword(s.PgPassword);
        m_db.setConnectOptions(u"connect_timeout=10"_s);
        openWith(u"QPSQL"_s, DatabaseKind::PostgreSQL);
    } else {
        throw TDbError(u"本程序不支持 DBType=%1 所指的 Microsoft SQL Server 数据库。"
                       "请在 Config.INI 中把 DBType 设为 0（SQLite）或 2（PostgreSQL）。"_s
                           .arg(s.DBType));
    }
}

void TDurEzeConn::CreateSQLite(const QString &fileName)
{
    Close();
    m_db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
    m_db.setDatabaseName(fileName);
    m_db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=15000"_s);
    openWith(u"QSQLITE"_s, DatabaseKind::SQLite);
}

void TDurEzeConn::openWith(const QString &driver, DatabaseKind kind)
{
    if (!QSqlDatabase::isDriverAvailable(driver))
        throw TDbError(u"缺少数据库驱动 %1。"_s.arg(driver));
    m_dialect = MakeDialect(kind);
    if (!m_db.open()) {
        const QString text = driverText(m_db.lastError());
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw TDbError(text.isEmpty() ? u"无法打开数据库。"_s : text);
    }
    try {
        for (const QString &sql : m_dialect->SessionSetup())
            Execute(sql);
    } catch (...) {
        Close();
        throw;
    }
}

void TDurEzeConn::Close()
{
    if (m_db.isOpen()) {
        if (m_inTransaction) {
            QSqlQuery(m_db).exec(u"ROLLBACK"_s);
            m_inTransaction = false;
        }
        m_db.close();
    }
}

bool TDurEzeConn::IsOpen() const
{
    return m_db.isOpen();
}

QSqlQuery TDurEzeConn::run(const QString &sql, const QVariantList *values)
{
    if (!m_db.isOpen())
        throw TDbError(u"数据库没有连接。"_s, sql);
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    bool ok;
    if (values) {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant &v : *values)
                q.addBindValue(v);
            ok = q.exec();
        }
    } else {
        ok = q.exec(sql);
    }
    if (!ok)
        throw TDbError(u"数据库操作失败：%1"_s.arg(driverText(q.lastError())), u"SQL: "_s + sql);
    return q;
}

int TDurEzeConn::Execute(const QString &sql)
{
    return run(sql, nullptr).numRowsAffected();
}

QSqlQuery TDurEzeConn::Select(const QString &sql)
{
    return run(sql, nullptr);
}

QSqlQuery TDurEzeConn::ExecuteBound(const QString &sql, const QVariantList &values)
{
    return run(sql, &values);
}

void TDurEzeConn::BeginTransaction()
{
    if (m_inTransaction)
        throw TDbError(u"上一个数据库事务还没有结束。"_s);
    Execute(m_dialect->BeginTransactionSql());
    m_inTransaction = true;
}

void TDurEzeConn::Commit()
{
    if (!m_db.isOpen())
        throw TDbError(u"数据库没有连接。"_s, u"COMMIT"_s);
    // Not a plain statement: PostgreSQL answers COMMIT with ROLLBACK, and no
    // error, when a statement of the transaction failed; the driver's commit
    // notices. The transaction stays marked open for the caller's rollback.
    if (!m_db.commit())
        throw TDbError(u"数据库操作失败，所做的修改没有保存：%1"_s.arg(driverText(m_db.lastError())),
                       u"SQL: COMMIT"_s);
    m_inTransaction = false;
    for (const auto &follow : std::exchange(m_afterCommit, {}))
        follow();
}

void TDurEzeConn::AfterCommit(std::function<void()> follow)
{
    if (m_inTransaction)
        m_afterCommit.push_back(std::move(follow));
    else
        follow();
}

void TDurEzeConn::Rollback()
{
    m_inTransaction = false;
    m_afterCommit.clear();
    Execute(u"ROLLBACK"_s);
}

QStringList TDurEzeConn::TableNames() const
{
    return m_db.tables(QSql::Tables);
}
