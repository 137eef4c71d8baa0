// A book list written the way the function windows are — its grid, its
// actions and its SQL, nothing else — driven as a librarian would through
// the window itself: sorting by the titles, the filter row together with a
// find, picking rows, the footer's sums, finding text, the print preview,
// the four exports read back, and the column chooser.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "forms/CustomColumnFrm.h"
#include "forms/DataGrid.h"
#include "forms/FatherFrm.h"
#include "forms/GridFindFrm.h"
#include "forms/GridOutputFrm.h"
#include "forms/GridPrinter.h"
#include "forms/GridTitleHeader.h"
#include "forms/QLDBFilterFrm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class TSampleBooksForm : public TFatherForm
{
public:
    TSampleBooksForm() : TFatherForm(u"BooksForm"_s, u"书刊信息维护"_s, u"BookInfo.html"_s)
    {
        Grid = AddMainGrid(DM1->BooksQuery);
        BooksMod = AddFunAction(u"BooksMod"_s, u"修改(&M)"_s, 1, rtOperate, [this] {
            modified.append(Grid->DataSet()->FieldByName(u"BookName"_s)->AsString());
        });
        AddFindAction(u"BooksFind"_s, u"BookName;Author;TotalCount"_s, DM1->BooksBaseSQL);
        AddFindTextAction(u"BooksFindText"_s);
        AddCustomColumnAction(u"BooksCustomColumn"_s);
        Grid->SetModifyAction(BooksMod);
        Grid->SetFooterText(u"BookName"_s, u"合计"_s);
        Grid->SetFooterSum(u"TotalCount"_s);
        Grid->SetFooterSum(u"BookPrice"_s);
        SetRowActions({BooksMod});
        Grid->OpenSql(DM1->BooksBaseSQL);
    }

    TDataGrid *Grid = nullptr;
    QAction *BooksMod = nullptr;
    QStringList modified;
};

class SampleListWindowTest : public FormsDbTest
{
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped())
            return;
        form = std::make_unique<TSampleBooksForm>();
        form->resize(1100, 500);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override
    {
        form.reset();
        FormsDbTest::TearDown();
    }
    TDataGrid *grid() const { return form->Grid; }
    int column(const QString &field) const { return grid()->ColumnOf(field); }
    QString cell(int row, const QString &field) const
    {
        return grid()->GridModel()->CellText(row, column(field));
    }
    QStringList names() const
    {
        QStringList out;
        for (int r = 0; r < grid()->GridModel()->rowCount(); ++r)
            out.append(cell(r, u"BookName"_s));
        return out;
    }
    void clickTitle(const QString &field, Qt::KeyboardModifiers mods)
    {
        QHeaderView *header = grid()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column(field)) + 8,
                        header->viewport()->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, mods, at);
    }
    void clickRow(int row, Qt::KeyboardModifiers mods)
    {
        const QRect r = grid()->visualRect(grid()->GridModel()->index(row, column(u"Author"_s)));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, mods, r.center());
    }
    QPoint rowHeaderPoint(int row) const
    {
        QHeaderView *rows = grid()->verticalHeader();
        return QPoint(rows->width() / 2, rows->sectionViewportPosition(row) + rows->sectionSize(row) / 2);
    }
    QString footer(const QString &field) const { return grid()->FooterText(column(field)); }

    std::unique_ptr<TSampleBooksForm> form;
};

