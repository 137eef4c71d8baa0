// The book list on large catalogues: the time to open "SELECT * FROM
// Books_view" and show its first row, the time of its record count, reaching
// the last row directly (a grid's Ctrl+End), rows far apart, the footer's
// sums, a walk over every row, and the process's peak memory (ru_maxrss)
// after each.
//
// The catalogues are SQLite files of 100,000 and 1,000,000 synthetic titles
// (with copies, readers and loans) made by GenerateLibrary on first use and
// kept in /tmp/vellumark-bench (or $VELLUMARK_BENCH_DIR), so later runs start
// at once. Peak memory is only meaningful in a run that did not generate:
// run once to make the files, then again for the figures, one benchmark at a
// time (--benchmark_filter) since the peak is the process's highest so far.

#include "BenchCatalogue.h"

#include "data/AppConfig.h"
#include "data/DataSet.h"
#include "data/DurEzeConn.h"
#include "data/Schema.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

// An open connection to a catalogue and the book list as the data module
// declares it.
struct TBookList {
    explicit TBookList(int titles)
    {
        conn.Open(BenchSqliteSettings(BenchCatalogue(titles)));
        sql = u"SELECT * FROM Books_view"_s + conn.Dialect().BaseWhereClause();
    }
    std::unique_ptr<TDataSet> open()
    {
        auto ds = std::make_unique<TDataSet>(conn, u"BooksQuery"_s);
        ds->SetSQL(sql);
        ds->SetPersistentFields(Schema::ColumnsOf(u"Books_view"_s));
        ds->Open();
        return ds;
    }
    TDurEzeConn conn;
    QString sql;
};

void BM_OpenBooksAndReadFirstRow(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    int cached = 0;
    for (auto _ : state) {
        auto ds = list.open();
        benchmark::DoNotOptimize(ds->FieldByName(u"BookName"_s)->AsString());
        cached = ds->CachedRowCount();
    }
    state.counters["rows_in_memory"] = cached;
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_BooksRecordCount(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = list.open();
        state.ResumeTiming();
        count = ds->RecordCount();
    }
    state.counters["rows"] = count;
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_BooksJumpToLastRow(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = list.open();
        state.ResumeTiming();
        ds->Last();
        benchmark::DoNotOptimize(ds->FieldByName(u"BookName"_s)->AsString());
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

// A thousand rows spread evenly over the list, read top to bottom: the
// selected rows of a long list on their way to an export.
void BM_BooksRowsFarApart(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    const int step = int(state.range(0)) / 1000;
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = list.open();
        const int name = ds->FieldByName(u"BookName"_s)->Index();
        state.ResumeTiming();
        for (int row = 0; row < state.range(0); row += step)
            benchmark::DoNotOptimize(ds->RowValue(row, name));
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

// The book list's footer: three sums over every title.
void BM_BooksFooterSums(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto ds = list.open();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ds->SumsOf({u"TotalCount"_s, u"LoanCount"_s, u"RemainCount"_s}));
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_BooksWalkEveryRow(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    int rows = 0;
    int cached = 0;
    for (auto _ : state) {
        auto ds = list.open();
        rows = 0;
        for (ds->First(); !ds->Eof(); ds->Next())
            rows += ds->FieldByName(u"BookName"_s)->AsString().isEmpty() ? 0 : 1;
        cached = ds->CachedRowCount();
    }
    state.counters["rows"] = rows;
    state.counters["rows_in_memory"] = cached;
    state.counters["peak_MB"] = PeakMegabytes();
}

// For comparison: one plain statement over the whole view, every row read
// and dropped, which is what showing the list would cost if it were read at
// open.
void BM_PlainQueryReadsEveryRow(benchmark::State &state)
{
    TBookList list(int(state.range(0)));
    for (auto _ : state) {
        QSqlQuery q = list.conn.Select(list.sql);
        int rows = 0;
        while (q.next())
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

BENCHMARK(BM_OpenBooksAndReadFirstRow)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BooksRecordCount)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BooksJumpToLastRow)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BooksRowsFarApart)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BooksFooterSums)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BooksWalkEveryRow)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQueryReadsEveryRow)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
