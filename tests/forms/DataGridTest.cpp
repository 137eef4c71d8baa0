// The data grid on a real database of both kinds: the filter row and its
// combination with a find, sorting by the titles, footer sums, multi-row
// selection with bookmarks, the modify action, tooltips and the find dialog.

#include "FormsFixture.h"

#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "forms/DataGrid.h"
#include "forms/GridFind.h"
#include "forms/GridFindFrm.h"
#include "forms/GridTitleHeader.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class DataGridTest : public FormsDbTest
{
protected:
    void SetUp() override
    {
        FormsDbTest::SetUp();
        if (IsSkipped())
            return;
        books = dm->BooksQuery;
        grid = std::make_unique<TDataGrid>(books);
        grid->resize(900, 400);
        grid->OpenSql(dm->BooksBaseSQL);
    }
    void TearDown() override
    {
        grid.reset();
        FormsDbTest::TearDown();
    }
    int column(const QString &field) const { return grid->ColumnOf(field); }
    QString cell(int row, const QString &field) const
    {
        return grid->GridModel()->CellText(row, column(field));
    }
    // The marker line of the dataset's SQL.
    QString markerLine() const
    {
        for (const QString &line : books->SQL().split(u'\r'))
            if (line.startsWith(u"/*FILTER*/"_s, Qt::CaseInsensitive))
                return line;
        return {};
    }

    TDataSet *books = nullptr;
    std::unique_ptr<TDataGrid> grid;
};

// Collects the warnings the model tester writes while it watches.
class TWarningCatcher
{
public:
    TWarningCatcher() { m_previous = qInstallMessageHandler(&TWarningCatcher::handle); }
    ~TWarningCatcher() { qInstallMessageHandler(m_previous); }
    static QStringList &caught()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type != QtDebugMsg && text.contains(u"FAIL"_s))
            caught().append(text);
    }
    QtMessageHandler m_previous = nullptr;
};

