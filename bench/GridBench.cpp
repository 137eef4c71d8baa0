// The data grid on a million titles: what a librarian waits for when a
// list window opens (grid, status bar count, actions), when a title is
// clicked to sort, when the filter row narrows the list, when the footer
// adds up, when the scroll bar is dragged to the middle, when the find-text
// dialog searches every row for a text that is not there, and when selected
// rows or a filtered list are exported — each with the rows the dataset holds in memory
// afterwards and the process's peak memory.
//
// The catalogue is the SQLite file of a million synthetic titles that
// `vellumark-db --sqlite FILE generate 1000000` makes (GenerateLibrary),
// the same file the books-query benchmark uses: made on first use in
// /tmp/vellumark-bench (or $VELLUMARK_BENCH_DIR) and kept, so later runs
// start at once.

#include "BenchCatalogue.h"

#include "data/AppConfig.h"
#include "data/DataSet.h"
#include "data/DurEzeConn.h"
#include "data/Messages.h"
#include "data/Schema.h"
#include "forms/DataGrid.h"
#include "forms/FatherFrm.h"
#include "forms/GridExport.h"
#include "forms/GridFindFrm.h"
#include "forms/GridOutputFrm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Titles = 1000000;
constexpr int ScreenRows = 30;

// The book list as a window shows it: the data module's SQL and fields, in
// a grid of a usual size.
struct TBookGrid {
    TBookGrid() : ds(conn, u"BooksQuery"_s)
    {
        conn.Open(BenchSqliteSettings(BenchCatalogue(Titles)));
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
        state.counters["peak_MB"] = PeakMegabytes();
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
        // Words the generated titles are made of: each narrows to a few
        // thousand titles somewhere in the million.
        static const QStringList words{u"江南"_s, u"敦煌"_s, u"史话"_s, u"运河"_s, u"书院"_s};
        g.grid.SetFilterText(u"BookName"_s, words[++n % words.size()]);
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

// Rows picked as a librarian picks them: a block of 5,000 titles in the
// middle of the list (a click and a Shift+click), written to a workbook.
void BM_GridExportsSelectedRows(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    QList<int> rows;
    for (int r = Titles / 2; r < Titles / 2 + 5000; ++r)
        rows.append(r);
    g.grid.SelectRows(rows);
    QTemporaryDir dir;
    for (auto _ : state)
        ExportGrid(&g.grid, TXlsxGridExporter(), dir.filePath(u"selected.xlsx"_s), false);
    state.counters["exported"] = rows.size();
    g.counters(state);
}

// A list narrowed by the filter row (a few thousand titles), every row
// written to a workbook.
void BM_GridExportsFilteredList(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    g.grid.SetFilterText(u"BookName"_s, u"江南"_s);
    g.grid.ApplyFilterRow();
    QTemporaryDir dir;
    for (auto _ : state)
        ExportGrid(&g.grid, TXlsxGridExporter(), dir.filePath(u"filtered.xlsx"_s), false);
    state.counters["exported"] = g.ds.RecordCount();
    g.counters(state);
}

// A list window as the function windows are built: the frame, its grid,
// its actions and its SQL, up to the first screen of rows and the status
// bar's "共有记录" count.
void BM_ListWindowOpens(benchmark::State &state)
{
    TBookGrid g;
    QString status;
    int inMemory = 0;
    for (auto _ : state) {
        TFatherForm form(u"BooksForm"_s, u"书刊信息维护"_s, u"BookInfo.html"_s);
        TDataGrid *grid = form.AddMainGrid(&g.ds);
        form.AddFindAction(u"BooksFind"_s, u"BookName;Author"_s, g.sql);
        form.AddCustomColumnAction(u"BooksCustomColumn"_s);
        grid->SetFooterSum(u"TotalCount"_s);
        grid->OpenSql(g.sql);
        const QAbstractItemModel *m = grid->model();
        for (int r = 0; r < ScreenRows; ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                benchmark::DoNotOptimize(m->data(m->index(r, c)));
        status = form.StatusText();
        inMemory = g.ds.CachedRowCount();
    }
    std::fprintf(stderr, "status bar: %s\n", qPrintable(status));
    state.counters["rows_in_memory"] = inMemory;
    state.counters["peak_MB"] = PeakMegabytes();
}

// The worst case of the find-text dialog: a text no row shows, searched
// from the first row to the last through every shown column.
void BM_GridFindTextThroughEveryRow(benchmark::State &state)
{
    TBookGrid g;
    g.grid.OpenSql(g.sql);
    TGridFindForm find(&g.grid);
    find.EditFindText->setText(u"不存在的书名"_s);
    const TMessagePresenter quiet = SetMessagePresenter(
        [](TMessageKind, const QString &, const QString &) { return true; });
    for (auto _ : state) {
        g.ds.First();
        benchmark::DoNotOptimize(find.FindNext());
    }
    SetMessagePresenter(quiet);
    g.counters(state);
}

BENCHMARK(BM_ListWindowOpens)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridOpensOnFirstScreen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortsByTitleClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFilterRowNarrows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFooterSums)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollsToTheMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFindTextThroughEveryRow)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridExportsSelectedRows)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridExportsFilteredList)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
