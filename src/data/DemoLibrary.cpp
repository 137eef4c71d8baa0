#include "DemoLibrary.h"

#include "DbError.h"
#include "DemoLibraryData.h"
#include "DurEzeConn.h"

#include <QDate>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString kOperator = u"Admin"_s;

// What the loans need to know of a reader.
struct TDemoReader {
    int id = 0;
    int limitDays = 0;
};

// The copies of each title, by title, in the order they were added.
struct TDemoCopies {
    QHash<QString, int> bookIds;
    QHash<QString, QList<int>> copyIds;
};

QString iso(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

bool holdsTitles(TDurEzeConn &conn)
{
    QSqlQuery q = conn.Select(u"SELECT COUNT(*) FROM Books_tab"_s);
    return q.next() && q.value(0).toInt() > 0;
}

QHash<QString, QString> pairs(TDurEzeConn &conn, const QString &sql)
{
    QHash<QString, QString> out;
    QSqlQuery q = conn.Select(sql);
    while (q.next())
        out.insert(q.value(0).toString(), q.value(1).toString());
    return out;
}

// The value a record names in a lookup, which the data files must hold.
QString lookUp(const QHash<QString, QString> &map, const QString &key, const QString &what)
{
    const auto it = map.constFind(key);
    if (it == map.constEnd())
        throw TDbError(u"示例数据中的%1“%2”不存在。"_s.arg(what, key));
    return *it;
}

void loadItems(TDurEzeConn &conn)
{
    // Codes count from 1 within each category, in the file's order.
    QHash<int, int> lastCode;
    for (const TDemoRecord &r : ReadDemoFile(u"items.tsv"_s)) {
        const int cate = r.value(u"ItemCate"_s).toInt();
        EnsureDemoRow(conn, u"Items_tab"_s, {
            {u"ItemCate"_s, cate},
            {u"ItemName"_s, r.value(u"ItemName"_s)},
            {u"ItemCode"_s, ++lastCode[cate]},
        }, 2);
    }
}

void loadReaderCategories(TDurEzeConn &conn)
{
    for (const TDemoRecord &r : ReadDemoFile(u"reader_categories.tsv"_s)) {
        TDemoValues values;
        for (const QString &column : {u"ReaderCateName"_s, u"LimitBooksCount"_s, u"LimitDays"_s,
                                      u"ReLoanTimes"_s, u"ReLoanDays"_s})
            values.append({column, r.value(column)});
        EnsureDemoRow(conn, u"ReaderCate_tab"_s, values);
    }
}

// The title's own columns as the file gives them, with the category name
// and the place of publication copied from their tables.
TDemoValues bookValues(const TDemoRecord &r, const QHash<QString, QString> &cateNames,
                       const QHash<QString, QString> &places, const QDate &regDate)
{
    TDemoValues values;
    for (const QString &column :
         {u"ISBNISSN"_s, u"BookName"_s, u"Author"_s, u"BookType"_s, u"CateCode"_s, u"Publisher"_s,
          u"PublishDate"_s, u"BookPrice"_s, u"Keywords"_s, u"SeriesName"_s, u"EditionTime"_s,
          u"BookLanguage"_s, u"BookFaceInfo"_s, u"CN"_s, u"PublishPeriods"_s, u"UpDept"_s,
          u"Memo"_s})
        values.append({column, r.value(column)});
    values += {
        {u"CateName"_s, lookUp(cateNames, r.value(u"CateCode"_s), u"分类号"_s)},
        {u"PublishPlace"_s, lookUp(places, r.value(u"Publisher"_s), u"出版单位"_s)},
        {u"TotalCount"_s, r.value(u"Copies"_s).toInt()},
        {u"LoanCount"_s, 0},
        {u"RegDate"_s, iso(regDate)},
        {u"Operator"_s, kOperator},
    };
    return values;
}

// The copies of one title: barcodes are running numbers, the call number is
// the class number with the title's running number within its class.
QList<int> addCopies(TDurEzeConn &conn, int bookId, const TDemoRecord &r,
                     const QString &callNumber, int &barcode, const QDate &regDate)
{
    const bool periodical = r.value(u"BookType"_s) == u"期刊";
    QList<int> ids;
    for (int n = 1; n <= r.value(u"Copies"_s).toInt(); ++n) {
        // A periodical's copies are back issues of the year before.
        const QString volume =
            periodical ? u"%1年第%2期"_s.arg(regDate.year() - 1).arg(n) : QString();
        ids.append(InsertDemoRow(conn, u"Copies_tab"_s, {
            {u"BookID"_s, bookId},
            {u"BookBarCode"_s, u"%1"_s.arg(++barcode, 8, 10, QChar(u'0'))},
            {u"BookState"_s, u"可借"_s},
            {u"BookCode"_s, callNumber},
            {u"BookRoom"_s, r.value(u"BookRoom"_s)},
            {u"BookPos"_s, r.value(u"BookPos"_s)},
            {u"VolumeInfo"_s, volume},
            {u"Price"_s, r.value(u"BookPrice"_s)},
            {u"RegDate"_s, iso(regDate)},
            {u"Operator"_s, kOperator},
        }));
    }
    return ids;
}

TDemoCopies loadBooks(TDurEzeConn &conn, const QDate &regDate)
{
    const auto cateNames =
        pairs(conn, u"SELECT BookCateCode, BookCateName FROM BookCate_tab"_s);
    const auto places =
        pairs(conn, u"SELECT PublisherName, PublisherPlace FROM Publishers_tab"_s);
    TDemoCopies copies;
    QHash<QString, int> titlesInClass;
    int barcode = 0;
    for (const TDemoRecord &r : ReadDemoFile(u"books.tsv"_s)) {
        const QString name = r.value(u"BookName"_s);
        const QString cateCode = r.value(u"CateCode"_s);
        const int bookId =
            InsertDemoRow(conn, u"Books_tab"_s, bookValues(r, cateNames, places, regDate));
        copies.bookIds.insert(name, bookId);
        const QString callNumber = u"%1/%2"_s.arg(cateCode).arg(++titlesInClass[cateCode]);
        copies.copyIds.insert(name, addCopies(conn, bookId, r, callNumber, barcode, regDate));
    }
    return copies;
}

QHash<QString, TDemoReader> loadReaders(TDurEzeConn &conn, const QDate &regDate)
{
    QHash<QString, TDemoReader> cates;
    QSqlQuery q = conn.Select(
        u"SELECT ReaderCateName, ReaderCateID, COALESCE(LimitDays, 0) FROM ReaderCate_tab"_s);
    while (q.next())
        cates.insert(q.value(0).toString(), {q.value(1).toInt(), q.value(2).toInt()});

    QHash<QString, TDemoReader> readers;
    for (const TDemoRecord &r : ReadDemoFile(u"readers.tsv"_s)) {
        const QString cateName = r.value(u"ReaderCateName"_s);
        if (!cates.contains(cateName))
            throw TDbError(u"示例数据中的读者类别“%1”不存在。"_s.arg(cateName));
        const TDemoReader cate = cates.value(cateName);
        const int id = InsertDemoRow(conn, u"Readers_tab"_s, {
            {u"ReaderCode"_s, r.value(u"ReaderCode"_s)},
            {u"CardID"_s, r.value(u"CardID"_s)},
            {u"ReaderName"_s, r.value(u"ReaderName"_s)},
            {u"ReaderCateID"_s, cate.id},
            {u"Sex"_s, r.value(u"Sex"_s) == u"男" ? 1 : 0},
            {u"BirthDate"_s, r.value(u"BirthDate"_s)},
            {u"CorpName"_s, r.value(u"CorpName"_s)},
            {u"DeptName"_s, r.value(u"DeptName"_s)},
            {u"RegDate"_s, iso(regDate)},
            {u"Operator"_s, kOperator},
        });
        readers.insert(r.value(u"ReaderCode"_s), {id, cate.limitDays});
    }
    return readers;
}

// The file counts loan and return dates back from today, so the sample
// always has recent loans, loans that are due soon and loans that are late.
void loadLoans(TDurEzeConn &conn, const TDemoCopies &copies,
               const QHash<QString, TDemoReader> &readers, const QDate &today)
{
    for (const TDemoRecord &r : ReadDemoFile(u"loans.tsv"_s)) {
        const QString title = r.value(u"BookName"_s);
        const int copyNo = r.value(u"CopyNo"_s).toInt();
        const QString readerCode = r.value(u"ReaderCode"_s);
        if (copyNo < 1 || copyNo > copies.copyIds.value(title).size() ||
            !readers.contains(readerCode))
            throw TDbError(u"示例借阅记录“%1”所指的复本或读者不存在。"_s.arg(title));
        const TDemoReader reader = readers.value(readerCode);
        const QDate loanDate = today.addDays(-r.value(u"LoanDaysAgo"_s).toInt());
        const bool returned = !r.value(u"ReturnDaysAgo"_s).isEmpty();
        const QString returnDate =
            returned ? iso(today.addDays(-r.value(u"ReturnDaysAgo"_s).toInt())) : QString();
        InsertDemoRow(conn, u"LoanList_tab"_s, {
            {u"CopyID"_s, copies.copyIds.value(title).at(copyNo - 1)},
            {u"BookID"_s, copies.bookIds.value(title)},
            {u"ReaderID"_s, reader.id},
            {u"LoanDate"_s, iso(loanDate)},
            {u"LoanTime"_s, r.value(u"LoanTime"_s)},
            {u"ShouldReturnDate"_s, iso(loanDate.addDays(reader.limitDays))},
            {u"ReLoanTimes"_s, 0},
            {u"IsReturn"_s, returned ? 1 : 0},
            {u"FactReturnDate"_s, returnDate},
            {u"FactReturnTime"_s, r.value(u"ReturnTime"_s)},
            {u"LoanOperator"_s, kOperator},
            {u"ReturnOperator"_s, returned ? kOperator : QString()},
        });
    }
}

// The copies out on loan and the titles' loan counters, as the desk would
// have left them. The catalogue held no titles before, so every title and
// copy counted here is the sample's own.
void markOpenLoans(TDurEzeConn &conn)
{
    conn.Execute(u"UPDATE Copies_tab SET BookState = '借出' WHERE CopyID IN "
                 "(SELECT CopyID FROM LoanList_tab WHERE IsReturn = 0)"_s);
    conn.Execute(u"UPDATE Books_tab SET LoanCount = (SELECT COUNT(*) FROM LoanList_tab l"
                 " WHERE l.BookID = Books_tab.BookID AND l.IsReturn = 0)"_s);
}

} // namespace

void LoadDemoLibrary(TDurEzeConn &conn)
{
    TTransaction tx(conn);
    if (holdsTitles(conn))
        throw TDbError(u"数据库中已有书刊，不能载入示例图书馆。示例图书馆只能载入新建的空数据库。"_s);
    const QDate today = QDate::currentDate();
    // Everything was registered a year ago, before the oldest sample loan.
    const QDate regDate = today.addYears(-1);
    LoadDemoCategories(conn);
    LoadDemoPublishers(conn);
    loadItems(conn);
    loadReaderCategories(conn);
    const TDemoCopies copies = loadBooks(conn, regDate);
    const auto readers = loadReaders(conn, regDate);
    loadLoans(conn, copies, readers, today);
    markOpenLoans(conn);
    tx.Commit();
}