TEST_P(DataGridTest, ShowsTheVisibleFieldsWithTheirLabels)
{
    TWarningCatcher::caught().clear();
    TWarningCatcher catcher;
    QAbstractItemModelTester tester(grid->GridModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(grid->GridModel()->rowCount(), SampleBooks().size());
    EXPECT_EQ(column(u"BookID"_s), -1);        // hidden key
    EXPECT_EQ(column(u"ContentIntro"_s), -1);  // hidden memo
    EXPECT_EQ(grid->ColumnCaption(column(u"BookName"_s)), u"书刊名称"_s);
    EXPECT_EQ(cell(2, u"BookName"_s), u"O'Brien的书"_s);
    EXPECT_EQ(cell(0, u"BookPrice"_s), u"35.80"_s);
    EXPECT_EQ(cell(0, u"RegDate"_s), u"2009-05-01"_s);
    // Sorting the titles again keeps the user's column widths.
    grid->setColumnWidth(column(u"Author"_s), 123);
    grid->ClickTitle(column(u"Author"_s), Qt::NoModifier);
    EXPECT_EQ(grid->columnWidth(column(u"Author"_s)), 123);
    // The model stays sound through reopens, filters, edits and deletes.
    grid->SetFilterText(u"BookName"_s, u"计算机"_s);
    grid->ApplyFilterRow();
    books->Append();
    books->FieldByName(u"BookName"_s)->SetValue(u"计算机新书"_s);
    books->FieldByName(u"Author"_s)->SetValue(u"某人"_s);
    books->FieldByName(u"BookType"_s)->SetValue(u"图书"_s);
    books->Post();
    EXPECT_EQ(grid->GridModel()->rowCount(), 3);
    books->Delete();
    EXPECT_EQ(grid->GridModel()->rowCount(), 2);
    grid->ClearFilterRow();
    EXPECT_TRUE(TWarningCatcher::caught().isEmpty()) << TWarningCatcher::caught().join(u'\n').toStdString();
}

TEST_P(DataGridTest, FilterRowRewritesTheMarkerLineAndKeepsAFind)
{
    grid->SetFilterText(u"BookName"_s, u"计算机"_s);
    ASSERT_TRUE(grid->ApplyFilterRow());
    EXPECT_EQ(markerLine(), u"/*FILTER*/ (UPPER(BookName) LIKE UPPER('%计算机%') ESCAPE '!')"_s);
    EXPECT_EQ(books->RecordCount(), 2);

    // Two columns are joined with AND.
    grid->SetFilterText(u"TotalCount"_s, u">5"_s);
    ASSERT_TRUE(grid->ApplyFilterRow());
    EXPECT_EQ(books->RecordCount(), 1);
    EXPECT_EQ(cell(0, u"BookName"_s), u"计算机网络"_s);

    // A find through the grid keeps the filter row: both narrow the list.
    grid->SetFilterText(u"TotalCount"_s, {});
    grid->ApplyFilterRow();
    grid->OpenSql(dm->BooksBaseSQL + u" AND Author = "_s + QuotedStr(u"张三"_s));
    EXPECT_EQ(books->RecordCount(), 1);
    EXPECT_EQ(grid->FilterText(u"BookName"_s), u"计算机"_s);
    // The filter row changed after the find keeps the find.
    grid->SetFilterText(u"BookName"_s, u"数据"_s);
    grid->ApplyFilterRow();
    EXPECT_EQ(books->RecordCount(), 1);
    EXPECT_EQ(cell(0, u"BookName"_s), u"数据结构"_s);
    EXPECT_TRUE(books->SQL().contains(u"AND Author = '张三'"_s));
    grid->ClearFilterRow();
    EXPECT_EQ(books->RecordCount(), 2);

    // A window that reopens the query itself starts the grid afresh.
    grid->SetFilterText(u"BookName"_s, u"计算机"_s);
    grid->ApplyFilterRow();
    ReopenQuery(books, dm->BooksBaseSQL);
    EXPECT_EQ(grid->FilterText(u"BookName"_s), QString());
    EXPECT_TRUE(grid->FilterCondition().isEmpty());
    EXPECT_EQ(books->RecordCount(), SampleBooks().size());
}

TEST_P(DataGridTest, FilterRowTextsAreTakenSafely)
{
    struct Case {
        QString field;
        QString text;
        int rows;
    };
    const QList<Case> cases{
        {u"BookName"_s, u"o'brien"_s, 1},           // quote doubled, letter case ignored
        {u"BookName"_s, u"50%"_s, 1},               // "%" taken literally: not 500个问题
        {u"BookName"_s, u"Java_"_s, 1},
        {u"BookName"_s, u"Jav_"_s, 0},              // "_" is no wildcard here
        {u"BookName"_s, u"' OR '1'='1"_s, 0},
        {u"TotalCount"_s, u"<=2"_s, 2},
        {u"BookPrice"_s, u">50"_s, 2},
        {u"RegDate"_s, u">=2011-1-1"_s, 3},
        {u"RegDate"_s, u"2009-05-01"_s, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString(c.field + u": "_s + c.text).toStdString());
        grid->ClearFilterRow();
        grid->SetFilterText(c.field, c.text);
        ASSERT_TRUE(grid->ApplyFilterRow());
        EXPECT_EQ(books->RecordCount(), c.rows);
    }

    // A text a column cannot take says why and leaves the list as it is.
    grid->ClearFilterRow();
    const QString before = books->SQL();
    TMessageRecorder messages;
    grid->SetFilterText(u"TotalCount"_s, u"五本"_s);
    EXPECT_FALSE(grid->ApplyFilterRow());
    EXPECT_EQ(messages.texts(), QStringList{u"“五本”不是正确的总册数，请输入数字。"_s});
    EXPECT_EQ(books->SQL(), before);
    // Enter in the editor does the same as ApplyFilterRow.
    grid->SetFilterText(u"TotalCount"_s, u"8"_s);
    QTest::keyClick(grid->TitleHeader()->FilterEditor(column(u"TotalCount"_s)), Qt::Key_Return);
    EXPECT_EQ(books->RecordCount(), 1);

    // A pause after typing takes the text too, but not while a row is being
    // edited: the list must not change under the editor.
    QLineEdit *editor = grid->TitleHeader()->FilterEditor(column(u"TotalCount"_s));
    editor->clear();
    books->Edit();
    const QString editing = books->SQL();
    QTest::keyClicks(editor, u">1"_s);
    QTest::qWait(1500);
    EXPECT_EQ(books->State(), TDataSetState::Edit);
    EXPECT_EQ(books->SQL(), editing);
    books->Cancel();
    for (int waited = 0; books->SQL() == editing && waited < 5000; waited += 50)
        QTest::qWait(50);
    EXPECT_NE(books->SQL(), editing);
}

TEST_P(DataGridTest, TitlesSortInTheDatabase)
{
    const int total = column(u"TotalCount"_s);
    const int author = column(u"Author"_s);
    grid->ClickTitle(total, Qt::NoModifier);
    EXPECT_TRUE(books->SQL().endsWith(u"\rORDER BY TotalCount"_s));
    EXPECT_EQ(cell(0, u"TotalCount"_s), u"1"_s);
    grid->ClickTitle(total, Qt::NoModifier);  // again: the other way round
    EXPECT_EQ(cell(0, u"TotalCount"_s), u"10"_s);

    // Ctrl+click adds a column; the markers show both in order.
    grid->ClickTitle(author, Qt::NoModifier);
    grid->ClickTitle(total, Qt::ControlModifier);
    grid->ClickTitle(total, Qt::ControlModifier);
    EXPECT_TRUE(books->SQL().endsWith(u"ORDER BY Author, TotalCount DESC"_s));
    EXPECT_EQ(cell(0, u"Author"_s), u"O'Brien"_s);
    const QList<TGridTitleHeader::TSortMarker> markers = grid->TitleHeader()->SortMarkers();
    ASSERT_EQ(markers.size(), 2);
    EXPECT_EQ(markers[0].section, author);
    EXPECT_FALSE(markers[0].descending);
    EXPECT_EQ(markers[1].section, total);
    EXPECT_TRUE(markers[1].descending);
    // Rows of one author come by count, highest first.
    int zhang = 0;
    while (zhang < books->RecordCount() && cell(zhang, u"Author"_s) != u"张三"_s)
        ++zhang;
    EXPECT_EQ(cell(zhang, u"TotalCount"_s), u"10"_s);
    EXPECT_EQ(cell(zhang + 1, u"Author"_s), u"张三"_s);
    EXPECT_EQ(cell(zhang + 1, u"TotalCount"_s), u"5"_s);

    // The sort survives a filter, and a third Ctrl+click takes the column out.
    grid->SetFilterText(u"BookName"_s, u"计算机"_s);
    grid->ApplyFilterRow();
    EXPECT_TRUE(books->SQL().endsWith(u"ORDER BY Author, TotalCount DESC"_s));
    grid->ClickTitle(total, Qt::ControlModifier);
    EXPECT_TRUE(books->SQL().endsWith(u"ORDER BY Author"_s));

    // A real click on a title, with Ctrl held, goes the same way.
    grid->show();
    QHeaderView *header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(total) + 10, header->viewport()->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_TRUE(books->SQL().endsWith(u"ORDER BY Author, TotalCount"_s));
}

TEST_P(DataGridTest, FooterSumsComeFromTheDatabase)
{
    grid->SetFooterSum(u"TotalCount"_s);
    grid->SetFooterSum(u"BookPrice"_s);
    grid->SetFooterText(u"BookName"_s, u"合计"_s);
    EXPECT_TRUE(grid->FooterVisible());
    EXPECT_EQ(grid->FooterText(column(u"TotalCount"_s)), u"39"_s);
    EXPECT_EQ(grid->FooterText(column(u"BookPrice"_s)), u"289.80"_s);
    EXPECT_EQ(grid->FooterText(column(u"BookName"_s)), u"合计"_s);
    grid->SetFilterText(u"BookName"_s, u"计算机"_s);
    grid->ApplyFilterRow();
    EXPECT_EQ(grid->FooterText(column(u"TotalCount"_s)), u"13"_s);
    EXPECT_EQ(grid->FooterText(column(u"BookPrice"_s)), u"77.80"_s);
    // A posted change is added up again once the event loop runs.
    books->First();
    books->Edit();
    books->FieldByName(u"TotalCount"_s)->SetValue(7);
    books->Post();
    QTest::qWait(1);
    EXPECT_EQ(grid->FooterText(column(u"TotalCount"_s)), u"15"_s);
    grid->ClearFooter();
    EXPECT_FALSE(grid->FooterVisible());
}

TEST_P(DataGridTest, SelectedRowsAreWalkedByBookmarks)
{
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    const auto clickRow = [&](int row, Qt::KeyboardModifiers mods) {
        const QRect r = grid->visualRect(grid->GridModel()->index(row, column(u"Author"_s)));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, r.center());
    };
    // A plain click only moves the current row.
    clickRow(1, Qt::NoModifier);
    EXPECT_EQ(books->RecNo(), 1);
    EXPECT_FALSE(grid->HasRowSelection());
    EXPECT_TRUE(grid->SelectedBookmarks().isEmpty());
    // Ctrl adds rows, Shift extends.
    clickRow(3, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRows(), (QList<int>{1, 3}));
    clickRow(5, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedRows(), (QList<int>{1, 3, 4, 5}));
    EXPECT_EQ(books->RecNo(), 5);

    const QList<TDataSet::TBookmark> marks = grid->SelectedBookmarks();
    ASSERT_EQ(marks.size(), 4);
    EXPECT_EQ(books->RecNo(), 5);  // the walk comes back to the current row
    EXPECT_EQ(grid->SelectedRows(), (QList<int>{1, 3, 4, 5}));
    QStringList names;
    for (TDataSet::TBookmark mark : marks) {
        ASSERT_TRUE(books->GotoBookmark(mark));
        names.append(books->FieldByName(u"BookName"_s)->AsString());
    }
    EXPECT_EQ(names, (QStringList{SampleBooks()[1].name, SampleBooks()[3].name,
                                  SampleBooks()[4].name, SampleBooks()[5].name}));
    // Moving the dataset to a selected row keeps the selection; elsewhere clears it.
    books->MoveTo(3);
    EXPECT_EQ(grid->SelectedRowCount(), 4);
    books->MoveTo(0);
    EXPECT_FALSE(grid->HasRowSelection());
    // One row picked with Ctrl counts as a selection.
    clickRow(2, Qt::ControlModifier);
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRows(), QList<int>{2});
    grid->ClearRowSelection();
    EXPECT_FALSE(grid->HasRowSelection());
}

