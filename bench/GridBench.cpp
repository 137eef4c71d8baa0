// The data grid on a million titles: what a librarian waits for when the
// book list opens, when a title is clicked to sort, when the filter row
// narrows the list, when the footer adds up, when the scroll bar is dragged
// to the middle, and when selected rows are exported — each with the rows
// the dataset holds in memory afterwards and the process's peak memory.
//
// The catalogue is an SQLite file of synthetic titles (one row in a hundred
// named "计算机 ..."), made on first use in /tmp/vellumark-bench (or
// $VELLUMARK_BENCH_DIR) and kept, so later runs start at once.

#include "data/AppConfig.h"
#include "data/DataSet.h"
#include "data/DbError.h"
#include "data/DbSetup.h"
#include "data/DurEzeConn.h"
#include "data/Schema.h"
#include "forms/DataGrid.h"
#include "forms/GridExport.h"
#include "forms/GridOutputFrm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Titles = 1000000;
constexpr int ScreenRows = 30;

TConnectionSettings sqliteSettings(const QString &file)
{
    TConnectionSettings s;
    s.DBType = 0;
    s.SQLiteFile = file;
    return s;
}

QString catalogue()
{
    const QString dir = qEnvironmentVariableIsEmpty("VELLUMARK_BENCH_DIR")
                            ? u"/tmp/vellumark-bench"_s
                            : qEnvironmentVariable("VELLUMARK_BENCH_DIR");
    QDir().mkpath(dir);
    const QString file = dir + u"/grid_%1.db"_s.arg(Titles);
    if (QFile::exists(file + u".done"_s))
        return file;
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(file + suffix);
    std::fprintf(stderr, "generating %d titles in %s ...\n", Titles, qPrintable(file));
    CreateDatabase(sqliteSettings(file));
    TDurEzeConn conn;
    conn.Open(sqliteSettings(file));
    conn.Execute(u"INSERT INTO Books_tab (BookName, Author, BookType, TotalCount, LoanCount, BookPrice, RegDate)"
                 " WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < %1)"
                 " SELECT CASE WHEN n % 100 = 0 THEN '计算机 第' || n || '册' ELSE '书刊 ' || n END,"
                 " '作者' || (n % 5000), '图书', n % 20, 0, (n % 1000) / 10.0,"
                 " date('2000-01-01', '+' || (n % 7000) || ' days') FROM seq"_s.arg(Titles));
    conn.Execute(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    conn.Execute(u"ANALYZE"_s);
    QFile marker(file + u".done"_s);
    if (!marker.open(QIODevice::WriteOnly))
        throw TDbError(u"无法写入 "_s + marker.fileName());
    return file;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// The book list as a window shows it: the data module's SQL and fields, in
// a grid of a usual size.
struct TBookGrid {
    TBookGrid() : ds(conn, u"BooksQuery"_s)
    {
        conn.Open(sqliteSettings(catalogue()));
        sql = u"SELECT * FROM Books_view"_s + conn.Dialect().BaseWhereClause();
        ds.SetPersistentFields(Schema::ColumnsOf(u"Books_view"_s));
        grid.SetDataSet(&ds);
        grid.resize(1000, 700);
    }
    // What the grid reads to paint one screen from `top`.
    void readScreen(int top)
    {
        const QAbstractItemModel *m = grid.model();
        for (int r = top; r < top + ScreenRows && r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                benchmark::DoNotOptimize(m->data(m->index(r, c)));
    }
    void counters(benchmark::State &state)
    {
        state.counters["rows"] = ds.RecordCount();
        state.counters["rows_in_memory"] = ds.CachedRowCount();
        state.counters["peak_MB"] = peakMegabytes();
    }

    TDurEzeConn conn;
    TDataSet ds;
    TDataGrid grid;
    QString sql;
};

void BM_GridOpensOnFirstScreen(benchmark::State &state)
{
    TBookGrid g;
    for (auto _ : state) {
        g.grid.OpenSql(g.sql);
        g.readScreen(0);
    }
    g.counters(state);
}

void BM_GridSortsByTitleClick(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    const int column = g.grid.ColumnOf(u"BookName"_s);
    for (auto _ : state) {
        g.grid.ClickTitle(column, Qt::NoModifier);  // ascending, then descending, ...
        g.readScreen(0);
    }
    g.counters(state);
}

void BM_GridFilterRowNarrows(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    int n = 0;
    for (auto _ : state) {
        g.grid.SetFilterText(u"BookName"_s, u"计算机 第%1"_s.arg(++n % 9 + 1));
        g.grid.ApplyFilterRow();
        g.readScreen(0);
    }
    g.counters(state);
}

void BM_GridFooterSums(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    g.grid.SetFooterSum(u"TotalCount"_s);
    g.grid.SetFooterSum(u"BookPrice"_s);
    for (auto _ : state) {
        g.grid.RefreshFooter();
        benchmark::DoNotOptimize(g.grid.FooterText(g.grid.ColumnOf(u"BookPrice"_s)));
    }
    g.counters(state);
}

void BM_GridScrollsToTheMiddle(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    int n = 0;
    for (auto _ : state) {
        // Somewhere new each time, so no page is read from memory.
        const int top = Titles / 2 + (++n % 50) * 997;
        g.grid.scrollTo(g.grid.model()->index(top, 0), QAbstractItemView::PositionAtTop);
        g.readScreen(top);
    }
    g.counters(state);
}

void BM_GridExportsSelectedRows(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    QList<int> rows;
    for (int r = 0; r < Titles; r += Titles / 1000)
        rows.append(r);
    g.grid.SelectRows(rows);
    QTemporaryDir dir;
    for (auto _ : state)
        ExportGrid(&g.grid, TXlsxGridExporter(), dir.filePath(u"selected.xlsx"_s), false);
    state.counters["exported"] = rows.size();
    g.counters(state);
}

BENCHMARK(BM_GridOpensOnFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortsByTitleClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFilterRowNarrows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFooterSums)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollsToTheMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridExportsSelectedRows)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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