TEST_P(SampleListWindowTest, SortFilterFindPickAndSum)
{
    EXPECT_EQ(form->StatusText(), u"共有记录：8 条"_s);
    EXPECT_EQ(footer(u"BookName"_s), u"合计"_s);
    EXPECT_EQ(footer(u"TotalCount"_s), u"39"_s);
    EXPECT_EQ(footer(u"BookPrice"_s), u"289.80"_s);

    // A click on a title sorts; Ctrl+click adds a second column.
    clickTitle(u"TotalCount"_s, Qt::NoModifier);
    clickTitle(u"TotalCount"_s, Qt::NoModifier);
    EXPECT_EQ(cell(0, u"TotalCount"_s), u"10"_s);
    clickTitle(u"Author"_s, Qt::NoModifier);
    clickTitle(u"BookPrice"_s, Qt::ControlModifier);
    EXPECT_TRUE(grid()->DataSet()->SQL().endsWith(u"ORDER BY Author, BookPrice"_s));
    EXPECT_EQ(grid()->TitleHeader()->SortMarkers().size(), 2);

    // Typing under a title and Enter narrows the list, its count and sums.
    QLineEdit *nameFilter = grid()->TitleHeader()->FilterEditor(column(u"BookName"_s));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"计算机"_s);
    QApplication::sendEvent(nameFilter, &typed);
    QTest::keyClick(nameFilter, Qt::Key_Return);
    EXPECT_EQ(form->StatusText(), u"共有记录：2 条"_s);
    EXPECT_EQ(footer(u"TotalCount"_s), u"13"_s);
    EXPECT_EQ(footer(u"BookPrice"_s), u"77.80"_s);
    EXPECT_TRUE(grid()->DataSet()->SQL().endsWith(u"ORDER BY Author, BookPrice"_s));

    // The query builder's find narrows it further; the filter row stays.
    TModalAnswer answer([](QDialog &d) {
        auto &f = dynamic_cast<TQLDBFilterForm &>(d);
        f.cbFields->setCurrentIndex(f.cbFields->findText(u"著者"_s));
        f.edtValue->setText(u"张"_s);
        f.AddToList();
        f.btnOK->click();
        return f.result();
    });
    form->findChild<QAction *>(u"BooksFind"_s)->trigger();
    EXPECT_EQ(names(), QStringList{u"计算机基础"_s});
    EXPECT_EQ(footer(u"TotalCount"_s), u"5"_s);
    // Emptying the filter row keeps the find: both of 张三's titles.
    grid()->ClearFilterRow();
    EXPECT_EQ(form->StatusText(), u"共有记录：2 条"_s);
    EXPECT_EQ(footer(u"TotalCount"_s), u"15"_s);

    // Picking rows: Ctrl+click, and dragging over the row headers.
    grid()->OpenSql(DM1->BooksBaseSQL);
    clickRow(1, Qt::NoModifier);
    clickRow(4, Qt::ControlModifier);
    EXPECT_EQ(grid()->SelectedRows(), (QList<int>{1, 4}));
    QWidget *rows = grid()->verticalHeader()->viewport();
    QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, rowHeaderPoint(2));
    QTest::mouseMove(rows, rowHeaderPoint(3));
    QTest::mouseMove(rows, rowHeaderPoint(5));
    QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, rowHeaderPoint(5));
    EXPECT_EQ(grid()->SelectedRows(), (QList<int>{2, 3, 4, 5}));
    // One row header clicked alone is a selection of one.
    QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, rowHeaderPoint(6));
    EXPECT_EQ(grid()->SelectedRows(), QList<int>{6});
    TDataSet *books = grid()->DataSet();
    const QList<TDataSet::TBookmark> marks = grid()->SelectedBookmarks();
    ASSERT_EQ(marks.size(), 1);
    books->First();
    ASSERT_TRUE(books->GotoBookmark(marks.constFirst()));
    const QString sixth = cell(6, u"BookName"_s);  // in the order of the sort above
    EXPECT_EQ(books->FieldByName(u"BookName"_s)->AsString(), sixth);

    // Enter in the grid runs the modify action on the current row (Enter in
    // the filter row above only filtered).
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(form->modified, QStringList{sixth});
}

TEST_P(SampleListWindowTest, CtrlFFindsText)
{
    QTest::keyClick(grid(), Qt::Key_F, Qt::ControlModifier);
    TGridFindForm *find = form->findChild<TGridFindForm *>();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    find->EditFindText->setText(u"o'brien"_s);
    QTest::mouseClick(find->BtnFindNext, Qt::LeftButton);
    EXPECT_EQ(grid()->DataSet()->RecNo(), 2);
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    find->close();
}

