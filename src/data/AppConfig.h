#pragma once

// Config.INI: where the database is. Read once at start-up; a missing file
// or key gives the default.

#include <QString>

struct TConnectionSettings {
    int DBType = 0;  // 0 SQLite (default), 2 PostgreSQL, other values SQL Server

    QString SQLiteFile;  // resolved: a bare name lies in the application folder

    QString PgServer = QStringLiteral("localhost");
    int PgPort = 5432;
    QString PgDBName = QStringLiteral("DurEzeDB");
    QString PgUser;
    QString PgPassword;

    QString SqlServerServer = QStringLiteral("(local)");
    QString SqlServerDBName = QStringLiteral("DurEzeDB");
    QString SqlServerUser;
    QString SqlServerPassword;

    bool isSQLite() const { return DBType == 0; }
    bool isPostgreSQL() const { return DBType == 2; }
};

// Reads the database settings of `iniPath`; `appPath` is the folder a bare
// SQLite file name is put in.
TConnectionSettings ReadConnectionSettings(const QString &iniPath, const QString &appPath);

// Writes the database settings (used by the database tool's --config).
void WriteConnectionSettings(const QString &iniPath, const TConnectionSettings &s);

// The SQLite file name as the settings give it, resolved against `appPath`:
// trimmed; a name without a folder part lies in `appPath`; anything else is
// used as it stands.
QString ResolveDatabaseFile(const QString &fileName, const QString &appPath);
