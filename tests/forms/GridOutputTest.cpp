// Printing and exporting a grid: the files are read back (workbook cells,
// RTF and HTML text with the Chinese intact), only the selected rows go out
// when rows are selected, the print counts what it prints, and the column
// chooser hides and shows columns.

#include "FormsFixture.h"

#include "data/AppPaths.h"
#include "data/DataSet.h"
#include "data/DbError.h"
#include "forms/CustomColumnFrm.h"
#include "forms/DataGrid.h"
#include "forms/DataGridSource.h"
#include "forms/GridOutputFrm.h"
#include "forms/GridPrinter.h"
#include "forms/PdfGridExporter.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class GridOutputTest : public FormsDbTest
{
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped())
            return;
        window = std::make_unique<QWidget>();
        window->setWindowTitle(u"书刊信息维护"_s);
        grid = new TDataGrid(dm->BooksQuery, window.get());
        grid->resize(800, 300);
        grid->OpenSql(dm->BooksBaseSQL);
        // A smaller set of columns keeps the files easy to read.
        for (int c = 0; c < grid->GridModel()->columnCount(); ++c) {
            const QString name = grid->FieldAt(c)->FieldName();
            grid->SetColumnVisible(c, name == u"BookName" || name == u"Author" || name == u"TotalCount"
                                          || name == u"BookPrice");
        }
    }
    void TearDown() override
    {
        window.reset();
        FormsDbTest::TearDown();
    }
    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    std::unique_ptr<QWidget> window;
    TDataGrid *grid = nullptr;
};

TEST_P(GridOutputTest, WorkbookCellsReadBack)
{
    const QString file = path(u"书目.xlsx"_s);
    ExportGrid(grid, TXlsxGridExporter(), file, false);
    const QHash<QString, QString> cells = workbookCells(file);
    EXPECT_EQ(cells.value(u"A1"_s), u"书刊名称"_s);
    EXPECT_EQ(cells.value(u"B1"_s), u"著者"_s);
    EXPECT_EQ(cells.value(u"C1"_s), u"书刊定价"_s);
    EXPECT_EQ(cells.value(u"D1"_s), u"总册数"_s);
    EXPECT_EQ(cells.value(u"A2"_s), u"计算机基础"_s);
    EXPECT_EQ(cells.value(u"A4"_s), u"O'Brien的书"_s);
    EXPECT_EQ(cells.value(u"C2"_s), u"#35.8"_s);  // numbers as numbers
    EXPECT_EQ(cells.value(u"D7"_s), u"#10"_s);
    EXPECT_EQ(cells.value(u"A9"_s), u"Java_编程"_s);
    EXPECT_FALSE(cells.contains(u"A10"_s));
    // The workbook's font is 宋体 9.
    const QByteArray styles = zipEntry(file, u"xl/styles.xml"_s);
    static const QRegularExpression font(u"<sz val=\"9\"/>(<color [^>]*/>)?<name val=\"宋体\"/>"_s);
    EXPECT_TRUE(font.match(QString::fromUtf8(styles)).hasMatch()) << styles.constData();

    // With rows selected only those go out.
    grid->SelectRows({2, 5});
    ExportGrid(grid, TXlsxGridExporter(), file, false);
    const QHash<QString, QString> selected = workbookCells(file);
    EXPECT_EQ(selected.value(u"A2"_s), u"O'Brien的书"_s);
    EXPECT_EQ(selected.value(u"A3"_s), u"数据结构"_s);
    EXPECT_FALSE(selected.contains(u"A4"_s));
}