TEST_P(DataGridTest, DoubleClickAndEnterRunTheModifyAction)
{
    QAction modify(u"修改(&M)"_s);
    int runs = 0;
    QObject::connect(&modify, &QAction::triggered, [&] { ++runs; });
    grid->SetModifyAction(&modify);
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    const QRect r = grid->visualRect(grid->GridModel()->index(2, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(books->RecNo(), 2);
    QTest::keyClick(grid.get(), Qt::Key_Return);
    EXPECT_EQ(runs, 2);
    // Without the right the action is disabled, and nothing runs.
    modify.setEnabled(false);
    QTest::keyClick(grid.get(), Qt::Key_Return);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    EXPECT_EQ(runs, 2);
}

// Chosen boolean columns take ticks (a plain click, Space) written through
// the dataset; other cells stay read-only, and a row another workstation
// deleted is reported and left as it was.
TEST_P(DataGridTest, CheckColumnsWriteTicksThroughTheDataSet)
{
    exec(u"INSERT INTO Users_tab(UserCode,UserName,IsLock)VALUES('u1','甲',0)"_s);
    exec(u"INSERT INTO Users_tab(UserCode,UserName,IsLock)VALUES('u2','乙',1)"_s);
    TDataGrid users(dm->UserQuery);
    users.OpenSql(u"SELECT * FROM Users_tab ORDER BY UserCode"_s);
    users.SetCheckColumns({u"islock"_s});
    users.resize(700, 300);
    users.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&users));
    const auto locks = [&]() -> QString {
        return GetSingleValue(u"SELECT IsLock FROM Users_tab WHERE UserCode='u1'"_s) + u','
               + GetSingleValue(u"SELECT IsLock FROM Users_tab WHERE UserCode='u2'"_s);
    };
    const auto click = [&](int row, const QString &field, Qt::KeyboardModifiers mods = {}) {
        const QModelIndex at = users.GridModel()->index(row, users.ColumnOf(field));
        QTest::mouseClick(users.viewport(), Qt::LeftButton, mods, users.visualRect(at).center());
    };
    EXPECT_TRUE(users.IsCheckColumn(users.ColumnOf(u"IsLock"_s)));
    EXPECT_FALSE(users.IsCheckColumn(users.ColumnOf(u"UserName"_s)));

    click(0, u"IsLock"_s);
    EXPECT_EQ(locks(), u"1,1"_s);
    users.setCurrentIndex(users.GridModel()->index(1, users.ColumnOf(u"IsLock"_s)));
    QTest::keyClick(&users, Qt::Key_Space);
    EXPECT_EQ(locks(), u"1,0"_s);
    click(0, u"UserName"_s);
    QTest::keyClick(&users, Qt::Key_Space);
    click(1, u"IsLock"_s, Qt::ControlModifier);  // picks the row, ticks nothing
    EXPECT_EQ(locks(), u"1,0"_s);
    EXPECT_EQ(dm->UserQuery->State(), TDataSetState::Browse);

    exec(u"DELETE FROM Users_tab WHERE UserCode='u1'"_s);
    TMessageRecorder messages;
    click(0, u"IsLock"_s);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(dm->UserQuery->State(), TDataSetState::Browse);
    EXPECT_EQ(users.GridModel()->index(0, users.ColumnOf(u"IsLock"_s)).data(Qt::CheckStateRole).toInt(),
              int(Qt::Checked));
    EXPECT_EQ(GetSingleValue(u"SELECT COUNT(*) FROM Users_tab"_s), u"1"_s);
}

