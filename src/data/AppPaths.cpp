#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace {

QString &appPathOverride()
{
    static QString path;
    return path;
}

QString withSeparator(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace

void SetAppPathOverride(const QString &path)
{
    appPathOverride() = path.isEmpty() ? QString() : withSeparator(path);
}

QString GetProgramPath()
{
    return withSeparator(QCoreApplication::applicationDirPath());
}

QString GetAppPath()
{
    if (!appPathOverride().isEmpty())
        return appPathOverride();
    const QString program = GetProgramPath();
    if (QFileInfo(program).isWritable())
        return program;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return withSeparator(data);
}

QString GetConfigPath()
{
    return GetAppPath() + u"Config.INI"_s;
}

QString GetLocalComputerName()
{
    return QSysInfo::machineHostName();
}

namespace {
QString &applicationTitle()
{
    static QString title = u"Orvella图书馆管理系统 2009"_s;
    return title;
}
} // namespace

QString GetApplicationTitle()
{
    return applicationTitle();
}

void SetApplicationTitle(const QString &title)
{
    applicationTitle() = title;
}

QDateTime GetFileDate(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.exists() ? info.lastModified() : QDateTime();
}

QString GetFileVersion(const QString &fileName)
{
    static const QStringList ours{u"Vellumark"_s, u"Peruselle"_s, u"vellumark-db"_s};
    const QFileInfo info(fileName);
    if (!info.exists() || !ours.contains(info.fileName()))
        return {};
    return QStringLiteral(VELLUMARK_VERSION);
}

QString GetVersionText(const QString &fileName)
{
    return GetFileVersion(fileName) + u'.' + GetFileDate(fileName).toString(u"yyMMdd"_s);
}
