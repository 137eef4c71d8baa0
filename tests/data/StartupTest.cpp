// Config.INI and opening the connection at start-up.

#include "support/TestDb.h"

#include "data/AppConfig.h"
#include "data/AppPaths.h"
#include "data/DMPas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void writeIni(const QString &path, const QString &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

struct IniCase {
    const char *name;
    QString ini;  // empty: no Config.INI at all
    int dbType;
    QString sqliteFile;  // expected; "@" stands for the application folder
};

TEST(ConfigIni, DefaultsAndFileNames)
{
    const QList<IniCase> cases = {
        {"no file", {}, 0, u"@/DurEze.db"_s},
        {"empty sections", u"[Database]\n[SQLite]\n"_s, 0, u"@/DurEze.db"_s},
        {"bare name with blanks", u"[SQLite]\nFileName=\"  馆藏.db  \"\n"_s, 0, u"@/馆藏.db"_s},
        {"relative folder, trimmed, not moved", u"[SQLite]\nFileName=\" data/lib.db \"\n"_s, 0,
         u"data/lib.db"_s},
        {"full path unchanged", u"[SQLite]\nFileName=/srv/library/lib.db\n"_s, 0,
         u"/srv/library/lib.db"_s},
        {"PostgreSQL", u"[Database]\nDBType=2\n"_s, 2, u"@/DurEze.db"_s},
        {"another server kind", u"[Database]\nDBType=1\n"_s, 1, u"@/DurEze.db"_s},
    };
    for (const IniCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString ini = dir.filePath(u"Config.INI"_s);
        if (!c.ini.isEmpty())
            writeIni(ini, c.ini);
        const TConnectionSettings s = ReadConnectionSettings(ini, dir.path());
        EXPECT_EQ(s.DBType, c.dbType);
        QString expected = c.sqliteFile;
        expected.replace(u"@"_s, dir.path());
        EXPECT_EQ(s.SQLiteFile, expected);
    }
}

TEST(ConfigIni, PostgreSQLSection)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"Config.INI"_s);
    TConnectionSettings s = ReadConnectionSettings(ini, dir.path());
    EXPECT_EQ(s.PgServer, u"localhost"_s);
    EXPECT_EQ(s.PgPort, 5432);
    EXPECT_EQ(s.PgDBName, u"DurEzeDB"_s);
    EXPECT_TRUE(s.PgUser.isEmpty());
    EXPECT_TRUE(s.PgPassword.isEmpty());

    writeIni(ini, u"[Database]\nDBType=2\n[PostgreSQL]\nServer=db.library.lan\nPort=6543\n"
                  "DBName=馆藏\nUser=\nPassword=secret\n"_s);
    s = ReadConnectionSettings(ini, dir.path());
    EXPECT_TRUE(s.isPostgreSQL());
    EXPECT_EQ(s.PgServer, u"db.library.lan"_s);
    EXPECT_EQ(s.PgPort, 6543);
    EXPECT_EQ(s.PgDBName, u"馆藏"_s);
    EXPECT_TRUE(s.PgUser.isEmpty());
    EXPECT_EQ(s.PgPassword, u"secret"_s);
}

const QString failurePrefix =
    u"连接数据库失败。请根据以下错误信息检查数据库、网络以及客户端配置是否正确。\r\n详细错误信息如下：\r\n"_s;

TEST(ConnectDatabase, MissingFileFailsWithoutCreatingIt)
{
    QTemporaryDir dir;
    SetAppPathOverride(dir.path());
    TDM1 dm;
    EXPECT_FALSE(dm.ConnectDatabase());
    EXPECT_TRUE(dm.ConnectError().startsWith(failurePrefix));
    EXPECT_TRUE(dm.ConnectError().contains(dir.filePath(u"DurEze.db"_s)));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"DurEze.db"_s)));
    EXPECT_FALSE(dm.DurEzeConn.IsOpen());
    SetAppPathOverride({});
}

TEST(ConnectDatabase, FileThatIsNoLibraryDatabaseFails)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"other.db"_s);
    writeIni(path, u"这不是数据库"_s);
    TConnectionSettings s;
    s.SQLiteFile = path;
    TDM1 dm;
    EXPECT_FALSE(dm.ConnectDatabase(s));
    EXPECT_TRUE(dm.ConnectError().startsWith(failurePrefix));
}

TEST(ConnectDatabase, UnsupportedKindFails)
{
    TConnectionSettings s;
    s.DBType = 1;
    TDM1 dm;
    EXPECT_FALSE(dm.ConnectDatabase(s));
    EXPECT_TRUE(dm.ConnectError().startsWith(failurePrefix));
    EXPECT_TRUE(dm.ConnectError().contains(u"DBType=1"_s));
    EXPECT_EQ(dm.DatabaseKindText, u"Microsoft SQL Server"_s);
}

TEST(ConnectDatabase, RefusedPostgreSQLLogin)
{
    if (!PostgresAvailable())
        GTEST_SKIP();
    TConnectionSettings s = PostgresSettings(u"no_such_library"_s);
    s.PgUser = u"nobody_here"_s;
    TDM1 dm;
    EXPECT_FALSE(dm.ConnectDatabase(s));
    EXPECT_TRUE(dm.ConnectError().startsWith(failurePrefix));
    EXPECT_GT(dm.ConnectError().size(), failurePrefix.size());  // carries the server's text
}

class ConnectBoth : public ::testing::TestWithParam<DatabaseKind>
{
};

TEST_P(ConnectBoth, SetsTheProcessWideValues)
{
    SKIP_WITHOUT_SERVER(GetParam());
    TTestDb db(GetParam());
    TDM1 dm;
    ASSERT_TRUE(dm.ConnectDatabase(db.settings())) << dm.ConnectError().toStdString();
    EXPECT_EQ(dm.GridFilterMarker, u"/*FILTER*/"_s);
    EXPECT_EQ(dm.BooksBaseSQL, u"SELECT * FROM Books_view WHERE \r/*Filter*/ 1=1 "_s);
    EXPECT_EQ(dm.LoanListBaseSQL, u"SELECT * FROM LoanList_view WHERE \r/*Filter*/ 1=1 "_s);
    if (GetParam() == DatabaseKind::SQLite) {
        EXPECT_EQ(dm.DatabaseKindText, u"SQLite"_s);
        EXPECT_EQ(dm.DatabaseName, db.settings().SQLiteFile);
        EXPECT_TRUE(dm.DatabaseServer.isEmpty());
    } else {
        EXPECT_EQ(dm.DatabaseKindText, u"PostgreSQL"_s);
        EXPECT_EQ(dm.DatabaseName, db.settings().PgDBName);
        EXPECT_EQ(dm.DatabaseServer, db.settings().PgServer);
    }
    // The base SELECTs run, and a condition appended after them narrows them.
    dm.DurEzeConn.Select(dm.BooksBaseSQL + u" AND BookName LIKE '%法%'"_s);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ConnectBoth, BothKinds, KindName);

} // namespace