TEST_P(GridOutputTest, RtfAndHtmlHoldTheRowsAndTheChineseText)
{
    const QFont before = grid->font();
    ExportGrid(grid, TRtfGridExporter(), path(u"书目.doc"_s), false);
    QFile rtfFile(path(u"书目.doc"_s));
    ASSERT_TRUE(rtfFile.open(QIODevice::ReadOnly));
    const QByteArray rtf = rtfFile.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    EXPECT_TRUE(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;"));  // 宋体 in the font table
    EXPECT_TRUE(rtf.contains("\\fs18"));
    const QString text = rtfPlainText(rtf);
    for (const TSampleBook &b : SampleBooks())
        EXPECT_TRUE(text.contains(b.name)) << b.name.toStdString();
    EXPECT_TRUE(text.contains(u"书刊名称"_s));
    EXPECT_EQ(text.count(u"\\row"_s), int(SampleBooks().size()) + 1);

    ExportGrid(grid, THtmlGridExporter(), path(u"书目.html"_s), false);
    QFile htmlFile(path(u"书目.html"_s));
    ASSERT_TRUE(htmlFile.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(htmlFile.readAll());
    EXPECT_TRUE(html.contains(u"<title>书刊信息维护</title>"_s));
    EXPECT_TRUE(html.contains(u"font-family:\"宋体\""_s));
    EXPECT_TRUE(html.contains(u"<td>O&#x27;Brien的书</td>"_s) || html.contains(u"<td>O'Brien的书</td>"_s));
    EXPECT_TRUE(html.contains(u"<td class=\"n\">35.80</td>"_s));
    EXPECT_EQ(html.count(u"<tr>"_s), int(SampleBooks().size()) + 1);

    grid->SelectRows({0});
    ExportGrid(grid, THtmlGridExporter(), path(u"一行.html"_s), false);
    QFile one(path(u"一行.html"_s));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    const QString oneRow = QString::fromUtf8(one.readAll());
    EXPECT_EQ(oneRow.count(u"<tr>"_s), 2);
    EXPECT_TRUE(oneRow.contains(u"计算机基础"_s));
    EXPECT_FALSE(oneRow.contains(u"计算机网络"_s));

    ExportGrid(grid, TPdfGridExporter(), path(u"书目.pdf"_s), false);
    QFile pdf(path(u"书目.pdf"_s));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    // The grid looks as it did.
    EXPECT_EQ(grid->font(), before);
}

TEST_P(GridOutputTest, UnwritableFileIsAnError)
{
    EXPECT_THROW(ExportGrid(grid, THtmlGridExporter(), path(u"no/such/folder/a.html"_s), false),
                 TDbError);
    EXPECT_THROW(ExportGrid(grid, TXlsxGridExporter(), path(u"no/such/folder/a.xlsx"_s), false),
                 TDbError);
}

TEST_P(GridOutputTest, ExportDialogNeedsAFileName)
{
    TMessageRecorder messages;
    const QString file = path(u"导出.xlsx"_s);
    TModalAnswer answer([&](QDialog &d) {
        auto &form = dynamic_cast<TGridOutputForm &>(d);
        EXPECT_EQ(form.windowTitle(), u"设置"_s);
        EXPECT_FALSE(form.MainPage->isTabVisible(form.MainPage->indexOf(form.TabPrint)));
        EXPECT_EQ(form.MainPage->currentWidget(), form.TabExport);
        EXPECT_EQ(form.FormatText(1), u"Microsoft Excel 文件 (*.xlsx)"_s);
        EXPECT_EQ(form.FormatText(3), u"PDF 文件 (*.pdf)"_s);
        EXPECT_EQ(form.SelectedFormat(), 0);
        EXPECT_TRUE(form.ChkExportOpen->isChecked());
        form.EditExportFile->setText(u"   "_s);
        form.BtnOK->click();
        EXPECT_NE(form.result(), int(QDialog::Accepted));
        form.SelectFormat(1);
        form.EditExportFile->setText(file.chopped(5));  // the extension is added
        form.ChkExportOpen->setChecked(false);
        form.BtnOK->click();
        return form.result();
    });
    ShowGridOutput(grid, gomExport, u"书刊信息维护"_s, {});
    EXPECT_EQ(messages.texts(), QStringList{u"请选择或输入导出文件名。"_s});
    EXPECT_EQ(workbookCells(file).value(u"A2"_s), u"计算机基础"_s);
}

TEST_P(GridOutputTest, PrintCountsWhatItPrints)
{
    struct Printed {
        QString recCount;
        QList<TGridPrinter::TPrintPage> pages;
    };
    const auto print = [&](int answerOf) {
        Printed out;
        TModalAnswer answer([&](QDialog &d) {
            if (auto *form = dynamic_cast<TGridOutputForm *>(&d)) {
                EXPECT_EQ(form->EditTitle->text(), u"书刊信息维护"_s);
                EXPECT_EQ(form->EditMan->text(), u"李明"_s);
                EXPECT_EQ(form->EditDate->text().size(), 19);
                EXPECT_TRUE(form->RadPortrait->isChecked());
                EXPECT_FALSE(form->MainPage->isTabVisible(form->MainPage->indexOf(form->TabExport)));
                form->RadLandscape->setChecked(true);
                return answerOf;
            }
            EXPECT_NE(dynamic_cast<QPrintPreviewDialog *>(&d), nullptr);
            const TGridPrinter &p = PubPrintGrid();
            out.recCount = p.Substitutions.value(u"%[RecCount]"_s);
            EXPECT_EQ(p.Orientation, QPageLayout::Landscape);
            QPdfWriter pdf(path(u"print.pdf"_s));
            const TDataGridSource source(grid, grid->HasRowSelection());
            out.pages = p.Layout(&pdf, QRectF(0, 0, pdf.width(), pdf.height()), source);
            return int(QDialog::Rejected);
        });
        ShowGridOutput(grid, gomPrint, u"书刊信息维护"_s, u"馆藏：总馆"_s);
        return out;
    };

    const Printed all = print(QDialog::Accepted);
    EXPECT_EQ(all.recCount, QString::number(SampleBooks().size()));
    ASSERT_FALSE(all.pages.isEmpty());
    const TGridPrinter::TPrintPage &first = all.pages.constFirst();
    const QStringList blocks = first.texts(TGridPrinter::TPrintItem::Html);
    ASSERT_GE(blocks.size(), 1);
    EXPECT_TRUE(blocks.constFirst().contains(u"书刊信息维护"_s));
    EXPECT_TRUE(blocks.constFirst().contains(u"馆藏：总馆"_s));
    const QString after = all.pages.constLast().texts(TGridPrinter::TPrintItem::Html).constLast();
    EXPECT_TRUE(after.contains(u"记录总数：8"_s)) << after.toStdString();
    EXPECT_TRUE(after.contains(u"打印日期："_s));
    EXPECT_EQ(first.texts(TGridPrinter::TPrintItem::Footer),
              (QStringList{u"制表人：李明"_s, u"第1页"_s, GetApplicationTitle()}));
    EXPECT_EQ(first.texts(TGridPrinter::TPrintItem::Title),
              (QStringList{u"书刊名称"_s, u"著者"_s, u"书刊定价"_s, u"总册数"_s}));
    EXPECT_EQ(first.texts(TGridPrinter::TPrintItem::Cell).size(), 4 * SampleBooks().size());

    // Three rows selected: three printed, three counted.
    grid->SelectRows({1, 2, 6});
    EXPECT_EQ(CountOutputRecords(grid), 3);
    const Printed three = print(QDialog::Accepted);
    EXPECT_EQ(three.recCount, u"3"_s);
    EXPECT_EQ(three.pages.constFirst().texts(TGridPrinter::TPrintItem::Cell).size(), 12);

    // Cancelled: no preview.
    grid->ClearRowSelection();
    EXPECT_EQ(CountOutputRecords(grid), int(SampleBooks().size()));
    PubPrintGrid().Substitutions.clear();
    print(QDialog::Rejected);
    EXPECT_TRUE(PubPrintGrid().Substitutions.isEmpty());
}

TEST(GridOutput, LongPrintsAreConfirmedFirst)
{
    TMessageRecorder no(false);
    EXPECT_TRUE(ConfirmLargePrint(LargePrintRows));
    EXPECT_TRUE(no.shown.isEmpty());
    EXPECT_FALSE(ConfirmLargePrint(LargePrintRows + 1));
    ASSERT_EQ(no.shown.size(), 1);
    EXPECT_EQ(no.shown[0].kind, TMessageKind::Confirm);
    EXPECT_TRUE(no.shown[0].text.startsWith(u"要打印的记录共有 %1 条"_s.arg(LargePrintRows + 1)));
    TMessageRecorder yes(true);
    EXPECT_TRUE(ConfirmLargePrint(1000000));
}

TEST_P(GridOutputTest, LongListsBreakIntoPagesWithTheirTitles)
{
    for (int i = 0; i < 120; ++i)
        insertBook({u"第%1本书"_s.arg(i), u"作者"_s, u"图书"_s, i, u"1.00"_s, QDate(2020, 1, 1)});
    grid->OpenSql(dm->BooksBaseSQL);
    QPdfWriter pdf(path(u"long.pdf"_s));
    const TDataGridSource source(grid, false);
    TGridPrinter printer;
    const auto pages = printer.Layout(&pdf, QRectF(0, 0, pdf.width(), pdf.height()), source);
    ASSERT_GT(pages.size(), 1);
    int cells = 0;
    for (const auto &page : pages) {
        EXPECT_EQ(page.texts(TGridPrinter::TPrintItem::Title).size(), 4);  // titles on every page
        EXPECT_EQ(page.texts(TGridPrinter::TPrintItem::Footer).constFirst(),
                  u"第%1页"_s.arg(page.number));
        cells += int(page.texts(TGridPrinter::TPrintItem::Cell).size());
    }
    EXPECT_EQ(cells, 4 * (120 + int(SampleBooks().size())));
}

TEST_P(GridOutputTest, ColumnChooserHidesAllAndSelectAllBringsThemBack)
{
    const auto visibleCount = [&] {
        int n = 0;
        for (int c = 0; c < grid->GridModel()->columnCount(); ++c)
            n += grid->ColumnVisible(c) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(visibleCount(), 4);
    {
        TModalAnswer answer([](QDialog &d) {
            auto &form = dynamic_cast<TCustomColumnForm &>(d);
            EXPECT_EQ(form.ColumnsBox->item(0)->text(), u"ISBN\\ISSN"_s);
            for (int i = 0; i < form.ColumnsBox->count(); ++i)
                form.ColumnsBox->item(i)->setCheckState(Qt::Unchecked);
            form.BtnOK->click();
            return form.result();
        });
        ChooseGridColumns(grid);
    }
    EXPECT_EQ(visibleCount(), 0);
    {
        TModalAnswer answer([](QDialog &d) {
            auto &form = dynamic_cast<TCustomColumnForm &>(d);
            EXPECT_EQ(form.Ticks(), QList<bool>(form.ColumnsBox->count(), false));
            form.BtnSelectAll->click();
            form.BtnOK->click();
            return form.result();
        });
        ChooseGridColumns(grid);
    }
    EXPECT_EQ(visibleCount(), grid->GridModel()->columnCount());
    {
        TModalAnswer answer([](QDialog &d) {
            auto &form = dynamic_cast<TCustomColumnForm &>(d);
            form.ColumnsBox->item(0)->setCheckState(Qt::Unchecked);
            form.BtnCancel->click();
            return form.result();
        });
        ChooseGridColumns(grid);
    }
    EXPECT_EQ(visibleCount(), grid->GridModel()->columnCount());
    // The choice outlives a reopen of the list.
    grid->SetColumnVisible(0, false);
    grid->ClickTitle(1, Qt::NoModifier);
    EXPECT_FALSE(grid->ColumnVisible(0));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, GridOutputTest, BothKinds, KindName);

} // namespace
