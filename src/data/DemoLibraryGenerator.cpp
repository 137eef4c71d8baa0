// GenerateLibrary: synthetic titles, copies, readers and loans in bulk, for
// benchmarks. Deterministic for a given starting database.

#include "DemoLibrary.h"

#include "DbError.h"
#include "DemoLibraryBulkInsert.h"
#include "DemoLibraryBulkWrite.h"
#include "DemoLibraryData.h"
#include "DurEzeConn.h"

#include <QDate>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Each batch is one transaction: a failure loses at most the batch in hand.
constexpr int kBatchTitles = 20000;
const QString kOperator = u"Admin"_s;

// Word lists that the titles and names are put together from.
QStringList words(const QString &spaced)
{
    return spaced.split(u' ');
}

const QStringList &surnames()
{
    static const QStringList w = words(
        u"王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 "
        "彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 汪 范 金 "
        "石 廖 贾 夏 韦 付 方 白 邹 孟 熊 秦 邱 江 尹 薛 闫 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 "
        "欧阳 司马 诸葛 上官"_s);
    return w;
}

const QStringList &givenNames()
{
    static const QStringList w = words(
        u"伟 芳 娜 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀 霞 平 刚 桂 文 华 建 国 玉 兰 志 红 "
        "海 英 晓 云 飞 鹏 辉 宇 浩 婷 雪 琳 欣 怡 佳 子 梓 涵 轩 博 思 雨 嘉 晨 一 诗 若 可 天 睿 "
        "德 清 立 新 春 秋 松 林 山 川 远 航 安 宁 和 永 长 凯 鑫 斌 荣 琦"_s);
    return w;
}

const QStringList &places()
{
    static const QStringList w = words(
        u"江南 塞北 岭南 巴蜀 京华 湘西 陇上 燕赵 齐鲁 吴越 关中 滇南 海上 西域 长安 金陵 洛阳 "
        "敦煌 徽州 闽南 草原 高原 运河 长江 黄河 边城 小城 故园 山村 古镇"_s);
    return w;
}

const QStringList &things()
{
    static const QStringList w = words(
        u"园林 风物 往事 人物 山水 草木 旧梦 烟云 歌谣 故事 书简 匠人 茶事 舟楫 古道 老街 "
        "庭院 四季 灯火 市井 渔樵 农事 节令 石桥 书院 驿站"_s);
    return w;
}

const QStringList &suffixes()
{
    static const QStringList w =
        words(u"史话 散记 笔记 札记 考略 志 录 漫谈 纪事 图说 寻踪 百年 随笔 拾遗"_s);
    return w;
}

const QStringList &adjectives()
{
    static const QStringList w = words(
        u"遥远 寂静 温暖 漫长 明亮 沉默 燃烧 流动 古老 年轻 孤独 平凡 消失 破碎 无尽 蓝色 "
        "金色 秘密 最后 第一 迟到 失落 清澈 寒冷 炽热 看不见"_s);
    return w;
}

const QStringList &nouns()
{
    static const QStringList w = words(
        u"星辰 河流 村庄 城市 岁月 海洋 山谷 灯塔 季节 道路 故乡 花园 森林 列车 信札 钟声 "
        "雪原 码头 少年 夏天 旅程 边界 回声 群山 黎明 黄昏 岛屿 麦田"_s);
    return w;
}

const QStringList &fields()
{
    static const QStringList w = words(
        u"数据 算法 材料 机械 经济 管理 金融 法律 教育 心理 历史 地理 化学 物理 生物 医学 "
        "农业 建筑 艺术 音乐 统计 信息 网络 能源 环境 传播 语言 哲学 社会 交通 电子 控制"_s);
    return w;
}

const QStringList &modifiers()
{
    static const QStringList w =
        words(u"现代 实用 应用 高等 基础 中国 比较 计算 理论 工程 当代 简明 新编 大学"_s);
    return w;
}

