// The datasets of the data module: their SQL at load and persistent fields.

#include "DMPas.h"

#include "DataSet.h"
#include "Schema.h"

using namespace Qt::StringLiterals;

namespace {

Schema::Column columnOf(const QString &relation, const QString &name)
{
    for (const Schema::Column &c : Schema::ColumnsOf(relation))
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    Q_ASSERT_X(false, "columnOf", qPrintable(name));
    return {};
}

QList<Schema::Column> columnsOf(const QString &relation, const QStringList &names)
{
    QList<Schema::Column> out;
    for (const QString &n : names)
        out.append(columnOf(relation, n));
    return out;
}

Schema::Column relabelled(Schema::Column c, const QString &label)
{
    c.label = label;
    return c;
}

} // namespace

void TDM1::createDataSets()
{
    // name, SQL at load, the table or view whose columns are its fields
    // (empty: every column the SQL returns).
    const auto make = [this](const QString &name, const QString &sql, const QString &fieldsOf) {
        auto *ds = new TDataSet(DurEzeConn, name);
        ds->SetSQL(sql);
        if (!fieldsOf.isEmpty())
            ds->SetPersistentFields(Schema::ColumnsOf(fieldsOf));
        return ds;
    };
    UserQuery = make(u"UserQuery"_s, u"Select * from Users_tab"_s, u"Users_tab"_s);
    PubQuery = make(u"PubQuery"_s, {}, {});
    FunQuery = make(u"FunQuery"_s,
                    u"SELECT FunName,IsOpen,IsOperate,IsPrint,FunCate\r\n"
                    "FROM UserFun_tab LEFT JOIN UserAccredit_tab\r\n"
                    "ON UserFun_tab.FunID=UserAccredit_tab.FunID"_s,
                    {});
    // The rights editor ticks these columns; they are written back by AccID.
    FunQuery->SetUpdateTable(u"UserAccredit_tab"_s);
    {
        Schema::Column name = columnOf(u"UserFun_tab"_s, u"FunName"_s);
        name.readOnly = true;
        Schema::Column cate = columnOf(u"UserFun_tab"_s, u"FunCate"_s);
        cate.hidden = true;
        FunQuery->SetPersistentFields(
            QList<Schema::Column>{name} +
            columnsOf(u"UserAccredit_tab"_s, {u"IsOpen"_s, u"IsOperate"_s, u"IsPrint"_s}) +
            QList<Schema::Column>{cate});
    }
    ParQuery = make(u"ParQuery"_s, u"SELECT * FROM Par_tab"_s, u"Par_tab"_s);
    ItemsQuery = make(u"ItemsQuery"_s, u"SELECT * FROM Items_tab"_s, u"Items_tab"_s);
    UserLogQuery = make(u"UserLogQuery"_s, u"SELECT * FROM UserLog_tab"_s, u"UserLog_tab"_s);
    UserLogQuery->SetReadOnly(true);
    AccQuery = make(u"AccQuery"_s,
                    u"SELECT UserFun_tab.*,UserAccredit_tab.* \r\n"
                    "FROM UserFun_tab LEFT JOIN UserAccredit_tab \r\n"
                    "ON UserFun_tab.FunID=UserAccredit_tab.FunID"_s,
                    {});
    ReadersQuery = make(u"ReadersQuery"_s, u"SELECT * FROM Readers_view"_s, u"Readers_view"_s);
    BooksQuery = make(u"BooksQuery"_s, u"SELECT * FROM Books_view"_s, u"Books_view"_s);
    ReaderCateQuery = make(u"ReaderCateQuery"_s, u"SELECT * FROM ReaderCate_tab"_s, u"ReaderCate_tab"_s);
    PublishersQuery = make(u"PublishersQuery"_s, u"SELECT * FROM Publishers_tab"_s, u"Publishers_tab"_s);
    BookCateQuery = make(u"BookCateQuery"_s, u"SELECT * FROM BookCate_tab"_s, u"BookCate_tab"_s);
    LoanListQuery = make(u"LoanListQuery"_s, u"SELECT * FROM LoanList_view"_s, u"LoanList_view"_s);

    const QString loans = u"LoanList_view"_s;
    Schema::Column loanCount = columnOf(u"Books_tab"_s, u"LoanCount"_s);
    BookLoanStatQuery = make(u"BookLoanStatQuery"_s,
                             u"SELECT COUNT(*)AS LoanCount,BookName,BookType\r\n"
                             "FROM LoanList_view\r\n"
                             "GROUP BY BookID,BookName,BookType"_s,
                             {});
    BookLoanStatQuery->SetPersistentFields(
        QList<Schema::Column>{relabelled(loanCount, u"借出次数"_s)} +
        columnsOf(loans, {u"BookName"_s, u"BookType"_s}));
    ReaderLoanStatQuery = make(
        u"ReaderLoanStatQuery"_s,
        u"SELECT COUNT(*)AS LoanCount,ReaderCode,CardID,ReaderName,Sex,ReaderCateName,DeptName\r\n"
        "FROM LoanList_view\r\n"
        "GROUP BY ReaderID,ReaderCode,CardID,ReaderName,Sex,ReaderCateName,DeptName"_s,
        {});
    ReaderLoanStatQuery->SetPersistentFields(
        QList<Schema::Column>{relabelled(loanCount, u"借书册数"_s)} +
        columnsOf(loans, {u"ReaderCode"_s, u"CardID"_s, u"ReaderName"_s, u"Sex"_s,
                          u"ReaderCateName"_s, u"DeptName"_s}));

    BylawQuery = make(u"BylawQuery"_s, u"SELECT * FROM Bylaw_tab"_s, u"Bylaw_tab"_s);
    CopiesQuery = make(u"CopiesQuery"_s, u"SELECT * FROM Copies_tab"_s, u"Copies_tab"_s);
    // The book editor saves a title's copies together with the title.
    CopiesQuery->SetCachedUpdates(true);
    TempQuery = make(u"TempQuery"_s, {}, {});
    BookFindQuery = make(u"BookFindQuery"_s, u"SELECT * FROM Books_view"_s, u"Books_view"_s);
    CopyListQuery = make(u"CopyListQuery"_s, u"SELECT * FROM Copies_view"_s, u"Copies_view"_s);
    PicturesQuery = make(u"PicturesQuery"_s, u"SELECT * FROM Pictures_tab"_s, u"Pictures_tab"_s);
}

QList<TDataSet *> TDM1::DataSets() const
{
    return {UserQuery, PubQuery, FunQuery, ParQuery, ItemsQuery, UserLogQuery, AccQuery,
            ReadersQuery, BooksQuery, ReaderCateQuery, PublishersQuery, BookCateQuery,
            LoanListQuery, BookLoanStatQuery, ReaderLoanStatQuery, BylawQuery, CopiesQuery,
            TempQuery, BookFindQuery, CopyListQuery, PicturesQuery};
}

TDataSet *TDM1::FindDataSet(const QString &name) const
{
    for (TDataSet *ds : DataSets())
        if (ds->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    return nullptr;
}

