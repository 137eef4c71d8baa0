// vellumark-db: creates a library database, fills it with the sample
// library, or generates synthetic titles for benchmarks.

#include "data/AppConfig.h"
#include "data/AppPaths.h"
#include "data/DbError.h"
#include "data/DbSetup.h"
#include "data/DemoLibrary.h"
#include "data/DurEzeConn.h"

#include <QCommandLineParser>
#include <QDir>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

TConnectionSettings settingsFrom(const QCommandLineParser &p)
{
    if (p.isSet(u"sqlite"_s)) {
        TConnectionSettings s;
        s.DBType = 0;
        s.SQLiteFile = ResolveDatabaseFile(p.value(u"sqlite"_s), QDir::currentPath());
        return s;
    }
    if (p.isSet(u"pg"_s)) {
        // host:port/dbname; user and password from --user/--password.
        TConnectionSettings s;
        s.DBType = 2;
        QString spec = p.value(u"pg"_s);
        const int slash = spec.lastIndexOf(u'/');
        if (slash >= 0) {
            s.PgDBName = spec.mid(slash + 1);
            spec.truncate(slash);
        }
        const int colon = spec.lastIndexOf(u':');
        if (colon >= 0) {
            s.PgPort = spec.mid(colon + 1).toInt();
            spec.truncate(colon);
        }
        if (!spec.isEmpty())
            s.PgServer = spec;
        s.PgUser = p.value(u"user"_s);
        s.PgPassword = p.value(u"password"_s);
        return s;
    }
    const QString ini = p.isSet(u"config"_s) ? p.value(u"config"_s) : GetConfigPath();
    return ReadConnectionSettings(ini, GetAppPath());
}

QString describe(const TConnectionSettings &s)
{
    if (s.isSQLite())
        return u"SQLite %1"_s.arg(s.SQLiteFile);
    return u"PostgreSQL %1@%2:%3"_s.arg(s.PgDBName, s.PgServer).arg(s.PgPort);
}

int run(const QCommandLineParser &p)
{
    const QStringList args = p.positionalArguments();
    if (args.isEmpty()) {
        err() << u"缺少命令：init、demo 或 generate N。"_s << Qt::endl;
        return 2;
    }
    const QString command = args.first();
    const TConnectionSettings s = settingsFrom(p);

    if (command == u"init") {
        if (p.isSet(u"if-missing"_s) && DatabaseExists(s))
            return 0;
        CreateDatabase(s);
        out() << u"已创建数据库：%1"_s.arg(describe(s)) << Qt::endl;
        if (p.isSet(u"demo"_s)) {
            // Both or neither: a half-made database would be taken as done
            // by the next --if-missing.
            try {
                TDurEzeConn conn;
                conn.Open(s);
                LoadDemoLibrary(conn);
            } catch (...) {
                try {
                    DropDatabase(s);
                } catch (...) {
                    // The loading error is the one to report.
                }
                throw;
            }
            out() << u"已载入示例图书馆。"_s << Qt::endl;
        }
        return 0;
    }
    if (command == u"demo") {
        TDurEzeConn conn;
        conn.Open(s);
        LoadDemoLibrary(conn);
        out() << u"已载入示例图书馆：%1"_s.arg(describe(s)) << Qt::endl;
        return 0;
    }
    if (command == u"generate") {
        bool ok = false;
        const int titles = args.value(1).toInt(&ok);
        if (!ok || titles <= 0) {
            err() << u"generate 需要一个正整数：要生成的书刊种数。"_s << Qt::endl;
            return 2;
        }
        TDurEzeConn conn;
        conn.Open(s);
        QElapsedTimer timer;
        timer.start();
        GenerateLibrary(conn, titles, [&](int done) {
            out() << u"\r已生成 %1 / %2 种"_s.arg(done).arg(titles) << Qt::flush;
        });
        out() << Qt::endl
              << u"已生成 %1 种书刊，用时 %2 秒：%3"_s.arg(titles)
                     .arg(timer.elapsed() / 1000.0, 0, 'f', 1)
                     .arg(describe(s))
              << Qt::endl;
        return 0;
    }
    err() << u"未知命令：%1"_s.arg(command) << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"Vellumark"_s);

    QCommandLineParser p;
    p.setApplicationDescription(
        u"图书馆数据库工具。\n"
        "  init          创建新的空数据库（含初始数据），不会改动已有的数据库\n"
        "  demo          向新数据库载入示例图书馆\n"
        "  generate N    生成 N 种书刊及相应的复本、读者和借阅记录（用于性能测试）\n"
        "不指定数据库时，使用程序目录下 Config.INI 所指的数据库。"_s);
    p.addHelpOption();
    p.addPositionalArgument(u"command"_s, u"init | demo | generate N"_s);
    p.addOption({u"demo"_s, u"init 之后载入示例图书馆。"_s});
    p.addOption({u"if-missing"_s, u"数据库已存在时 init 什么也不做。"_s});
    p.addOption({u"config"_s, u"读取此 INI 文件中的数据库设置。"_s, u"file"_s});
    p.addOption({u"sqlite"_s, u"使用此 SQLite 数据库文件。"_s, u"file"_s});
    p.addOption({u"pg"_s, u"使用 PostgreSQL 数据库：主机[:端口]/数据库名。"_s, u"spec"_s});
    p.addOption({u"user"_s, u"PostgreSQL 用户名。"_s, u"name"_s});
    p.addOption({u"password"_s, u"PostgreSQL 密码。"_s, u"password"_s});
    p.process(app);

    try {
        return run(p);
    } catch (const TDbError &e) {
        err() << e.fullText() << Qt::endl;
        return 1;
    }
}
