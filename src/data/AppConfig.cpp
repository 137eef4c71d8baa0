#include "AppConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

using namespace Qt::StringLiterals;

QString ResolveDatabaseFile(const QString &fileName, const QString &appPath)
{
    const QString name = fileName.trimmed();
    if (QFileInfo(name).fileName() == name)
        return QDir(appPath).filePath(name);
    return name;
}

TConnectionSettings ReadConnectionSettings(const QString &iniPath, const QString &appPath)
{
    QSettings ini(iniPath, QSettings::IniFormat);
    TConnectionSettings s;
    s.DBType = ini.value(u"Database/DBType"_s, 0).toInt();

    s.SQLiteFile = ResolveDatabaseFile(ini.value(u"SQLite/FileName"_s, u"DurEze.db"_s).toString(),
                                       appPath);

    s.PgServer = ini.value(u"PostgreSQL/Server"_s, s.PgServer).toString();
    s.PgPort = ini.value(u"PostgreSQL/Port"_s, s.PgPort).toInt();
    s.PgDBName = ini.value(u"PostgreSQL/DBName"_s, s.PgDBName).toString();
    s.PgUser = ini.value(u"PostgreSQL/User"_s).toString();
    s.PgPassword = ini.value(u"PostgreSQL/Password"_s).toString();

    s.SqlServerServer = ini.value(u"SQLServer/Server"_s, s.SqlServerServer).toString();
    s.SqlServerDBName = ini.value(u"SQLServer/DBName"_s, s.SqlServerDBName).toString();
    s.SqlServerUser = ini.value(u"SQLServer/User"_s).toString();
    s.SqlServerPassword = ini.value(u"SQLServer/Password"_s).toString();
    return s;
}

void WriteConnectionSettings(const QString &iniPath, const TConnectionSettings &s)
{
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(u"Database/DBType"_s, s.DBType);
    if (s.isSQLite()) {
        ini.setValue(u"SQLite/FileName"_s, s.SQLiteFile);
    } else if (s.isPostgreSQL()) {
        ini.setValue(u"PostgreSQL/Server"_s, s.PgServer);
        ini.setValue(u"PostgreSQL/Port"_s, s.PgPort);
        ini.setValue(u"PostgreSQL/DBName"_s, s.PgDBName);
        ini.setValue(u"PostgreSQL/User"_s, s.PgUser);
        ini.setValue(u"PostgreSQL/Password"_s, s.PgPassword);
    }
    ini.sync();
}
