#include "BenchCatalogue.h"

#include "data/DbError.h"
#include "data/DbSetup.h"
#include "data/DemoLibrary.h"
#include "data/DurEzeConn.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>

#include <sys/resource.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString benchDir()
{
    const QString dir = qEnvironmentVariableIsEmpty("VELLUMARK_BENCH_DIR")
                            ? u"/tmp/vellumark-bench"_s
                            : qEnvironmentVariable("VELLUMARK_BENCH_DIR");
    QDir().mkpath(dir);
    return dir;
}

void generate(const QString &file, int titles)
{
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(file + suffix);
    CreateDatabase(BenchSqliteSettings(file));
    TDurEzeConn conn;
    conn.Open(BenchSqliteSettings(file));
    std::fprintf(stderr, "generating %d titles in %s ...\n", titles, qPrintable(file));
    GenerateLibrary(conn, titles, [titles](int done) {
        if (done % 100000 == 0 || done == titles)
            std::fprintf(stderr, "  %d\n", done);
    });
    conn.Execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    conn.Execute(u"ANALYZE"_s);
}

} // namespace

TConnectionSettings BenchSqliteSettings(const QString &file)
{
    TConnectionSettings s;
    s.DBType = 0;
    s.SQLiteFile = file;
    return s;
}

QString BenchCatalogue(int titles)
{
    const QString file = benchDir() + u"/books_%1.db"_s.arg(titles);
    // The marker tells a finished catalogue from one a stopped run left.
    const QString done = file + u".done"_s;
    if (!QFile::exists(done)) {
        generate(file, titles);
        QFile marker(done);
        if (!marker.open(QIODevice::WriteOnly))
            throw TDbError(u"无法写入 "_s + done);
    }
    return file;
}

int RunBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const TDbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.fullText()));
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}
