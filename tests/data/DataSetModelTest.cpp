// The grid model over a dataset: run under Qt's model checker while the
// dataset opens, edits, filters and closes, the texts it shows, and a large
// list that is only read where a view looks.

#include "support/TestDb.h"

#include "data/DataSet.h"
#include "data/DataSetModel.h"
#include "data/Schema.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QDate>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

// Collects the model checker's complaints while alive.
class TWarningCatcher
{
public:
    TWarningCatcher() { m_previous = qInstallMessageHandler(&TWarningCatcher::handle); }
    ~TWarningCatcher() { qInstallMessageHandler(m_previous); }
    static QStringList &warnings()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            warnings().append(text);
    }
    QtMessageHandler m_previous;
};

class DataSetModelTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
    }

    void exec(const QString &sql) { db->conn().Execute(sql); }

    void addBooks(int n)
    {
        exec(u"INSERT INTO Books_tab (BookName, Author, BookType) "
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "_s
             + QString::number(n)
             + u") SELECT 'B' || CAST(100000 + i AS VARCHAR(10)), 'A', "
               "CASE i % 2 WHEN 0 THEN '图书' ELSE '期刊' END FROM n"_s);
    }

    std::unique_ptr<TDataSet> books()
    {
        auto ds = std::make_unique<TDataSet>(db->conn(), u"BooksQuery"_s);
        ds->SetSQL(u"SELECT * FROM Books_view"_s + db->conn().Dialect().BaseWhereClause());
        ds->SetPersistentFields(Schema::ColumnsOf(u"Books_view"_s));
        return ds;
    }

    static QVariant cell(const TDataSetModel &m, int row, const QString &field, int role = Qt::DisplayRole)
    {
        const int column = m.ColumnOf(m.DataSet()->FieldByName(field));
        return m.data(m.index(row, column), role);
    }

    std::unique_ptr<TTestDb> db;
};

TEST_P(DataSetModelTest, FollowsTheDataSetUnderTheModelChecker)
{
    addBooks(600);  // more than one page
    exec(u"UPDATE Books_tab SET BookPrice = 35.8, RegDate = '2024-01-05' WHERE BookName = 'B100001'"_s);
    auto ds = books();
    TDataSetModel model(ds.get());
    TWarningCatcher catcher;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(model.rowCount(), 0);

    ds->Open();
    EXPECT_EQ(model.rowCount(), 600);
    int visible = 0;
    for (TField *f : ds->Fields())
        visible += f->Visible() ? 1 : 0;
    EXPECT_EQ(model.columnCount(), visible);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), model.FieldAt(0)->DisplayLabel());
    EXPECT_EQ(model.ColumnOf(ds->FieldByName(u"BookID"_s)), -1);  // hidden
    EXPECT_EQ(cell(model, 0, u"BookPrice"_s), QVariant(u"35.80"_s));
    EXPECT_EQ(cell(model, 0, u"RegDate"_s), QVariant(u"2024-01-05"_s));
    EXPECT_EQ(cell(model, 599, u"BookName"_s), QVariant(u"B100600"_s));
    EXPECT_EQ(cell(model, 0, u"BookPrice"_s, Qt::TextAlignmentRole).value<Qt::Alignment>()
                  & Qt::AlignRight,
              Qt::AlignRight);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    ds->Append();
    EXPECT_EQ(model.rowCount(), 601);
    ds->FieldByName(u"BookName"_s)->SetValue(u"新书"_s);
    EXPECT_EQ(cell(model, 600, u"BookName"_s), QVariant(u"新书"_s));  // the edit buffer shows
    ds->Post();
    EXPECT_EQ(model.rowCount(), 601);
    ds->Append();
    ds->Cancel();
    EXPECT_EQ(model.rowCount(), 601);
    ds->First();
    ds->Edit();
    ds->FieldByName(u"Author"_s)->SetValue(u"某人"_s);
    ds->Post();
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_EQ(cell(model, 0, u"Author"_s), QVariant(u"某人"_s));
    ds->Delete();
    EXPECT_EQ(model.rowCount(), 600);

    ds->SetFilter(u"BookType='期刊'"_s);
    ds->SetFiltered(true);
    EXPECT_EQ(model.rowCount(), 299);  // the odd ones, less the one deleted
    ds->Close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(TWarningCatcher::warnings().isEmpty()) << TWarningCatcher::warnings().join(u'\n').toStdString();
}

TEST_P(DataSetModelTest, BooleansShowAsCheckStatesWithoutText)
{
    exec(u"INSERT INTO Readers_tab (ReaderName, Sex) VALUES ('王芳', 0), ('李明', 1)"_s);
    TDataSet ds(db->conn(), u"ReadersQuery"_s);
    ds.SetSQL(u"SELECT * FROM Readers_view ORDER BY ReaderName"_s);
    ds.SetPersistentFields(Schema::ColumnsOf(u"Readers_view"_s));
    TDataSetModel model(&ds);
    ds.Open();
    EXPECT_EQ(cell(model, 0, u"Sex"_s, Qt::CheckStateRole), QVariant(int(Qt::Checked)));
    EXPECT_EQ(cell(model, 1, u"Sex"_s, Qt::CheckStateRole), QVariant(int(Qt::Unchecked)));
    EXPECT_EQ(cell(model, 0, u"Sex"_s).toString(), QString());
    EXPECT_EQ(cell(model, 0, u"Sex"_s, Qt::EditRole), QVariant(true));
    EXPECT_FALSE(cell(model, 0, u"ReaderName"_s, Qt::CheckStateRole).isValid());
}

TEST_P(DataSetModelTest, LargeListIsReadOnlyWhereTheViewLooks)
{
    addBooks(5000);
    auto ds = books();
    TDataSetModel model(ds.get());
    ds->Open();
    EXPECT_EQ(model.rowCount(), 5000);
    EXPECT_EQ(cell(model, 4999, u"BookName"_s), QVariant(u"B105000"_s));
    EXPECT_EQ(cell(model, 2500, u"BookName"_s), QVariant(u"B102501"_s));
    EXPECT_LT(ds->CachedRowCount(), 1000);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DataSetModelTest, BothKinds, KindName);

} // namespace