TEST_P(SampleListWindowTest, PrintPreviewPrintsWhatIsSelected)
{
    const auto print = [&] {
        QString recCount;
        int pages = 0;
        TModalAnswer answer([&](QDialog &d) {
            if (auto *output = dynamic_cast<TGridOutputForm *>(&d)) {
                EXPECT_EQ(output->EditTitle->text(), u"书刊信息维护"_s);
                output->BtnOK->click();
                return output->result();
            }
            auto *preview = dynamic_cast<QPrintPreviewDialog *>(&d);
            EXPECT_NE(preview, nullptr);
            auto *widget = d.findChild<QPrintPreviewWidget *>();
            if (!widget)
                return int(QDialog::Rejected);
            widget->updatePreview();  // paints the pages as the preview shows them
            pages = widget->pageCount();
            recCount = PubPrintGrid().Substitutions.value(u"%[RecCount]"_s);
            return int(QDialog::Rejected);
        });
        form->ActionPrint->trigger();
        return std::make_pair(recCount, pages);
    };
    const auto all = print();
    EXPECT_EQ(all.first, u"8"_s);
    EXPECT_GE(all.second, 1);
    grid()->SelectRows({0, 2, 4});
    EXPECT_EQ(print().first, u"3"_s);
}

TEST_P(SampleListWindowTest, FourExportsAndTheColumnChooser)
{
    QTemporaryDir dir;
    // Hiding the author through the window's column chooser.
    {
        TModalAnswer answer([](QDialog &d) {
            auto &f = dynamic_cast<TCustomColumnForm &>(d);
            for (int i = 0; i < f.ColumnsBox->count(); ++i)
                if (f.ColumnsBox->item(i)->text() == u"著者"_s)
                    f.ColumnsBox->item(i)->setCheckState(Qt::Unchecked);
            f.BtnOK->click();
            return f.result();
        });
        form->findChild<QAction *>(u"BooksCustomColumn"_s)->trigger();
    }
    EXPECT_FALSE(grid()->ColumnVisible(column(u"Author"_s)));

    const auto exportAs = [&](int format, const QString &name) {
        const QString file = dir.filePath(name);
        TModalAnswer answer([&](QDialog &d) {
            auto &f = dynamic_cast<TGridOutputForm &>(d);
            f.SelectFormat(format);
            f.EditExportFile->setText(file);
            f.ChkExportOpen->setChecked(false);
            f.BtnOK->click();
            return f.result();
        });
        form->ActionExport->trigger();
        return file;
    };
    const QString rtf = rtfPlainText(fileBytes(exportAs(0, u"书目.doc"_s)));
    const QHash<QString, QString> cells = workbookCells(exportAs(1, u"书目.xlsx"_s));
    const QString html = QString::fromUtf8(fileBytes(exportAs(2, u"书目.html"_s)));
    const QByteArray pdf = fileBytes(exportAs(3, u"书目.pdf"_s));
    for (const TSampleBook &b : SampleBooks()) {
        EXPECT_TRUE(rtf.contains(b.name)) << b.name.toStdString();
        EXPECT_TRUE(html.contains(b.name.toHtmlEscaped())) << b.name.toStdString();
    }
    EXPECT_FALSE(rtf.contains(u"著者"_s));
    EXPECT_FALSE(html.contains(u"著者"_s));
    QStringList titles;
    for (const QString &ref : {u"A1"_s, u"B1"_s, u"C1"_s, u"D1"_s, u"E1"_s})
        titles.append(cells.value(ref));
    EXPECT_TRUE(titles.contains(u"书刊名称"_s));
    EXPECT_FALSE(titles.contains(u"著者"_s));
    const char16_t nameColumn = char16_t(u'A' + titles.indexOf(u"书刊名称"_s));
    EXPECT_EQ(cells.value(QString(QChar(nameColumn)) + u"9"_s), SampleBooks()[7].name);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));

    // With rows picked, only those go out.
    grid()->SelectRows({3, 5});
    const QString picked = QString::fromUtf8(fileBytes(exportAs(2, u"选中.html"_s)));
    EXPECT_EQ(picked.count(u"<tr>"_s), 3);
    EXPECT_TRUE(picked.contains(SampleBooks()[3].name));
    EXPECT_TRUE(picked.contains(SampleBooks()[5].name));
    EXPECT_FALSE(picked.contains(SampleBooks()[0].name));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, SampleListWindowTest, BothKinds, KindName);

} // namespace
