#include "DMPas.h"

#include "AppPaths.h"
#include "DataSet.h"
#include "DbError.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

TDM1 *DM1 = nullptr;

QString ConnectFailureMessage(const QString &errorText)
{
    return u"连接数据库失败。请根据以下错误信息检查数据库、网络以及客户端配置是否正确。\r\n"
           "详细错误信息如下：\r\n%1"_s.arg(errorText);
}

TDM1::TDM1(QObject *parent) : QObject(parent)
{
    setObjectName(u"DM1"_s);
    if (!DM1)
        DM1 = this;
    createDataSets();
    installRules();
}

TDM1::~TDM1()
{
    // Datasets go before the connection they read from, so they are not
    // children left to the QObject destructor (which runs after the members').
    qDeleteAll(DataSets());
    if (DM1 == this)
        DM1 = nullptr;
}

bool TDM1::ConnectDatabase()
{
    return ConnectDatabase(ReadConnectionSettings(GetConfigPath(), GetAppPath()));
}

bool TDM1::ConnectDatabase(const TConnectionSettings &s)
{
    m_connectError.clear();
    if (s.isPostgreSQL()) {
        DatabaseKindText = u"PostgreSQL"_s;
        DatabaseName = s.PgDBName;
        DatabaseServer = s.PgServer;
    } else if (s.isSQLite()) {
        DatabaseKindText = u"SQLite"_s;
        DatabaseName = QFileInfo(s.SQLiteFile).absoluteFilePath();
        DatabaseServer.clear();
    } else {
        DatabaseKindText = u"Microsoft SQL Server"_s;
        DatabaseName = s.SqlServerDBName;
        DatabaseServer = s.SqlServerServer;
    }
    try {
        DurEzeConn.Open(s);
        // A database without the library's tables is as unusable as a
        // missing one; say so now rather than at the first window.
        DurEzeConn.Select(u"SELECT COUNT(*) FROM UserFun_tab"_s);
    } catch (const TDbError &e) {
        DurEzeConn.Close();
        m_connectError = ConnectFailureMessage(e.message());
        return false;
    }
    prepareBaseSql();
    return true;
}

void TDM1::prepareBaseSql()
{
    GridFilterMarker = Dialect().FilterMarker();
    const QString where = BaseWhereClause();
    ReadersBaseSQL = u"SELECT * FROM Readers_view"_s + where;
    ReaderCateBaseSQL = u"SELECT * FROM ReaderCate_tab"_s + where;
    BooksBaseSQL = u"SELECT * FROM Books_view"_s + where;
    BookCateBaseSQL = u"SELECT * FROM BookCate_tab"_s + where;
    LoanListBaseSQL = u"SELECT * FROM LoanList_view"_s + where;
    PublishersBaseSQL = u"SELECT * FROM Publishers_tab"_s + where;
}