const QStringList &bookKinds()
{
    static const QStringList w = words(
        u"导论 概论 基础 原理 教程 手册 研究 方法 实务 简史 通论 十讲 精要 案例分析 学习指导"_s);
    return w;
}

const QStringList &roles()
{
    static const QStringList w = words(u"著 著 著 编著 主编 编"_s);
    return w;
}

// A small, fast pseudo-random sequence (splitmix64): the same seed gives the
// same library on every platform.
quint64 nextRandom(quint64 &state)
{
    quint64 z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The ISBN-13 check digit of the first twelve digits.
int isbnCheckDigit(const QString &twelveDigits)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += twelveDigits.at(i).digitValue() * (i % 2 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

QStringList dictionary(TDurEzeConn &conn, int itemCate)
{
    QStringList out;
    QSqlQuery q = conn.ExecuteBound(
        u"SELECT ItemName FROM Items_tab WHERE ItemCate = ? ORDER BY ItemCode"_s, {itemCate});
    while (q.next())
        out.append(q.value(0).toString());
    return out;
}

bool isEmpty(TDurEzeConn &conn, const QString &table)
{
    QSqlQuery q = conn.Select(u"SELECT COUNT(*) FROM "_s + table);
    return !q.next() || q.value(0).toInt() == 0;
}

// The ISBN prefix of a publisher ("978-7-02"), when it leaves room for a
// title number of at least two digits; otherwise the group's own, "978-7".
QString isbnPrefix(const QString &publisherIsbn)
{
    QString digits = publisherIsbn;
    digits.remove(u'-');
    const bool usable = !digits.isEmpty() && digits.size() <= 10 &&
                        std::all_of(digits.cbegin(), digits.cend(),
                                    [](QChar c) { return c.isDigit(); });
    return usable ? publisherIsbn.trimmed() : u"978-7"_s;
}

struct TGenPublisher {
    QString name;
    QString place;
    QString isbnPrefix;
};

struct TGenReaderCate {
    int id = 0;
    int limitBooks = 0;
    int limitDays = 0;
};

struct TGenReader {
    int id = 0;
    TGenReaderCate cate;
    int openLoans = 0;
};

// A loan planned for one copy of the batch.
struct TGenLoan {
    int reader = 0;  // index of the reader in the batch
    bool open = false;
};

// What a batch writes besides its titles: the readers, the number of copies
// of each title, and the loans of some of those copies.
struct TGenBatch {
    QList<TGenReader> readers;
    QList<int> copiesOf;    // by title
    QList<int> loanOfCopy;  // by copy of the batch: index into loans, or -1
    QList<TGenLoan> loans;
};

// The number of open loans among the copies [firstCopy, firstCopy + copies).
int openLoansOf(const TGenBatch &batch, int firstCopy, int copies)
{
    int open = 0;
    for (int c = firstCopy; c < firstCopy + copies; ++c)
        open += batch.loanOfCopy.at(c) >= 0 && batch.loans.at(batch.loanOfCopy.at(c)).open;
    return open;
}

// A title written in the batch, as its copies need it.
struct TGenTitle {
    QString isbn;
    QString callNumber;
    QString price;
    int copies = 0;
    int bookId = 0;
};

// Writes the synthetic library batch by batch: readers first, then titles
// with their copies, then the loans of some of those copies, with counters
// and copy states settled before anything is written.
class TLibraryGenerator
{
public:
    explicit TLibraryGenerator(TDurEzeConn &conn);

    void run(int titles, const std::function<void(int)> &progress);

private:
    void ensureLookups();
    void readLookups();
    void readStartingNumbers();
    void writeBatch(int titles);
    QList<TGenReader> addReaders(int count);
    TGenBatch planBatch(int titles);
    QList<TGenTitle> writeBooks(const TGenBatch &batch, int first, int count, int firstCopy);
    void writeCopies(const TGenBatch &batch, const QList<TGenTitle> &titles, int copy);
    void addLoan(const TGenLoan &loan, const TGenReader &reader, const QVariant &copyId,
                 const QVariant &bookId);

    quint64 random() { return nextRandom(m_seed); }
    int below(int n) { return n > 0 ? int(random() % quint64(n)) : 0; }
    const QString &pick(const QStringList &list) { return list.at(below(int(list.size()))); }
    QString pickOrEmpty(const QStringList &list) { return list.isEmpty() ? QString() : pick(list); }
    QString personName();
    QString bookName();
    QString isbn(const QString &prefix);
    QString timeOfDay();
    QString iso(const QDate &date) const { return date.toString(Qt::ISODate); }

    TDurEzeConn &m_conn;
    quint64 m_seed = 0;
    QDate m_today;
    QString m_regDate;
    qint64 m_nextTitle = 0;
    qint64 m_nextBarcode = 0;
    qint64 m_nextReader = 0;

    QList<QPair<QString, QString>> m_categories;  // code, name
    QList<TGenPublisher> m_publishers;
    QList<TGenReaderCate> m_readerCates;
    QStringList m_corps, m_depts, m_rooms, m_shelves;

    TBulkInsert m_books, m_copies, m_readers, m_loans;
};

TLibraryGenerator::TLibraryGenerator(TDurEzeConn &conn)
    : m_conn(conn),
      // The values that come back tell the rows of one statement apart: the
      // titles of one statement have different ISBNs (see isbn()).
      m_books(conn, u"Books_tab"_s,
              {u"ISBNISSN"_s, u"BookName"_s, u"Author"_s, u"BookType"_s, u"CateCode"_s,
               u"CateName"_s, u"Publisher"_s, u"PublishPlace"_s, u"PublishDate"_s,
               u"BookPrice"_s, u"TotalCount"_s, u"LoanCount"_s, u"Keywords"_s,
               u"BookLanguage"_s, u"BookFaceInfo"_s, u"RegDate"_s, u"Operator"_s},
              {u"BookID"_s, u"ISBNISSN"_s}),
      m_copies(conn, u"Copies_tab"_s,
               {u"BookID"_s, u"BookBarCode"_s, u"BookState"_s, u"BookCode"_s, u"BookRoom"_s,
                u"BookPos"_s, u"Price"_s, u"RegDate"_s, u"Operator"_s},
               {u"CopyID"_s, u"BookBarCode"_s, u"BookID"_s}),
      m_readers(conn, u"Readers_tab"_s,
                {u"ReaderName"_s, u"ReaderCode"_s, u"CardID"_s, u"ReaderCateID"_s, u"Sex"_s,
                 u"BirthDate"_s, u"CorpName"_s, u"DeptName"_s, u"RegDate"_s, u"Operator"_s},
                {u"ReaderID"_s, u"ReaderCode"_s}),
      m_loans(conn, u"LoanList_tab"_s,
              {u"CopyID"_s, u"BookID"_s, u"ReaderID"_s, u"LoanDate"_s, u"LoanTime"_s,
               u"ShouldReturnDate"_s, u"ReLoanTimes"_s, u"IsReturn"_s, u"FactReturnDate"_s,
               u"FactReturnTime"_s, u"LoanOperator"_s, u"ReturnOperator"_s})
{
}

void TLibraryGenerator::run(int titles, const std::function<void(int)> &progress)
{
    {
        // A database without classification, publishers or reader
        // categories gets them first, so every generated row links to
        // something real.
        TTransaction tx(m_conn);
        ensureLookups();
        readLookups();
        readStartingNumbers();
        tx.Commit();
    }
    const TBulkWriteSettings bulk(m_conn);
    for (int done = 0; done < titles;) {
        const int batch = std::min(kBatchTitles, titles - done);
        TTransaction tx(m_conn);
        writeBatch(batch);
        tx.Commit();
        done += batch;
        if (progress)
            progress(done);
    }
}

void TLibraryGenerator::ensureLookups()
{
    if (isEmpty(m_conn, u"BookCate_tab"_s))
        LoadDemoCategories(m_conn);
    if (isEmpty(m_conn, u"Publishers_tab"_s))
        LoadDemoPublishers(m_conn);
    if (isEmpty(m_conn, u"ReaderCate_tab"_s))
        InsertDemoRow(m_conn, u"ReaderCate_tab"_s, {
            {u"ReaderCateName"_s, u"普通读者"_s}, {u"LimitBooksCount"_s, 10},
            {u"LimitDays"_s, 30}, {u"ReLoanTimes"_s, 1}, {u"ReLoanDays"_s, 15}});
}

void TLibraryGenerator::readLookups()
{
    QSqlQuery q = m_conn.Select(
        u"SELECT BookCateCode, BookCateName FROM BookCate_tab ORDER BY BookCateID"_s);
    while (q.next())
        m_categories.append({q.value(0).toString(), q.value(1).toString()});

    q = m_conn.Select(u"SELECT PublisherName, PublisherPlace, PublisherISBN FROM Publishers_tab"
                      " ORDER BY PublisherID"_s);
    while (q.next())
        m_publishers.append({q.value(0).toString(), q.value(1).toString(),
                             isbnPrefix(q.value(2).toString())});

    q = m_conn.Select(u"SELECT ReaderCateID, COALESCE(LimitBooksCount, 0), COALESCE(LimitDays, 0)"
                      " FROM ReaderCate_tab ORDER BY ReaderCateID"_s);
    while (q.next())
        m_readerCates.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});

    m_corps = dictionary(m_conn, 0);
    m_depts = dictionary(m_conn, 1);
    m_rooms = dictionary(m_conn, 3);
    m_shelves = dictionary(m_conn, 4);
}

