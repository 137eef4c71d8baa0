// GenerateLibrary: synthetic titles, copies, readers and loans in bulk, for
// benchmarks. Deterministic for a given starting database.

#include "DemoLibrary.h"

#include "DbError.h"
#include "DemoLibraryBulkWrite.h"
#include "DemoLibraryData.h"
#include "DurEzeConn.h"

#include <QDate>
#include <QSqlError>
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

void execBound(QSqlQuery &q, std::initializer_list<QVariant> values)
{
    int i = 0;
    for (const QVariant &v : values)
        q.bindValue(i++, v);
    if (!q.exec())
        throw TDbError(u"生成数据失败：%1"_s.arg(q.lastError().text()), q.lastQuery());
}

int execReturningKey(QSqlQuery &q, std::initializer_list<QVariant> values)
{
    execBound(q, values);
    if (!q.next())
        throw TDbError(u"生成数据失败：新记录没有得到编号。"_s, q.lastQuery());
    const int key = q.value(0).toInt();
    q.finish();
    return key;
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

struct TGenPublisher {
    QString name;
    QString place;
    QString isbnDigits;  // "978702" for 978-7-02; empty when there is no usable prefix
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
    int copy = 0;    // index of the copy in the batch
    int reader = 0;  // index of the reader in the batch
    bool open = false;
};

class TLibraryGenerator
{
public:
    explicit TLibraryGenerator(TDurEzeConn &conn) : m_conn(conn) {}

    void run(int titles, const std::function<void(int)> &progress);

private:
    void readLookups();
    void readStartingNumbers();
    void prepareStatements();
    QSqlQuery prepared(const QString &sql);
    void writeBatch(int titles);
    QList<TGenReader> addReaders(int count);
    QList<TGenLoan> planLoans(int loans, int copies, QList<TGenReader> &readers);
    void addLoan(const TGenLoan &loan, const TGenReader &reader, int copyId, int bookId);

    quint64 random() { return nextRandom(m_seed); }
    int below(int n) { return n > 0 ? int(random() % quint64(n)) : 0; }
    const QString &pick(const QStringList &list) { return list.at(below(int(list.size()))); }
    QString pickOrEmpty(const QStringList &list) { return list.isEmpty() ? QString() : pick(list); }
    QString personName();
    QString title();
    QString isbn(const TGenPublisher &p);
    QString timeOfDay();

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

    QSqlQuery m_bookQuery, m_copyQuery, m_readerQuery, m_loanQuery;
};

void TLibraryGenerator::run(int titles, const std::function<void(int)> &progress)
{
    {
        // A database without classification, publishers or reader
        // categories gets them first, so every generated row links to
        // something real.
        TTransaction tx(m_conn);
        readLookups();
        readStartingNumbers();
        tx.Commit();
    }
    prepareStatements();
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

void TLibraryGenerator::readLookups()
{
    if (isEmpty(m_conn, u"BookCate_tab"_s))
        LoadDemoCategories(m_conn);
    if (isEmpty(m_conn, u"Publishers_tab"_s))
        LoadDemoPublishers(m_conn);
    if (isEmpty(m_conn, u"ReaderCate_tab"_s))
        InsertDemoRow(m_conn, u"ReaderCate_tab"_s, {
            {u"ReaderCateName"_s, u"普通读者"_s}, {u"LimitBooksCount"_s, 10},
            {u"LimitDays"_s, 30}, {u"ReLoanTimes"_s, 1}, {u"ReLoanDays"_s, 15}});

    QSqlQuery q = m_conn.Select(
        u"SELECT BookCateCode, BookCateName FROM BookCate_tab ORDER BY BookCateID"_s);
    while (q.next())
        m_categories.append({q.value(0).toString(), q.value(1).toString()});

    q = m_conn.Select(u"SELECT PublisherName, PublisherPlace, PublisherISBN FROM Publishers_tab"
                      " ORDER BY PublisherID"_s);
    while (q.next()) {
        const QString prefix = q.value(2).toString().trimmed();
        QString digits = prefix;
        digits.remove(u'-');
        const bool usable = !digits.isEmpty() && digits.size() < 12 &&
                            std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); });
        m_publishers.append({q.value(0).toString(), q.value(1).toString(),
                             usable ? digits : QString(), usable ? prefix : QString()});
    }

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
    m_regDate = m_today.addYears(-3).toString(Qt::ISODate);
}

