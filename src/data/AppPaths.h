#pragma once

// Where the program's files are: the folder of the executable for what ships
// with it, and a writable folder for what it writes (Config.INI, the SQLite
// database, the produced home page).

#include <QDateTime>
#include <QString>

// The writable application folder, with a trailing separator: the
// executable's folder, or the per-user data folder when that one is not
// writable (an installed program).
QString GetAppPath();

// The folder of the executable, with a trailing separator: resources,
// pictures and help topics that ship with the program.
QString GetProgramPath();

// GetAppPath() + "Config.INI".
QString GetConfigPath();

// The workstation's name; empty when the system does not tell.
QString GetLocalComputerName();

// Tests point the writable folder somewhere else.
void SetAppPathOverride(const QString &path);

// The application title: "Orvella图书馆管理系统 2009" until the system
// parameters name the system otherwise. Error boxes carry it as caption.
QString GetApplicationTitle();
void SetApplicationTitle(const QString &title);

// The file's last-write date and time; invalid when it cannot be read.
QDateTime GetFileDate(const QString &fileName);
// The program version for the project's own executables; empty for any
// other file (Linux files carry no version resource).
QString GetFileVersion(const QString &fileName);
// GetFileVersion + "." + the file's date as YYMMDD.
QString GetVersionText(const QString &fileName);