void TLibraryGenerator::readStartingNumbers()
{
    // Barcodes and reader numbers count on from the highest key so far: a
    // number handed out before never exceeds the key its row received, so
    // no later run repeats it.
    QSqlQuery q = m_conn.Select(
        u"SELECT (SELECT COALESCE(MAX(BookID), 0) FROM Books_tab),"
        " (SELECT COALESCE(MAX(CopyID), 0) FROM Copies_tab),"
        " (SELECT COALESCE(MAX(ReaderID), 0) FROM Readers_tab)"_s);
    q.next();
    m_nextTitle = q.value(0).toLongLong() + 1;
    m_nextBarcode = q.value(1).toLongLong() + 1;
    m_nextReader = q.value(2).toLongLong() + 1;
    m_seed = 0x5EED0000ULL + quint64(m_nextTitle);
    m_today = QDate::currentDate();
    // Registered before the oldest generated loan.
    m_regDate = iso(m_today.addYears(-3));
}

QString TLibraryGenerator::personName()
{
    QString name = pick(surnames()) + pick(givenNames());
    if (below(3))
        name += pick(givenNames());
    return name;
}

QString TLibraryGenerator::bookName()
{
    switch (below(4)) {
    case 0: return pick(places()) + pick(things()) + pick(suffixes());
    case 1: return pick(adjectives()) + u"的"_s + pick(nouns());
    case 2: return pick(modifiers()) + pick(fields()) + pick(bookKinds());
    default:
        return pick(fields()) + pick(bookKinds()) + u"（第%1版）"_s.arg(2 + below(6));
    }
}