QSqlQuery TLibraryGenerator::prepared(const QString &sql)
{
    QSqlQuery q(m_conn.Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw TDbError(u"生成数据失败：%1"_s.arg(q.lastError().text()), sql);
    return q;
}

void TLibraryGenerator::prepareStatements()
{
    m_bookQuery = prepared(
        u"INSERT INTO Books_tab (ISBNISSN, BookName, Author, BookType, CateCode, CateName,"
        " Publisher, PublishPlace, PublishDate, BookPrice, TotalCount, LoanCount, Keywords,"
        " BookLanguage, BookFaceInfo, RegDate, Operator)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING BookID"_s);
    m_copyQuery = prepared(
        u"INSERT INTO Copies_tab (BookID, BookBarCode, BookState, BookCode, BookRoom, BookPos,"
        " Price, RegDate, Operator) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING CopyID"_s);
    m_readerQuery = prepared(
        u"INSERT INTO Readers_tab (ReaderName, ReaderCode, CardID, ReaderCateID, Sex, BirthDate,"
        " CorpName, DeptName, RegDate, Operator)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ReaderID"_s);
    m_loanQuery = prepared(
        u"INSERT INTO LoanList_tab (CopyID, BookID, ReaderID, LoanDate, LoanTime,"
        " ShouldReturnDate, ReLoanTimes, IsReturn, FactReturnDate, FactReturnTime,"
        " LoanOperator, ReturnOperator) VALUES (?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?)"_s);
}

QString TLibraryGenerator::personName()
{
    QString name = pick(surnames()) + pick(givenNames());
    if (below(3))
        name += pick(givenNames());
    return name;
}

QString TLibraryGenerator::title()
{
    switch (below(4)) {
    case 0: return pick(places()) + pick(things()) + pick(suffixes());
    case 1: return pick(adjectives()) + u"的"_s + pick(nouns());
    case 2: return pick(modifiers()) + pick(fields()) + pick(bookKinds());
    default:
        return pick(fields()) + pick(bookKinds()) + u"（第%1版）"_s.arg(2 + below(6));
    }
}

QString TLibraryGenerator::isbn(const TGenPublisher &p)
{
    if (p.isbnDigits.isEmpty())
        return {};
    const int width = 12 - int(p.isbnDigits.size());
    qint64 modulus = 1;
    for (int i = 0; i < width; ++i)
        modulus *= 10;
    const QString number = u"%1"_s.arg(m_nextTitle % modulus, width, 10, QChar(u'0'));
    return u"%1-%2-%3"_s.arg(p.isbnPrefix, number).arg(isbnCheckDigit(p.isbnDigits + number));
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
    for (int i = 0; i < count; ++i) {
        const TGenReaderCate cate = m_readerCates.at(int(m_nextReader % m_readerCates.size()));
        const QString number = u"%1"_s.arg(m_nextReader++, 8, 10, QChar(u'0'));
        const QDate birth = m_today.addDays(-(365 * 16 + below(365 * 60)));
        const int id = execReturningKey(m_readerQuery, {
            personName(), QString(u"GR"_s + number), QString(u"GC"_s + number), cate.id, below(2),
            birth.toString(Qt::ISODate), pickOrEmpty(m_corps), pickOrEmpty(m_depts),
            m_regDate, kOperator});
        readers.append({id, cate, 0});
    }
    return readers;
}

// Each loan takes a copy of its own, spread over the batch, so no copy is
// ever out twice; a loan stays open only while its reader is under the
// category's limit.
QList<TGenLoan> TLibraryGenerator::planLoans(int loans, int copies, QList<TGenReader> &readers)
{
    QList<TGenLoan> plan;
    if (readers.isEmpty())
        return plan;
    for (int k = 0; k < loans; ++k) {
        const int reader = k % int(readers.size());
        TGenReader &r = readers[reader];
        const bool open = below(3) != 0 && r.openLoans < r.cate.limitBooks;
        r.openLoans += open ? 1 : 0;
        plan.append({int(qint64(k) * copies / loans), reader, open});
    }
    return plan;
}

void TLibraryGenerator::addLoan(const TGenLoan &loan, const TGenReader &reader, int copyId,
                                int bookId)
{
    const int limitDays = reader.cate.limitDays;
    QDate loanDate, returnDate;
    if (loan.open) {
        // About a third of the open loans are overdue.
        loanDate = m_today.addDays(-below(limitDays * 3 / 2 + 1));
    } else {
        const int daysAgo = 30 + below(700);
        loanDate = m_today.addDays(-daysAgo);
        returnDate = loanDate.addDays(std::min(daysAgo, 1 + below(limitDays + 10)));
    }
    execBound(m_loanQuery, {
        copyId, bookId, reader.id, loanDate.toString(Qt::ISODate), timeOfDay(),
        loanDate.addDays(limitDays).toString(Qt::ISODate), loan.open ? 0 : 1,
        loan.open ? QVariant() : returnDate.toString(Qt::ISODate),
        loan.open ? QVariant() : timeOfDay(), kOperator,
        loan.open ? QVariant() : kOperator});
}

void TLibraryGenerator::writeBatch(int titles)
{
    QList<TGenReader> readers = addReaders((titles + 19) / 20);
    QList<int> copiesOf(titles);
    int copies = 0;
    for (int &n : copiesOf)
        copies += n = 1 + below(3);
    const QList<TGenLoan> loans = planLoans((titles + 5) / 10, copies, readers);
    QList<int> loanOfCopy(copies, -1);
    for (int i = 0; i < loans.size(); ++i)
        loanOfCopy[loans.at(i).copy] = i;

    int copy = 0;
    for (int t = 0; t < titles; ++t, ++m_nextTitle) {
        const auto &[cateCode, cateName] = m_categories.at(below(int(m_categories.size())));
        const TGenPublisher &publisher = m_publishers.at(below(int(m_publishers.size())));
        const QString field = pick(fields());
        const QString price = u"%1.%2"_s.arg(10 + below(190)).arg(below(10) * 10, 2, 10, QChar(u'0'));
        int open = 0;
        for (int c = copy; c < copy + copiesOf.at(t); ++c)
            open += loanOfCopy.at(c) >= 0 && loans.at(loanOfCopy.at(c)).open;
        const int bookId = execReturningKey(m_bookQuery, {
            isbn(publisher), title(), QString(personName() + u' ' + pick(roles())), u"图书"_s,
            cateCode, cateName, publisher.name, publisher.place,
            u"%1-%2"_s.arg(1980 + below(m_today.year() - 1979)).arg(1 + below(12), 2, 10, QChar(u'0')),
            price, copiesOf.at(t), open, QString(field + u"；"_s + pick(nouns())), u"中文"_s,
            u"平装"_s, m_regDate, kOperator});
        const QString callNumber = u"%1/%2"_s.arg(cateCode).arg(m_nextTitle);
        for (int n = 0; n < copiesOf.at(t); ++n, ++copy) {
            const int loan = loanOfCopy.at(copy);
            const bool out = loan >= 0 && loans.at(loan).open;
            const int copyId = execReturningKey(m_copyQuery, {
                bookId, u"G%1"_s.arg(m_nextBarcode++, 9, 10, QChar(u'0')),
                out ? u"借出"_s : u"可借"_s, callNumber, pickOrEmpty(m_rooms),
                pickOrEmpty(m_shelves), price, m_regDate, kOperator});
            if (loan >= 0)
                addLoan(loans.at(loan), readers.at(loans.at(loan).reader), copyId, bookId);
        }
    }
}

} // namespace

void GenerateLibrary(TDurEzeConn &conn, int titles, const std::function<void(int)> &progress)
{
    if (titles <= 0)
        return;
    TLibraryGenerator(conn).run(titles, progress);
}