TEST_P(DataGridTest, CutOffTextsGetTooltipsAndATitleBorderFitsTheColumn)
{
    const int name = column(u"BookName"_s);
    grid->setColumnWidth(name, 80);
    EXPECT_TRUE(grid->CellTextCutOff(grid->GridModel()->index(6, name)));
    EXPECT_FALSE(grid->CellTextCutOff(grid->GridModel()->index(6, column(u"TotalCount"_s))));
    // A double click on the title's right border fits the column to its rows.
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    QHeaderView *header = grid->horizontalHeader();
    const QPoint border(header->sectionViewportPosition(name) + header->sectionSize(name) - 1,
                        header->viewport()->height() / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    EXPECT_GT(grid->columnWidth(name), 80);
    EXPECT_FALSE(grid->CellTextCutOff(grid->GridModel()->index(6, name)));
}

TEST_P(DataGridTest, FindDialogMovesToTheNextMatch)
{
    TGridFindForm *find = ShowGridFindDialog(grid.get());
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->EditFindText->text().isEmpty());
    EXPECT_EQ(find->CboFindField->currentIndex(), 0);  // every column
    books->First();
    find->EditFindText->setText(u"张三"_s);
    EXPECT_TRUE(find->FindNext());
    EXPECT_EQ(books->RecNo(), 5);
    EXPECT_EQ(grid->currentIndex().row(), 5);
    // Searching up from there finds the first title of 张三 again.
    find->RadUp->setChecked(true);
    EXPECT_TRUE(find->FindNext());
    EXPECT_EQ(books->RecNo(), 0);
    // One column only, the whole cell.
    find->RadDown->setChecked(true);
    find->CboFindField->setCurrentIndex(find->CboFindField->findText(u"总册数"_s));
    find->CboMatch->setCurrentIndex(int(TGridFindMatch::WholeCell));
    find->EditFindText->setText(u"1"_s);
    EXPECT_TRUE(find->FindNext());
    EXPECT_EQ(books->RecNo(), 3);
    TMessageRecorder messages;
    EXPECT_FALSE(find->FindNext());
    EXPECT_EQ(messages.texts(), QStringList{u"没有找到“1”。"_s});
    EXPECT_EQ(books->RecNo(), 3);
    // Opened again, here by Ctrl+F in the grid, it starts empty.
    find->close();
    QTest::keyClick(grid.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(find->EditFindText->text().isEmpty());
    find->close();
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DataGridTest, BothKinds, KindName);

// A long search asks whether to go on every few hundred rows, and stops
// when told to.
TEST(GridFind, LongSearchesCanBeStopped)
{
    const int rows = 2000;
    const auto text = [](int row, int column) {
        return row == 1500 && column == 1 ? u"目标"_s : u"第%1行"_s.arg(row);
    };
    TGridFindOptions options;
    options.Text = u"目标"_s;
    QList<int> asked;
    bool stopped = true;
    EXPECT_EQ(FindGridText(rows, {0, 1}, text, options, -1,
                           [&](int row) { asked.append(row); return true; }, &stopped),
              1500);
    EXPECT_FALSE(stopped);
    EXPECT_EQ(asked.size(), 1500 / FindCheckEvery);
    EXPECT_EQ(FindGridText(rows, {0, 1}, text, options, -1,
                           [](int row) { return row < 1000; }, &stopped),
              -1);
    EXPECT_TRUE(stopped);
    // Upwards from the end, and not found.
    options.Forward = false;
    EXPECT_EQ(FindGridText(rows, {1}, text, options, rows), 1500);
    options.Text = u"没有"_s;
    EXPECT_EQ(FindGridText(rows, {0, 1}, text, options, rows, [](int) { return true; }, &stopped), -1);
    EXPECT_FALSE(stopped);
}

} // namespace