// The title number comes from the title's running number, so the titles of
// one statement (fewer than 100 running numbers apart) never share an ISBN.
QString TLibraryGenerator::isbn(const QString &prefix)
{
    QString digits = prefix;
    digits.remove(u'-');
    const int width = 12 - int(digits.size());
    qint64 modulus = 1;
    for (int i = 0; i < width; ++i)
        modulus *= 10;
    const QString number = u"%1"_s.arg(m_nextTitle % modulus, width, 10, QChar(u'0'));
    return u"%1-%2-%3"_s.arg(prefix, number).arg(isbnCheckDigit(digits + number));
}

QString TLibraryGenerator::timeOfDay()
{
    return u"%1:%2:%3"_s.arg(8 + below(13), 2, 10, QChar(u'0'))
        .arg(below(60), 2, 10, QChar(u'0'))
        .arg(below(60), 2, 10, QChar(u'0'));
}

QList<TGenReader> TLibraryGenerator::addReaders(int count)
{
    QList<TGenReader> readers;
    QHash<QString, int> indexOfCode;
    for (int i = 0; i < count; ++i) {
        const TGenReaderCate cate = m_readerCates.at(int(m_nextReader % m_readerCates.size()));
        const QString number = u"%1"_s.arg(m_nextReader++, 8, 10, QChar(u'0'));
        const QString code = u"GR"_s + number;
        m_readers.add({personName(), code, QString(u"GC"_s + number), cate.id, below(2),
                       iso(m_today.addDays(-(365 * 16 + below(365 * 60)))),
                       pickOrEmpty(m_corps), pickOrEmpty(m_depts), m_regDate, kOperator});
        indexOfCode.insert(code, i);
        readers.append({0, cate, 0});
    }
    for (const QVariantList &row : m_readers.flush())
        readers[indexOfCode.value(row.at(1).toString())].id = row.at(0).toInt();
    return readers;
}

// Each loan takes a copy of its own, spread over the batch, so no copy is
// ever out twice; a loan stays open only while its reader is under the
// category's limit.
TGenBatch TLibraryGenerator::planBatch(int titles)
{
    TGenBatch b;
    b.readers = addReaders((titles + 19) / 20);
    b.copiesOf.resize(titles);
    int copies = 0;
    for (int &n : b.copiesOf)
        copies += n = 1 + below(3);
    b.loanOfCopy.fill(-1, copies);
    const int loans = (titles + 5) / 10;
    for (int k = 0; k < loans && !b.readers.isEmpty(); ++k) {
        const int reader = k % int(b.readers.size());
        TGenReader &r = b.readers[reader];
        const bool open = below(3) != 0 && r.openLoans < r.cate.limitBooks;
        r.openLoans += open ? 1 : 0;
        b.loanOfCopy[int(qint64(k) * copies / loans)] = int(b.loans.size());
        b.loans.append({reader, open});
    }
    return b;
}

void TLibraryGenerator::writeBatch(int titles)
{
    const TGenBatch batch = planBatch(titles);
    int copy = 0;
    for (int first = 0; first < titles; first += TBulkInsert::RowsPerStatement) {
        const int count = std::min(TBulkInsert::RowsPerStatement, titles - first);
        const QList<TGenTitle> written = writeBooks(batch, first, count, copy);
        writeCopies(batch, written, copy);
        for (const TGenTitle &title : written)
            copy += title.copies;
    }
    m_loans.flush();
}

// Writes titles [first, first + count) of the batch, whose copies start at
// `firstCopy`, and returns them with their keys.
QList<TGenTitle> TLibraryGenerator::writeBooks(const TGenBatch &batch, int first, int count,
                                               int firstCopy)
{
    QList<TGenTitle> titles;
    for (int t = first; t < first + count; ++t, ++m_nextTitle) {
        const auto &[cateCode, cateName] = m_categories.at(below(int(m_categories.size())));
        const TGenPublisher &publisher = m_publishers.at(below(int(m_publishers.size())));
        const int copies = batch.copiesOf.at(t);
        const TGenTitle title{
            isbn(publisher.isbnPrefix), u"%1/%2"_s.arg(cateCode).arg(m_nextTitle),
            u"%1.%2"_s.arg(10 + below(190)).arg(below(10) * 10, 2, 10, QChar(u'0')), copies, 0};
        m_books.add({title.isbn, bookName(), QString(personName() + u' ' + pick(roles())),
                     u"图书"_s, cateCode, cateName, publisher.name, publisher.place,
                     u"%1-%2"_s.arg(1980 + below(m_today.year() - 1979))
                         .arg(1 + below(12), 2, 10, QChar(u'0')),
                     title.price, copies, openLoansOf(batch, firstCopy, copies),
                     QString(pick(fields()) + u"；"_s + pick(nouns())), u"中文"_s, u"平装"_s,
                     m_regDate, kOperator});
        titles.append(title);
        firstCopy += copies;
    }
    QHash<QString, int> bookIds;
    for (const QVariantList &row : m_books.flush())
        bookIds.insert(row.at(1).toString(), row.at(0).toInt());
    for (TGenTitle &title : titles)
        title.bookId = bookIds.value(title.isbn);
    return titles;
}

// Writes the copies of the titles, the first of them being copy `copy` of
// the batch, and the loans of those copies.
void TLibraryGenerator::writeCopies(const TGenBatch &batch, const QList<TGenTitle> &titles,
                                    int copy)
{
    QList<QPair<QString, int>> loaned;  // barcode, loan
    for (const TGenTitle &title : titles) {
        for (int n = 0; n < title.copies; ++n, ++copy) {
            const QString barcode = u"G%1"_s.arg(m_nextBarcode++, 9, 10, QChar(u'0'));
            const int loan = batch.loanOfCopy.at(copy);
            const bool out = loan >= 0 && batch.loans.at(loan).open;
            if (loan >= 0)
                loaned.append({barcode, loan});
            m_copies.add({title.bookId, barcode, out ? u"借出"_s : u"可借"_s, title.callNumber,
                          pickOrEmpty(m_rooms), pickOrEmpty(m_shelves), title.price, m_regDate,
                          kOperator});
        }
    }
    QHash<QString, QVariantList> copyOfBarcode;  // barcode -> CopyID, barcode, BookID
    for (const QVariantList &row : m_copies.flush())
        copyOfBarcode.insert(row.at(1).toString(), row);
    // The loans follow the copies in the order they were made, whatever
    // order the keys came back in, so the same start gives the same loans.
    for (const auto &[barcode, loan] : loaned) {
        const QVariantList copyRow = copyOfBarcode.value(barcode);
        addLoan(batch.loans.at(loan), batch.readers.at(batch.loans.at(loan).reader),
                copyRow.value(0), copyRow.value(2));
    }
}

void TLibraryGenerator::addLoan(const TGenLoan &loan, const TGenReader &reader,
                                const QVariant &copyId, const QVariant &bookId)
{
    const int limitDays = reader.cate.limitDays;
    if (loan.open) {
        // About a third of the open loans are overdue.
        const QDate loanDate = m_today.addDays(-below(limitDays * 3 / 2 + 1));
        m_loans.add({copyId, bookId, reader.id, iso(loanDate), timeOfDay(),
                     iso(loanDate.addDays(limitDays)), 0, 0, QVariant(), QVariant(), kOperator,
                     QVariant()});
        return;
    }
    const int daysAgo = 30 + below(700);
    const QDate loanDate = m_today.addDays(-daysAgo);
    const QDate returnDate = loanDate.addDays(std::min(daysAgo, 1 + below(limitDays + 10)));
    m_loans.add({copyId, bookId, reader.id, iso(loanDate), timeOfDay(),
                 iso(loanDate.addDays(limitDays)), 0, 1, iso(returnDate), timeOfDay(), kOperator,
                 kOperator});
}

} // namespace

void GenerateLibrary(TDurEzeConn &conn, int titles, const std::function<void(int)> &progress)
{
    if (titles <= 0)
        return;
    TLibraryGenerator(conn).run(titles, progress);
}
