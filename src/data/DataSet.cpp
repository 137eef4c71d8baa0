#include "DataSet.h"

#include "DbError.h"
#include "DurEzeConn.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using Schema::Column;
using Schema::ColumnType;

// How rows are read.
//
// Every dataset shares the one connection with every other statement of the
// process, so a dataset never keeps a statement open between calls: QPSQL
// reads a whole result at once unless the query is forward-only, and a
// forward-only query (libpq single-row mode) ties the connection up until it
// is read to its end; an unfinished SQLite statement pins a read snapshot and
// is aborted by a ROLLBACK. PostgreSQL cursors would need a transaction held
// open across user actions (a WITH HOLD cursor runs the whole query at once).
//
// Instead a result is read in pages, each one complete statement:
//   SELECT * FROM (<sql>) vm_t [WHERE ...] ORDER BY <key> LIMIT n OFFSET m
// The first statement reads FirstPage + 1 rows in the SQL's own order. A
// result that fits is kept whole, exactly as the SQL orders it, and never
// read again. A larger one is paged in a total order, so that pages neither
// overlap nor skip rows: the SQL's own ORDER BY with the row key (or every
// column) appended to break ties, or, without an ORDER BY, by the row key,
// where a sequential walk continues with "key > last key" instead of OFFSET.
// Pages far from the current row are dropped again, so memory stays bounded.
//
// Rows this dataset inserts are shown after the rows of the result and kept
// out of the paged statements by key, so the row positions of the database
// part stay those of the statement while the dataset changes it.

namespace {

constexpr int FirstPage = 256;
constexpr int Chunk = 256;            // rows per page for random access
constexpr int MaxChunk = 4096;        // a sequential walk reads up to this many at once
constexpr int MaxCachedRows = 40000;  // pages beyond this are dropped, oldest first
constexpr int MoneyScale = 4;         // decimal places of money columns

QString changedByOthers()
{
    return u"该记录已被其他用户修改或删除，请刷新后重试。"_s;
}

// --- the SQL text -----------------------------------------------------------

// A word or a comma outside parentheses, quotes and comments.
struct SqlToken {
    QString word;  // upper case
    qsizetype pos;
    qsizetype end;
};

qsizetype skipQuoted(QStringView sql, qsizetype i, QChar close)
{
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != close)
            continue;
        if (close != u']' && i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;  // a doubled quote stays inside
            continue;
        }
        return i + 1;
    }
    return sql.size();
}

qsizetype skipComment(QStringView sql, qsizetype i)
{
    if (sql[i] == u'-') {
        while (i < sql.size() && sql[i] != u'\n' && sql[i] != u'\r')
            ++i;
        return i;
    }
    const qsizetype close = sql.indexOf(u"*/", i + 2);
    return close < 0 ? sql.size() : close + 2;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

QList<SqlToken> topLevelTokens(QStringView sql)
{
    QList<SqlToken> out;
    int depth = 0;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            i = skipQuoted(sql, i, c == u'[' ? QChar(u']') : c);
        } else if ((c == u'-' && next == u'-') || (c == u'/' && next == u'*')) {
            i = skipComment(sql, i);
        } else if (isWordChar(c)) {
            qsizetype j = i;
            while (j < sql.size() && isWordChar(sql[j]))
                ++j;
            if (depth == 0)
                out.append({sql.mid(i, j - i).toString().toUpper(), i, j});
            i = j;
        } else {
            if (c == u'(')
                ++depth;
            else if (c == u')')
                --depth;
            else if (c == u',' && depth == 0)
                out.append({u","_s, i, i + 1});
            ++i;
        }
    }
    return out;
}

// What the dataset needs to know about its SQL text.
struct SqlShape {
    QString text;            // without a trailing ';'
    qsizetype orderBy = -1;  // start of the trailing top-level ORDER BY
    bool limited = false;    // has a LIMIT, OFFSET or FETCH of its own
    bool aggregated = false; // GROUP BY, DISTINCT or a compound: rows are not table rows
    QString source;          // the one table or view it reads; empty for joins

    QString withoutOrder() const { return orderBy >= 0 && !limited ? text.left(orderBy) : text; }
};

// The table or view after the first top-level FROM, when it is the only one.
QString singleSource(const QString &sql, const QList<SqlToken> &t)
{
    static const QSet<QString> clauseEnd{u"WHERE"_s, u"GROUP"_s, u"ORDER"_s, u"HAVING"_s,
                                         u"LIMIT"_s, u"OFFSET"_s, u"FETCH"_s, u"UNION"_s,
                                         u"INTERSECT"_s, u"EXCEPT"_s, u"WINDOW"_s};
    qsizetype k = 0;
    while (k < t.size() && t[k].word != u"FROM")
        ++k;
    if (k + 1 >= t.size())
        return {};
    // Anything but blanks between FROM and the name means a subquery or a
    // quoted name: not a plain source.
    if (!QStringView(sql).mid(t[k].end, t[k + 1].pos - t[k].end).trimmed().isEmpty())
        return {};
    const QString name = sql.mid(t[k + 1].pos, t[k + 1].end - t[k + 1].pos);
    for (k += 2; k < t.size() && !clauseEnd.contains(t[k].word); ++k) {
        if (t[k].word == u"JOIN" || t[k].word == u",")
            return {};
    }
    return name;
}

SqlShape analyseSql(const QString &sql)
{
    static const QSet<QString> limitWords{u"LIMIT"_s, u"OFFSET"_s, u"FETCH"_s};
    static const QSet<QString> aggregateWords{u"GROUP"_s, u"DISTINCT"_s, u"UNION"_s,
                                              u"INTERSECT"_s, u"EXCEPT"_s, u"HAVING"_s};
    SqlShape s;
    s.text = sql.trimmed();
    while (s.text.endsWith(u';')) {
        s.text.chop(1);
        s.text = s.text.trimmed();
    }
    const QList<SqlToken> t = topLevelTokens(s.text);
    for (qsizetype k = 0; k < t.size(); ++k) {
        s.limited = s.limited || limitWords.contains(t[k].word);
        s.aggregated = s.aggregated || aggregateWords.contains(t[k].word);
        if (t[k].word == u"ORDER" && k + 1 < t.size() && t[k + 1].word == u"BY")
            s.orderBy = t[k].pos;
    }
    s.source = singleSource(s.text, t);
    return s;
}

// The only column of the record with that name (case-insensitive); -1 when
// there is none or more than one.
int uniqueColumn(const QSqlRecord &record, const QString &name)
{
    int found = -1;
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (found >= 0)
            return -1;
        found = i;
    }
    return found;
}

// --- values -----------------------------------------------------------------

// Adds one unit in the last place of a string of decimal digits.
QString incremented(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return u'1' + digits;
}

// A decimal number as exact text rounded to the money scale (half away from
// zero), with two to four decimals: "35.80", "0.30", "12.3456". Works on the
// digits, so no binary fraction creeps in.
std::optional<QString> decimalText(const QString &input)
{
    static const QRegularExpression number(
        u"^([+-]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([+-]?\\d{1,3}))?$"_s);
    const QRegularExpressionMatch m = number.match(input.trimmed());
    if (!m.hasMatch() || m.capturedLength(2) + m.capturedLength(3) == 0)
        return std::nullopt;
    QString digits = m.captured(2) + m.captured(3);
    qsizetype point = m.capturedLength(2) + m.captured(4).toInt();
    if (point > 40)
        return std::nullopt;
    if (point < 1) {
        digits.prepend(QString(1 - point, u'0'));
        point = 1;
    }
    const qsizetype keep = point + MoneyScale;
    if (digits.size() <= keep)
        digits.append(QString(keep + 1 - digits.size(), u'0'));
    QString kept = digits.left(keep);
    if (digits[keep] >= u'5')
        kept = incremented(kept);
    QString whole = kept.left(kept.size() - MoneyScale);
    QString fraction = kept.right(MoneyScale);
    while (whole.size() > 1 && whole[0] == u'0')
        whole.remove(0, 1);
    while (fraction.size() > 2 && fraction.endsWith(u'0'))
        fraction.chop(1);
    const bool zero = whole == u"0" && fraction.count(u'0') == fraction.size();
    const QString sign = m.captured(1) == u"-" && !zero ? u"-"_s : QString();
    return sign + whole + u'.' + fraction;
}

// Money text in ten-thousandths, for exact sums.
qint64 moneyUnits(QString money)
{
    const bool negative = money.startsWith(u'-');
    if (negative)
        money.remove(0, 1);
    const qsizetype point = money.indexOf(u'.');
    const QString whole = point < 0 ? money : money.left(point);
    const QString fraction = point < 0 ? QString() : money.mid(point + 1);
    const qint64 units = whole.toLongLong() * 10000
                         + fraction.leftJustified(MoneyScale, u'0').left(MoneyScale).toLongLong();
    return negative ? -units : units;
}

QString moneyFromUnits(qint64 units)
{
    const QString digits = QString::number(std::abs(units)).rightJustified(MoneyScale + 1, u'0');
    const QString text = digits.left(digits.size() - MoneyScale) + u'.' + digits.right(MoneyScale);
    return *decimalText((units < 0 ? u"-"_s : QString()) + text);
}

// An exact running total of a number or money field.
struct Total {
    bool money = false;
    qint64 units = 0;  // whole numbers, or money in ten-thousandths
    bool any = false;

    void add(const QVariant &typed)
    {
        if (!typed.isValid())
            return;
        units += money ? moneyUnits(typed.toString()) : typed.toLongLong();
        any = true;
    }
    QVariant value() const
    {
        if (!any)
            return {};
        return money ? QVariant(moneyFromUnits(units)) : QVariant(units);
    }
};

bool isFloat(const QVariant &v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

QString moneyText(const QVariant &raw)
{
    // Fifteen significant digits take a double back to the decimal it was
    // stored from (SQLite keeps NUMERIC values with a fraction as REAL).
    const QString text = isFloat(raw) ? QString::number(raw.toDouble(), 'g', 15) : raw.toString();
    return decimalText(text).value_or(text);
}

QDate dateOf(const QVariant &raw)
{
    if (raw.typeId() == QMetaType::QDate)
        return raw.toDate();
    if (raw.typeId() == QMetaType::QDateTime)
        return raw.toDateTime().date();
    // ISO text, with or without a time of day after it.
    return QDate::fromString(raw.toString().left(10), Qt::ISODate);
}

QString textOf(const QVariant &raw)
{
    switch (raw.typeId()) {
    case QMetaType::QDate: return raw.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: return raw.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    case QMetaType::Double: return QString::number(raw.toDouble(), 'g', 15);
    default: return raw.toString();
    }
}

// An empty text that the drivers bind as '' rather than NULL.
QString nonNull(QString text)
{
    return text.isNull() ? QString(0, QChar()) : text;
}

std::optional<bool> boolFromText(const QString &text)
{
    static const QStringList yes{u"1"_s, u"true"_s, u"t"_s, u"y"_s, u"yes"_s, u"是"_s};
    static const QStringList no{u"0"_s, u"false"_s, u"f"_s, u"n"_s, u"no"_s, u"否"_s};
    const QString t = text.trimmed().toLower();
    if (yes.contains(t))
        return true;
    if (no.contains(t))
        return false;
    return std::nullopt;
}

// A value as read from the database, converted to the field's type.
QVariant typedValue(const QVariant &raw, ColumnType type)
{
    if (!raw.isValid() || raw.isNull())
        return {};
    switch (type) {
    case ColumnType::String:
    case ColumnType::Memo: return textOf(raw);
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt: return int(raw.toLongLong());
    case ColumnType::Boolean:
        return raw.typeId() == QMetaType::QString ? boolFromText(raw.toString()).value_or(false)
                                                  : raw.toBool();
    case ColumnType::Date: {
        const QDate d = dateOf(raw);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case ColumnType::Money: return moneyText(raw);
    case ColumnType::Blob: return raw.toByteArray();
    }
    return raw;
}

ColumnType typeOfMeta(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Bool: return ColumnType::Boolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return ColumnType::Integer;
    case QMetaType::Double:
    case QMetaType::Float: return ColumnType::Money;
    case QMetaType::QDate: return ColumnType::Date;
    case QMetaType::QByteArray: return ColumnType::Blob;
    default: return ColumnType::String;
    }
}

[[noreturn]] void invalidInput(const TField &f, const QString &what, const QVariant &v)
{
    throw TDbError(u"“%1”%2：%3"_s.arg(f.DisplayLabel(), what, v.toString()));
}

QVariant integerInput(const QVariant &v, const TField &f)
{
    bool ok = true;
    qlonglong n = 0;
    if (v.typeId() == QMetaType::Bool)
        n = v.toBool() ? 1 : 0;
    else if (isFloat(v))
        ok = double(n = qlonglong(v.toDouble())) == v.toDouble();  // a whole number only
    else
        n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT_MIN || n > INT_MAX)
        invalidInput(f, u"必须是整数"_s, v);
    // A 16-bit column would take more on SQLite and refuse it on PostgreSQL.
    if (f.DataType() == ColumnType::SmallInt && (n < -32768 || n > 32767))
        invalidInput(f, u"必须是 -32768 到 32767 之间的整数"_s, v);
    return int(n);
}

QVariant dateInput(const QVariant &v, const TField &f)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
        const QDate d = dateOf(v);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    const QString text = v.toString().trimmed();
    const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    if (!d.isValid() || (text.size() > 10 && text[10] != u' ' && text[10] != u'T'))
        invalidInput(f, u"不是有效的日期（应为 YYYY-MM-DD）"_s, v);
    return d;
}

QVariant moneyInput(const QVariant &v, const TField &f)
{
    const QString text = isFloat(v) ? QString::number(v.toDouble(), 'g', 15) : v.toString();
    const std::optional<QString> money = decimalText(text);
    if (!money)
        invalidInput(f, u"不是有效的金额"_s, v);
    return *money;
}

// A value given to SetValue, checked and converted to the field's type.
QVariant inputValue(const QVariant &v, const TField &f)
{
    if (!v.isValid())
        return {};
    if (f.IsString()) {
        const QString text = nonNull(textOf(v));
        if (f.Size() > 0 && text.size() > f.Size())
            throw TDbError(u"“%1”最多只能有 %2 个字符。"_s.arg(f.DisplayLabel()).arg(f.Size()));
        return text;
    }
    if (v.isNull() || (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()))
        return {};
    switch (f.DataType()) {
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt: return integerInput(v, f);
    case ColumnType::Boolean: {
        if (v.typeId() == QMetaType::QString) {
            const std::optional<bool> b = boolFromText(v.toString());
            if (!b)
                invalidInput(f, u"必须是“是”或“否”"_s, v);
            return *b;
        }
        return v.toBool();
    }
    case ColumnType::Date: return dateInput(v, f);
    case ColumnType::Money: return moneyInput(v, f);
    case ColumnType::Blob: return v.toByteArray();
    default: return v;
    }
}

// A typed value as it is bound to a statement of the kind.
QVariant bindValue(const QVariant &typed, ColumnType type, DatabaseKind kind)
{
    if (!typed.isValid())
        return {};
    switch (type) {
    case ColumnType::String:
    case ColumnType::Memo: return nonNull(typed.toString());
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt: return typed.toInt();
    case ColumnType::Boolean: return typed.toBool() ? 1 : 0;
    case ColumnType::Date:
        // ISO text on SQLite (what its date columns hold), a DATE on PostgreSQL.
        return kind == DatabaseKind::SQLite ? QVariant(typed.toDate().toString(Qt::ISODate))
                                            : QVariant(typed.toDate());
    case ColumnType::Money: return typed.toString();
    case ColumnType::Blob: return typed.toByteArray();
    }
    return typed;
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    return a == b;
}

// --- rows and the client-side filter ------------------------------------------

struct Row {
    QVariantList raw;  // per field, as the database gave it (kept for optimistic checks)
    QVariant key;      // the row key; null for a row not yet in the database
    // Typed values that replace `raw` while a cached change waits.
    std::optional<QVariantList> values;
    enum class Change { None, Inserted, Modified } change = Change::None;
    bool removed = false;
};
using RowPtr = std::shared_ptr<Row>;

struct Block {
    QList<RowPtr> rows;
    quint64 lastUse = 0;
};

struct FilterTerm {
    int field;
    QString value;
};

QStringList splitFilter(const QString &text)
{
    QStringList parts;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\'') {
            quoted = !quoted;
        } else if (!quoted && QStringView(text).mid(i, 5).compare(u" AND ", Qt::CaseInsensitive) == 0) {
            parts.append(text.mid(start, i - start));
            start = i + 5;
            i += 4;
        }
    }
    parts.append(text.mid(start));
    return parts;
}

bool termMatches(const QVariant &v, ColumnType type, const QString &want)
{
    if (!v.isValid())
        return false;
    switch (type) {
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt: {
        bool ok = false;
        const qlonglong n = want.toLongLong(&ok);
        return ok && v.toLongLong() == n;
    }
    case ColumnType::Boolean: return boolFromText(want) == std::optional<bool>(v.toBool());
    case ColumnType::Money: return decimalText(want) == std::optional<QString>(v.toString());
    case ColumnType::Date: return v.toDate().toString(Qt::ISODate) == want.left(10);
    default: return v.toString() == want;
    }
}

struct DeletedRow {
    RowPtr row;
    bool local;  // was among the rows this dataset inserted
    int index;   // where it was, to put it back
};

struct Mark {
    RowPtr row;
    QVariant key;
    int base;  // position hint
};

struct Statement {
    QString sql;
    QVariantList binds;
};

} // namespace

// ============================================================================

struct TDataSet::Impl {
    explicit Impl(TDataSet &owner) : q(owner) {}

    TDataSet &q;
    std::vector<std::unique_ptr<TField>> fields;

    // The open result.
    SqlShape shape;
    QSqlRecord record;
    bool paged = false;       // read in pages (else it was read whole at open)
    QString orderTerms;       // what makes the paging order total
    int keyResult = -1;       // result column of the row key
    QString keyName;
    const Schema::Table *table = nullptr;  // where posts go; null = read-only

    // Rows: the database part by position, then the rows inserted here.
    std::map<int, Block> blocks;
    int cachedRows = 0;
    quint64 clock = 0;
    int dbCount = -1;  // rows of the database part; -1 until known
    QList<RowPtr> local;
    QSet<qint64> excluded;  // keys kept out of the paged statements
    QSet<qint64> gone;      // keys of rows deleted here

    QList<FilterTerm> filter;
    std::optional<QList<int>> visible;  // positions that pass the filter

    // The row being edited or inserted.
    RowPtr editRow;
    QVariantList buffer;
    QList<bool> assigned;
    int insertAt = -1;
    int returnTo = -1;

    // Cached updates.
    QList<RowPtr> changed;
    QList<DeletedRow> deleted;

    quint32 generation = 0;
    quint32 nextMark = 0;
    QHash<TBookmark, Mark> marks;

    // --- reading
    QSqlQuery run(const QString &sql, const QVariantList &binds = {}) const;
    void openResult();
    void setupFields();
    Column describe(const QSqlField &field) const;
    void setupKeys();
    RowPtr makeRow(const QSqlQuery &query) const;
    QList<RowPtr> readAll(QSqlQuery &query) const;
    // `skip` rows after `afterKey`, or `start` rows from the top without one.
    QString pageSql(int start, int count, const QString &afterKey, int skip) const;
    QString exclusion(const QString &more = {}) const;
    QString keysetAfter(const RowPtr &last) const;
    void clearRows();

    // --- the row cache
    RowPtr cachedDbRow(int b);
    void fetchAround(int b);
    void endOfDataAt(int count);
    void trimTo(int count);
    void evict();
    int currentBase() const;
    void shiftBlocks(int from, int delta);
    void removeDbRow(int b);
    void insertDbRow(int b, const RowPtr &row);
    int dbCountNow();

    // --- rows as the dataset shows them
    bool inserting() const { return q.m_state == TDataSetState::Insert; }
    bool editing() const { return q.m_state == TDataSetState::Edit || inserting(); }
    RowPtr baseRow(int b);
    int baseCount() { return dbCountNow() + int(local.size()); }
    int baseOf(int v) const { return visible ? visible->value(v, -1) : v; }
    int viewOfBase(int b) const;
    RowPtr rowAt(int v);
    int rowCount();
    void removeBase(int b);

    // --- values
    QVariant valueOf(const Row &row, int i) const;
    QVariantList valuesOf(const Row &row) const;
    QVariant currentValue(int i);
    QVariant oldValue(int i);
    void setValue(int i, const QVariant &value);
    void startEdit(const RowPtr &row, const QVariantList &values);
    void dropEdit();

    // --- writing
    void requireActive() const;
    void requireWritable() const;
    bool writable(int i) const;
    QString columnName(int i) const;
    QVariant bind(const QVariant &typed, int i) const;
    void addCheck(Statement &where, int i, const QVariant &raw) const;
    QVariant writeInsert(const QVariantList &values);
    bool writeUpdate(const Row &row, const QVariantList &values);
    void writeDelete(const Row &row);
    void expectRow(const QSqlQuery &query, const QString &sql) const;
    std::optional<QVariantList> reread(const QVariant &key) const;
    QVariantList rawAfterWrite(const QVariant &key, const QVariantList &values) const;
    void postInsert();
    void postUpdate();
    void postToCache(bool inserted);
    void deleteToCache(const RowPtr &row, int v);
    // A row of a cached batch as written: its key and its stored values.
    struct Written {
        RowPtr row;
        QVariant key;
        QVariantList raw;
    };
    void applyCache();
    void followWritten(const QList<Written> &written);
    void cancelCache();
    void forget(const RowPtr &row);

    QVariantList sumsOf(const QList<int> &indexes);
    QVariantList databaseSums(const QList<int> &indexes);

    // --- filter and bookmarks
    QList<FilterTerm> parseFilter(const QString &text) const;
    bool passes(const Row &row) const;
    void applyFilter();
    int findMark(TBookmark id);
};

// --- reading ------------------------------------------------------------------

QSqlQuery TDataSet::Impl::run(const QString &sql, const QVariantList &binds) const
{
    if (!q.m_conn.IsOpen())
        throw TDbError(u"数据库没有连接。"_s, sql);
    QSqlQuery query(q.m_conn.Database());
    query.setForwardOnly(true);
    // Numeric columns as text, so money reaches the screen exactly.
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok;
    if (binds.isEmpty()) {
        ok = query.exec(sql);
    } else {
        ok = query.prepare(sql);
        for (const QVariant &v : binds)
            query.addBindValue(v);
        ok = ok && query.exec();
    }
    if (!ok) {
        QString text = query.lastError().text().trimmed();
        throw TDbError(u"数据库操作失败：%1"_s.arg(text), u"SQL: "_s + sql);
    }
    return query;
}

void TDataSet::Impl::clearRows()
{
    dropEdit();
    blocks.clear();
    cachedRows = 0;
    dbCount = -1;
    local.clear();
    excluded.clear();
    gone.clear();
    filter.clear();
    visible.reset();
    changed.clear();
    deleted.clear();
    marks.clear();
    paged = false;
}

void TDataSet::Impl::openResult()
{
    clearRows();
    shape = analyseSql(q.m_sql);
    if (shape.text.isEmpty())
        throw TDbError(u"没有要打开的查询语句。"_s, u"数据集："_s + q.objectName());
    QSqlQuery probe = run(u"SELECT * FROM (\n"_s + shape.text + u"\n) vm_t LIMIT "_s
                          + QString::number(FirstPage + 1));
    record = probe.record();
    setupFields();
    setupKeys();
    QList<RowPtr> rows = readAll(probe);
    paged = rows.size() > FirstPage;
    if (paged) {
        QStringList terms;
        if (keyResult >= 0)
            terms.append(QString::number(keyResult + 1));
        else
            for (int i = 1; i <= record.count(); ++i)
                terms.append(QString::number(i));
        orderTerms = terms.join(u", "_s);
    } else {
        dbCount = int(rows.size());
        if (!rows.isEmpty())
            blocks.emplace(0, Block{rows, ++clock});
        cachedRows = dbCount;
    }
    ++generation;
}

void TDataSet::Impl::setupFields()
{
    if (!q.m_persistent.isEmpty()) {
        for (const auto &f : fields) {
            const int at = record.indexOf(f->FieldName());
            if (at < 0)
                throw TDbError(u"查询结果中缺少字段“%1”。"_s.arg(f->FieldName()),
                               u"数据集：%1\nSQL: %2"_s.arg(q.objectName(), q.m_sql));
            f->m_resultIndex = at;
        }
        return;
    }
    QList<Column> columns;
    for (int i = 0; i < record.count(); ++i)
        columns.append(describe(record.field(i)));
    bool same = int(fields.size()) == columns.size();
    for (int i = 0; same && i < columns.size(); ++i)
        same = fields[i]->FieldName() == columns[i].name && fields[i]->DataType() == columns[i].type;
    if (same)
        return;  // the same fields as before: pointers that windows hold stay good
    fields.clear();
    for (int i = 0; i < columns.size(); ++i) {
        fields.push_back(std::make_unique<TField>(&q, columns[i], i));
        fields.back()->m_index = i;
    }
}

Column TDataSet::Impl::describe(const QSqlField &field) const
{
    for (const QString &relation : {shape.source, q.UpdateTable()}) {
        if (relation.isEmpty())
            continue;
        for (const Column &c : Schema::ColumnsOf(relation))
            if (c.name.compare(field.name(), Qt::CaseInsensitive) == 0)
                return c;
    }
    Column c;
    c.name = field.name();
    c.type = typeOfMeta(field.metaType());
    return c;
}

void TDataSet::Impl::setupKeys()
{
    table = nullptr;
    keyResult = -1;
    keyName.clear();
    const QString target = q.UpdateTable();
    if (const Schema::Table *t = target.isEmpty() ? nullptr : Schema::FindTable(target)) {
        const int at = uniqueColumn(record, t->keyName());
        if (at >= 0) {
            table = t;  // without its key in the result nothing could be written
            keyResult = at;
            keyName = t->keyName();
            return;
        }
    }
    // A read-only list still orders its pages by the key of what it reads.
    if (shape.aggregated || shape.source.isEmpty())
        return;
    for (const Column &c : Schema::ColumnsOf(shape.source)) {
        if (c.type != ColumnType::Key)
            continue;
        keyResult = uniqueColumn(record, c.name);
        if (keyResult >= 0)
            keyName = c.name;
        return;
    }
}

RowPtr TDataSet::Impl::makeRow(const QSqlQuery &query) const
{
    auto row = std::make_shared<Row>();
    row->raw.reserve(qsizetype(fields.size()));
    for (const auto &f : fields)
        row->raw.append(query.value(f->m_resultIndex));
    if (keyResult >= 0)
        row->key = query.value(keyResult);
    return row;
}

QList<RowPtr> TDataSet::Impl::readAll(QSqlQuery &query) const
{
    QList<RowPtr> rows;
    while (query.next())
        rows.append(makeRow(query));
    query.finish();  // frees the connection for the next statement
    return rows;
}

QString TDataSet::Impl::exclusion(const QString &more) const
{
    QStringList conditions;
    if (!excluded.isEmpty() && table) {
        QStringList keys;
        for (qint64 k : excluded)
            keys.append(QString::number(k));
        conditions.append(u"vm_t."_s + keyName + u" NOT IN ("_s + keys.join(u", "_s) + u')');
    }
    if (!more.isEmpty())
        conditions.append(more);
    return conditions.isEmpty() ? QString() : u" WHERE "_s + conditions.join(u" AND "_s);
}

QString TDataSet::Impl::keysetAfter(const RowPtr &last) const
{
    if (!last || shape.orderBy >= 0 || keyResult < 0 || last->key.isNull())
        return {};
    bool ok = false;
    const qlonglong key = last->key.toLongLong(&ok);
    return ok ? u"vm_t."_s + keyName + u" > "_s + QString::number(key) : QString();
}

QString TDataSet::Impl::pageSql(int start, int count, const QString &afterKey, int skip) const
{
    // The text is concatenated, never arg()-ed: the SQL may hold '%'.
    QString inner = shape.text;
    QString outerOrder;
    if (shape.orderBy < 0)
        outerOrder = u" ORDER BY "_s + orderTerms;
    else if (!shape.limited)
        inner += u"\n, "_s + orderTerms;
    QString sql = u"SELECT * FROM (\n"_s + inner + u"\n) vm_t"_s + exclusion(afterKey) + outerOrder
        + u" LIMIT "_s + QString::number(count);
    const int offset = afterKey.isEmpty() ? start : skip;
    if (offset > 0)
        sql += u" OFFSET "_s + QString::number(offset);
    return sql;
}

// --- the row cache --------------------------------------------------------------

RowPtr TDataSet::Impl::cachedDbRow(int b)
{
    auto it = blocks.upper_bound(b);
    if (it == blocks.begin())
        return nullptr;
    --it;
    const int offset = b - it->first;
    if (offset >= it->second.rows.size())
        return nullptr;
    it->second.lastUse = ++clock;
    return it->second.rows[offset];
}

void TDataSet::Impl::fetchAround(int b)
{
    const auto next = blocks.upper_bound(b);
    const int nextStart = next == blocks.end() ? INT_MAX : next->first;
    int start = b - b % Chunk;
    int length = Chunk;
    RowPtr last;
    int skip = 0;
    if (next != blocks.begin()) {
        const auto prev = std::prev(next);
        const int prevEnd = prev->first + int(prev->second.rows.size());
        if (prevEnd >= start)
            start = prevEnd;
        if (prevEnd == b)  // a walk goes on: read more at once
            length = std::clamp(int(prev->second.rows.size()) * 2, Chunk, MaxChunk);
        // Counting on from the nearest page above by key skips only the
        // rows in between, not every row from the top (a jump down a
        // million rows, or selected rows far apart).
        last = prev->second.rows.last();
        skip = start - prevEnd;
    }
    int end = int(std::min<qint64>(qint64(start) + length, nextStart));
    if (dbCount >= 0)
        end = std::min(end, dbCount);
    if (end <= b)
        return;
    QSqlQuery query = run(pageSql(start, end - start, keysetAfter(last), skip));
    QList<RowPtr> rows = readAll(query);
    const int got = int(rows.size());
    if (got > 0) {
        cachedRows += got;
        blocks.emplace(start, Block{std::move(rows), ++clock});
    }
    if (got < end - start)
        endOfDataAt(start + got);
    evict();
}

void TDataSet::Impl::endOfDataAt(int count)
{
    const bool surprise = dbCount >= 0 && dbCount != count;
    dbCount = count;
    trimTo(count);
    if (surprise) {
        // Another workstation removed rows meanwhile. Views learn of the new
        // number later: this may run inside a view's own data() call.
        QMetaObject::invokeMethod(
            &q, [ds = &q] { emit ds->RowsReset(); }, Qt::QueuedConnection);
    }
}

void TDataSet::Impl::trimTo(int count)
{
    for (auto it = blocks.begin(); it != blocks.end();) {
        const int keep = std::max(0, count - it->first);
        if (keep >= it->second.rows.size()) {
            ++it;
            continue;
        }
        cachedRows -= int(it->second.rows.size()) - keep;
        it->second.rows.resize(keep);
        it = keep == 0 ? blocks.erase(it) : std::next(it);
    }
}

int TDataSet::Impl::currentBase() const
{
    const int v = q.m_current;
    if (v < 0 || (inserting() && v == insertAt))
        return -1;
    return baseOf(v);
}

void TDataSet::Impl::evict()
{
    const int keep = currentBase();
    while (cachedRows > MaxCachedRows) {
        auto victim = blocks.end();
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            const Block &b = it->second;
            const bool holdsCurrent = keep >= it->first && keep < it->first + b.rows.size();
            const bool holdsChanges = std::any_of(b.rows.begin(), b.rows.end(), [](const RowPtr &r) {
                return r->change != Row::Change::None;
            });
            if (holdsCurrent || holdsChanges || b.lastUse == clock)
                continue;
            if (victim == blocks.end() || b.lastUse < victim->second.lastUse)
                victim = it;
        }
        if (victim == blocks.end())
            return;
        cachedRows -= int(victim->second.rows.size());
        blocks.erase(victim);
    }
}

void TDataSet::Impl::shiftBlocks(int from, int delta)
{
    std::vector<std::pair<int, Block>> moved;
    for (auto it = blocks.lower_bound(from); it != blocks.end();) {
        moved.emplace_back(it->first + delta, std::move(it->second));
        it = blocks.erase(it);
    }
    for (auto &m : moved)
        blocks.emplace(m.first, std::move(m.second));
}

void TDataSet::Impl::removeDbRow(int b)
{
    auto it = blocks.upper_bound(b);
    if (it != blocks.begin()) {
        const auto holder = std::prev(it);
        const int offset = b - holder->first;
        if (offset < holder->second.rows.size()) {
            holder->second.rows.removeAt(offset);
            --cachedRows;
            if (holder->second.rows.isEmpty())
                blocks.erase(holder);
        }
    }
    shiftBlocks(b + 1, -1);
    if (dbCount > 0)
        --dbCount;
}

void TDataSet::Impl::insertDbRow(int b, const RowPtr &row)
{
    auto it = blocks.upper_bound(b);
    if (it != blocks.begin()) {
        const auto holder = std::prev(it);
        const int offset = b - holder->first;
        if (offset <= holder->second.rows.size()) {
            shiftBlocks(b + 1, 1);
            holder->second.rows.insert(offset, row);
            ++cachedRows;
            if (dbCount >= 0)
                ++dbCount;
            return;
        }
    }
    shiftBlocks(b, 1);
    blocks.emplace(b, Block{{row}, ++clock});
    ++cachedRows;
    if (dbCount >= 0)
        ++dbCount;
}

int TDataSet::Impl::dbCountNow()
{
    if (dbCount < 0) {
        QSqlQuery query = run(u"SELECT COUNT(*) FROM (\n"_s + shape.withoutOrder() + u"\n) vm_t"_s
                              + exclusion());
        const int count = query.next() ? query.value(0).toInt() : 0;
        query.finish();
        dbCount = count;
        trimTo(count);
    }
    return dbCount;
}

// --- rows as the dataset shows them -----------------------------------------------

RowPtr TDataSet::Impl::baseRow(int b)
{
    if (b < 0)
        return nullptr;
    if (dbCount < 0 || b < dbCount) {
        if (RowPtr r = cachedDbRow(b))
            return r;
        if (!paged)
            return nullptr;
        fetchAround(b);
        if (RowPtr r = cachedDbRow(b))
            return r;
        if (dbCount < 0 || b < dbCount)
            return nullptr;
    }
    const qsizetype l = qsizetype(b) - dbCount;
    return l < local.size() ? local[l] : nullptr;
}

int TDataSet::Impl::viewOfBase(int b) const
{
    if (!visible)
        return b;
    const auto it = std::lower_bound(visible->begin(), visible->end(), b);
    return it != visible->end() && *it == b ? int(it - visible->begin()) : -1;
}

RowPtr TDataSet::Impl::rowAt(int v)
{
    if (v < 0)
        return nullptr;
    if (inserting() && v == insertAt)
        return editRow;
    if (visible)
        return v < visible->size() ? baseRow(visible->at(v)) : nullptr;
    return baseRow(v);
}

int TDataSet::Impl::rowCount()
{
    const int shown = visible ? int(visible->size()) : baseCount();
    return shown + (inserting() ? 1 : 0);
}

void TDataSet::Impl::removeBase(int b)
{
    if (dbCount < 0 || b < dbCount)
        removeDbRow(b);
    else
        local.removeAt(b - dbCount);
    if (!visible)
        return;
    visible->removeOne(b);
    for (int &v : *visible)
        if (v > b)
            --v;
}

// --- values ------------------------------------------------------------------------

QVariant TDataSet::Impl::valueOf(const Row &row, int i) const
{
    if (row.values)
        return row.values->value(i);
    return typedValue(row.raw.value(i), fields[i]->DataType());
}

QVariantList TDataSet::Impl::valuesOf(const Row &row) const
{
    QVariantList out;
    for (int i = 0; i < int(fields.size()); ++i)
        out.append(valueOf(row, i));
    return out;
}

QVariant TDataSet::Impl::currentValue(int i)
{
    if (editing())
        return buffer.value(i);
    const RowPtr row = q.Active() ? rowAt(q.m_current) : nullptr;
    return row ? valueOf(*row, i) : QVariant();
}

QVariant TDataSet::Impl::oldValue(int i)
{
    if (inserting())
        return {};
    if (editRow)
        return valueOf(*editRow, i);
    return currentValue(i);
}

void TDataSet::Impl::setValue(int i, const QVariant &value)
{
    const TField &f = *fields[i];
    if (!editing())
        throw TDbError(u"数据不在编辑状态，不能修改“%1”。"_s.arg(f.DisplayLabel()));
    if (!writable(i))
        throw TDbError(u"“%1”不能修改。"_s.arg(f.DisplayLabel()));
    buffer[i] = inputValue(value, f);
    assigned[i] = true;
    emit q.FieldChanged(fields[i].get());
    emit q.RowChanged(q.m_current);
    emit q.DataChanged();
}

void TDataSet::Impl::startEdit(const RowPtr &row, const QVariantList &values)
{
    editRow = row;
    buffer = values;
    assigned = QList<bool>(qsizetype(fields.size()), false);
}

void TDataSet::Impl::dropEdit()
{
    editRow.reset();
    buffer.clear();
    assigned.clear();
    insertAt = -1;
}

// --- writing ---------------------------------------------------------------------------

void TDataSet::Impl::requireActive() const
{
    if (!q.Active())
        throw TDbError(u"数据还没有打开。"_s, u"数据集："_s + q.objectName());
}

void TDataSet::Impl::requireWritable() const
{
    if (q.m_readOnly || !table)
        throw TDbError(u"当前数据是只读的，不能修改。"_s,
                       u"数据集：%1\nSQL: %2"_s.arg(q.objectName(), q.m_sql));
}

bool TDataSet::Impl::writable(int i) const
{
    const TField &f = *fields[i];
    if (!table || f.ReadOnly())
        return false;
    const Column *c = table->column(f.FieldName());
    return c && c->type != ColumnType::Key && !c->readOnly;
}

QString TDataSet::Impl::columnName(int i) const
{
    return table->column(fields[i]->FieldName())->name;
}

QVariant TDataSet::Impl::bind(const QVariant &typed, int i) const
{
    return bindValue(typed, fields[i]->DataType(), q.m_conn.Dialect().Kind());
}

// "AND col = ?" with the value as it was read, or "AND col IS NULL".
void TDataSet::Impl::addCheck(Statement &where, int i, const QVariant &raw) const
{
    if (!raw.isValid() || raw.isNull()) {
        where.sql += u" AND "_s + columnName(i) + u" IS NULL"_s;
        return;
    }
    where.sql += u" AND "_s + columnName(i) + u" = ?"_s;
    where.binds.append(raw);
}

void TDataSet::Impl::expectRow(const QSqlQuery &query, const QString &sql) const
{
    if (query.numRowsAffected() == 0)
        throw TDbError(changedByOthers(), u"SQL: "_s + sql);
}

QVariant TDataSet::Impl::writeInsert(const QVariantList &values)
{
    QStringList columns, placeholders;
    QVariantList binds;
    for (int i = 0; i < int(fields.size()); ++i) {
        // A NULL is left out, so the column's default applies.
        if (!writable(i) || !values.value(i).isValid())
            continue;
        columns.append(columnName(i));
        placeholders.append(u"?"_s);
        binds.append(bind(values[i], i));
    }
    QString sql = u"INSERT INTO "_s + table->name;
    sql += columns.isEmpty() ? u" DEFAULT VALUES"_s
                             : u" ("_s + columns.join(u", "_s) + u") VALUES ("_s
                                   + placeholders.join(u", "_s) + u')';
    sql += u" RETURNING "_s + table->keyName();
    QSqlQuery query = q.m_conn.ExecuteBound(sql, binds);
    if (!query.next())
        throw TDbError(u"新记录没有取得编号。"_s, u"SQL: "_s + sql);
    const QVariant key = query.value(0);
    query.finish();
    return key;
}

bool TDataSet::Impl::writeUpdate(const Row &row, const QVariantList &values)
{
    QStringList sets;
    QVariantList binds;
    Statement where{u" WHERE "_s + table->keyName() + u" = ?"_s, {row.key}};
    for (int i = 0; i < int(fields.size()); ++i) {
        const QVariant &before = row.raw.value(i);
        if (!writable(i) || sameValue(typedValue(before, fields[i]->DataType()), values.value(i)))
            continue;
        sets.append(columnName(i) + u" = ?"_s);
        binds.append(bind(values[i], i));
        addCheck(where, i, before);  // still what we read, or someone else changed it
    }
    if (sets.isEmpty())
        return false;
    const QString sql = u"UPDATE "_s + table->name + u" SET "_s + sets.join(u", "_s) + where.sql;
    expectRow(q.m_conn.ExecuteBound(sql, binds + where.binds), sql);
    return true;
}

void TDataSet::Impl::writeDelete(const Row &row)
{
    Statement where{u"DELETE FROM "_s + table->name + u" WHERE "_s + table->keyName() + u" = ?"_s,
                    {row.key}};
    // A row changed elsewhere since it was read is not deleted unseen.
    for (int i = 0; i < int(fields.size()); ++i)
        if (writable(i))
            addCheck(where, i, row.raw.value(i));
    expectRow(q.m_conn.ExecuteBound(where.sql, where.binds), where.sql);
}

// The row as the dataset's own statement now shows it (joined and computed
// columns included); nothing when the row no longer matches the statement.
std::optional<QVariantList> TDataSet::Impl::reread(const QVariant &key) const
{
    if (keyName.isEmpty())
        return std::nullopt;
    try {
        QSqlQuery query = run(u"SELECT * FROM (\n"_s + shape.withoutOrder() + u"\n) vm_t WHERE vm_t."_s
                                  + keyName + u" = ?"_s,
                              {key});
        std::optional<QVariantList> raw;
        if (query.next())
            raw = makeRow(query)->raw;
        query.finish();
        return raw;
    } catch (const TDbError &) {
        // The write itself succeeded; show what was written instead.
        return std::nullopt;
    }
}

QVariantList TDataSet::Impl::rawAfterWrite(const QVariant &key, const QVariantList &values) const
{
    if (std::optional<QVariantList> raw = reread(key))
        return *raw;
    QVariantList raw;
    for (int i = 0; i < int(fields.size()); ++i) {
        const bool isKey = fields[i]->FieldName().compare(keyName, Qt::CaseInsensitive) == 0;
        raw.append(isKey ? key : bind(values.value(i), i));
    }
    return raw;
}

void TDataSet::Impl::postInsert()
{
    const QVariant key = writeInsert(buffer);
    editRow->key = key;
    editRow->raw = rawAfterWrite(key, buffer);
    local.append(editRow);
    excluded.insert(key.toLongLong());
    q.m_lastInsertKey = key;
}

void TDataSet::Impl::postUpdate()
{
    if (writeUpdate(*editRow, buffer))
        editRow->raw = rawAfterWrite(editRow->key, buffer);
}

void TDataSet::Impl::postToCache(bool inserted)
{
    if (inserted) {
        editRow->values = buffer;
        editRow->change = Row::Change::Inserted;
        local.append(editRow);
        changed.append(editRow);
        return;
    }
    if (valuesOf(*editRow) == buffer)
        return;
    editRow->values = buffer;
    if (editRow->change == Row::Change::None) {
        editRow->change = Row::Change::Modified;
        changed.append(editRow);
    }
}

void TDataSet::Impl::deleteToCache(const RowPtr &row, int v)
{
    changed.removeOne(row);
    if (row->change == Row::Change::Inserted)
        return;  // never reached the database
    const int b = baseOf(v);
    const bool isLocal = dbCount >= 0 && b >= dbCount;
    deleted.append({row, isLocal, isLocal ? b - dbCount : b});
    excluded.insert(row->key.toLongLong());
}

void TDataSet::Impl::applyCache()
{
    QList<Written> written;
    {
        // Inside the caller's transaction when there is one, else in our own.
        std::optional<TTransaction> transaction;
        if (!q.m_conn.InTransaction())
            transaction.emplace(q.m_conn);
        // Deletions first, so a barcode given up here may be taken by a new row.
        for (const DeletedRow &del : deleted)
            writeDelete(*del.row);
        for (const RowPtr &row : changed) {
            QVariant key = row->key;
            if (row->change == Row::Change::Inserted)
                key = writeInsert(*row->values);
            else
                writeUpdate(*row, *row->values);
            written.append({row, key, {}});
        }
        for (Written &w : written)
            w.raw = rawAfterWrite(w.key, *w.row->values);
        // Memory follows once the database holds everything: at the commit
        // of the caller's transaction, and never after its rollback (the
        // changes stay pending, to be saved again).
        q.m_conn.AfterCommit([this, alive = QPointer<TDataSet>(&q), written] {
            if (alive)
                followWritten(written);
        });
        if (transaction)
            transaction->Commit();
    }
}

void TDataSet::Impl::followWritten(const QList<Written> &written)
{
    for (const DeletedRow &del : deleted)
        excluded.remove(del.row->key.toLongLong());
    for (const Written &w : written) {
        if (w.row->change == Row::Change::Inserted) {
            excluded.insert(w.key.toLongLong());
            q.m_lastInsertKey = w.key;
        }
        w.row->key = w.key;
        w.row->raw = w.raw;
        w.row->values.reset();
        w.row->change = Row::Change::None;
    }
    deleted.clear();
    changed.clear();
    emit q.RowsChanged();
    emit q.DataChanged();
}

void TDataSet::Impl::cancelCache()
{
    // Deleted rows go back where they were, the last deleted first.
    for (auto it = deleted.crbegin(); it != deleted.crend(); ++it) {
        const RowPtr &row = it->row;
        row->removed = false;
        excluded.remove(row->key.toLongLong());
        gone.remove(row->key.toLongLong());
        if (it->local)
            local.insert(it->index, row);
        else
            insertDbRow(it->index, row);
    }
    for (const DeletedRow &del : std::as_const(deleted))
        forget(del.row);
    for (const RowPtr &row : std::as_const(changed)) {
        if (row->change == Row::Change::Inserted) {
            local.removeOne(row);
            row->removed = true;
        }
        forget(row);
    }
    deleted.clear();
    changed.clear();
}

void TDataSet::Impl::forget(const RowPtr &row)
{
    row->values.reset();
    row->change = Row::Change::None;
}

// --- sums ----------------------------------------------------------------------------------

QVariantList TDataSet::Impl::sumsOf(const QList<int> &indexes)
{
    QList<Total> totals;
    for (int i : indexes)
        totals.append(Total{fields[i]->DataType() == ColumnType::Money});
    const auto addRow = [&](const Row &row) {
        for (qsizetype k = 0; k < indexes.size(); ++k)
            totals[k].add(valueOf(row, indexes[k]));
    };
    // A result read whole, or filtered here, is summed here (cached changes
    // included); a large one by the database, plus the rows added here.
    if (!paged || visible) {
        const int n = visible ? int(visible->size()) : baseCount();
        for (int v = 0; v < n; ++v)
            if (const RowPtr row = visible ? baseRow(visible->at(v)) : baseRow(v))
                addRow(*row);
    } else {
        const QVariantList fromDatabase = databaseSums(indexes);
        for (qsizetype k = 0; k < indexes.size(); ++k)
            totals[k].add(fromDatabase[k]);
        for (const RowPtr &row : std::as_const(local))
            addRow(*row);
    }
    QVariantList out;
    for (const Total &t : totals)
        out.append(t.value());
    return out;
}

QVariantList TDataSet::Impl::databaseSums(const QList<int> &indexes)
{
    QStringList sums;
    for (int i : indexes) {
        QString column = record.fieldName(fields[i]->m_resultIndex);
        column.replace(u'"', u"\"\""_s);
        sums.append(u"SUM(vm_t.\""_s + column + u"\")"_s);
    }
    QSqlQuery query = run(u"SELECT "_s + sums.join(u", "_s) + u" FROM (\n"_s + shape.withoutOrder()
                          + u"\n) vm_t"_s + exclusion());
    const bool found = query.next();
    QVariantList out;
    for (qsizetype k = 0; k < indexes.size(); ++k) {
        const QVariant sum = found ? query.value(int(k)) : QVariant();
        const bool money = fields[indexes[k]]->DataType() == ColumnType::Money;
        if (!sum.isValid() || sum.isNull())
            out.append(QVariant());
        else
            out.append(money ? QVariant(moneyText(sum)) : QVariant(sum.toLongLong()));
    }
    query.finish();
    return out;
}

// --- filter and bookmarks ------------------------------------------------------------

QList<FilterTerm> TDataSet::Impl::parseFilter(const QString &text) const
{
    QList<FilterTerm> terms;
    for (const QString &part : splitFilter(text)) {
        const qsizetype eq = part.indexOf(u'=');
        const TField *f = eq > 0 ? q.FindField(part.left(eq).trimmed()) : nullptr;
        if (!f)
            throw TDbError(u"无法识别的筛选条件：%1"_s.arg(part.trimmed()));
        QString value = part.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'\'') && value.endsWith(u'\''))
            value = value.mid(1, value.size() - 2).replace(u"''"_s, u"'"_s);
        terms.append({f->Index(), value});
    }
    return terms;
}

bool TDataSet::Impl::passes(const Row &row) const
{
    return std::all_of(filter.begin(), filter.end(), [&](const FilterTerm &t) {
        return termMatches(valueOf(row, t.field), fields[t.field]->DataType(), t.value);
    });
}

void TDataSet::Impl::applyFilter()
{
    const bool on = q.m_filtered && !q.m_filterText.trimmed().isEmpty();
    QList<FilterTerm> terms = on ? parseFilter(q.m_filterText) : QList<FilterTerm>();
    visible.reset();
    filter = terms;
    if (!on)
        return;
    // The filter is meant for short lists: every row is looked at once.
    QList<int> rows;
    for (int b = 0; RowPtr r = baseRow(b); ++b)
        if (passes(*r))
            rows.append(b);
    visible = rows;
}

int TDataSet::Impl::findMark(TBookmark id)
{
    const auto it = marks.find(id);
    if (it == marks.end() || it->row->removed)
        return -1;
    const bool keyed = it->key.isValid() && !it->key.isNull();
    if (keyed && gone.contains(it->key.toLongLong()))
        return -1;
    const auto same = [&](const RowPtr &r) { return r && (r == it->row || (keyed && r->key == it->key)); };
    if (same(baseRow(it->base)))
        return viewOfBase(it->base);
    // Rows moved (deleted or inserted above it): look for it.
    for (int b = 0; RowPtr r = baseRow(b); ++b) {
        if (same(r)) {
            it->base = b;
            return viewOfBase(b);
        }
    }
    return -1;
}

// ============================================================================
// TField

TField::TField(TDataSet *dataSet, const Schema::Column &column, int resultIndex)
    : m_dataSet(dataSet),
      m_column(column),
      m_resultIndex(resultIndex),
      m_visible(!column.hidden),
      m_readOnly(column.readOnly)
{
}

QString TField::DisplayLabel() const
{
    return m_column.label.isEmpty() ? m_column.name : m_column.label;
}

bool TField::IsString() const
{
    return m_column.isText();
}

bool TField::IsDateTime() const
{
    return m_column.type == ColumnType::Date;
}

QVariant TField::Value() const
{
    return m_dataSet->d->currentValue(m_index);
}

QVariant TField::OldValue() const
{
    return m_dataSet->d->oldValue(m_index);
}

void TField::SetValue(const QVariant &value)
{
    m_dataSet->d->setValue(m_index, value);
}

void TField::Clear()
{
    SetValue(QVariant());
}

bool TField::IsNull() const
{
    const QVariant v = Value();
    return !v.isValid() || v.isNull();
}

QString TField::AsString() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return {};
    switch (DataType()) {
    case ColumnType::Boolean: return v.toBool() ? u"1"_s : u"0"_s;
    case ColumnType::Date: return v.toDate().toString(Qt::ISODate);
    case ColumnType::Blob: return {};
    default: return v.toString();
    }
}

int TField::AsInteger() const
{
    const QVariant v = Value();
    switch (DataType()) {
    case ColumnType::Boolean: return v.toBool() ? 1 : 0;
    case ColumnType::Money: return int(v.toDouble());
    default: return v.toString().trimmed().toInt();
    }
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (DataType() == ColumnType::Boolean)
        return v.toBool();
    if (IsString())
        return boolFromText(v.toString()).value_or(false);
    return v.toLongLong() != 0;
}

QDate TField::AsDate() const
{
    const QVariant v = Value();
    return v.isValid() ? dateOf(v) : QDate();
}

// ============================================================================
// TDataSet

TDataSet::TDataSet(TDurEzeConn &conn, const QString &name, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>(*this)), m_conn(conn)
{
    setObjectName(name);
}

TDataSet::~TDataSet() = default;

void TDataSet::SetSQL(const QString &sql)
{
    Close();
    m_sql = sql;
}

void TDataSet::Open()
{
    if (Active())
        return;
    try {
        d->openResult();
        m_state = TDataSetState::Browse;
        d->applyFilter();
    } catch (...) {
        m_state = TDataSetState::Inactive;
        d->clearRows();
        emit RowsReset();  // the fields may have been rebuilt before the failure
        throw;
    }
    const bool any = d->rowAt(0) != nullptr;
    m_current = any ? 0 : -1;
    m_bof = true;
    m_eof = !any;
    emit RowsReset();
    emit StateChanged(m_state);
    emit Opened();
    emit CurrentChanged(m_current);
    emit DataChanged();
}

void TDataSet::Close()
{
    if (!Active())
        return;
    d->clearRows();
    m_state = TDataSetState::Inactive;
    m_current = -1;
    m_bof = m_eof = true;
    emit RowsReset();
    emit StateChanged(m_state);
    emit Closed();
    emit CurrentChanged(m_current);
    emit DataChanged();
}

void TDataSet::Reopen()
{
    Close();
    Open();
}

bool TDataSet::Active() const
{
    return m_state != TDataSetState::Inactive;
}

QString TDataSet::UpdateTable() const
{
    if (!m_updateTable.isEmpty())
        return m_updateTable;
    const SqlShape shape = analyseSql(m_sql);
    if (shape.aggregated || shape.source.isEmpty())
        return {};
    if (const Schema::View *v = Schema::FindView(shape.source))
        return v->baseTable;
    if (const Schema::Table *t = Schema::FindTable(shape.source))
        return t->name;
    return shape.source;
}

void TDataSet::SetUpdateTable(const QString &table)
{
    m_updateTable = table;
}

void TDataSet::SetPersistentFields(const QList<Schema::Column> &columns)
{
    Close();
    m_persistent = columns;
    d->fields.clear();
    for (int i = 0; i < columns.size(); ++i) {
        d->fields.push_back(std::make_unique<TField>(this, columns[i], -1));
        d->fields.back()->m_index = i;
    }
    emit RowsReset();  // views drop the old fields
}

int TDataSet::FieldCount() const
{
    return int(d->fields.size());
}

TField *TDataSet::Field(int index) const
{
    return index >= 0 && index < FieldCount() ? d->fields[index].get() : nullptr;
}

TField *TDataSet::FindField(const QString &name) const
{
    for (const auto &f : d->fields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    if (TField *f = FindField(name))
        return f;
    throw TDbError(u"数据中没有字段“%1”。"_s.arg(name), u"数据集："_s + objectName());
}

QList<TField *> TDataSet::Fields() const
{
    QList<TField *> out;
    for (const auto &f : d->fields)
        out.append(f.get());
    return out;
}

int TDataSet::RecordCount()
{
    return Active() ? d->rowCount() : 0;
}

bool TDataSet::IsEmpty()
{
    return !Active() || !d->rowAt(0);
}

void TDataSet::setCurrent(int row, bool bof, bool eof)
{
    m_bof = bof;
    m_eof = eof;
    if (row == m_current)
        return;
    m_current = row;
    emit CurrentChanged(row);
}

void TDataSet::First()
{
    d->requireActive();
    checkBrowseMode();
    const bool any = d->rowAt(0) != nullptr;
    setCurrent(any ? 0 : -1, true, !any);
}

void TDataSet::Last()
{
    d->requireActive();
    checkBrowseMode();
    const int n = d->rowCount();
    setCurrent(n - 1, n == 0, true);
}

void TDataSet::Next()
{
    d->requireActive();
    checkBrowseMode();
    if (d->rowAt(m_current + 1))
        setCurrent(m_current + 1, false, false);
    else
        m_eof = true;
}

void TDataSet::Prior()
{
    d->requireActive();
    checkBrowseMode();
    if (m_current > 0)
        setCurrent(m_current - 1, false, false);
    else
        m_bof = true;
}

void TDataSet::MoveTo(int row)
{
    d->requireActive();
    checkBrowseMode();
    if (row < 0 || !d->rowAt(row))
        row = row < 0 ? 0 : d->rowCount() - 1;
    const bool empty = !d->rowAt(row);
    setCurrent(empty ? -1 : row, empty, empty);
}

bool TDataSet::Locate(const QString &fieldName, const QVariant &value, bool caseInsensitive)
{
    const TField *f = FieldByName(fieldName);
    d->requireActive();
    checkBrowseMode();
    QVariant wanted;
    try {
        wanted = inputValue(value, *f);
    } catch (const TDbError &) {
        return false;  // a value the field cannot hold is in no row
    }
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int v = 0; RowPtr r = d->rowAt(v); ++v) {
        const QVariant have = d->valueOf(*r, f->Index());
        const bool hit = f->IsString() && have.isValid() && wanted.isValid()
                             ? have.toString().compare(wanted.toString(), cs) == 0
                             : sameValue(have, wanted);
        if (hit) {
            setCurrent(v, false, false);
            return true;
        }
    }
    return false;
}

QVariant TDataSet::RowValue(int row, int fieldIndex)
{
    if (!Active() || fieldIndex < 0 || fieldIndex >= FieldCount())
        return {};
    if (d->editing() && row == m_current)
        return d->buffer.value(fieldIndex);
    const RowPtr r = d->rowAt(row);
    return r ? d->valueOf(*r, fieldIndex) : QVariant();
}

QVariantList TDataSet::SumsOf(const QStringList &fieldNames)
{
    QList<int> indexes;
    for (const QString &name : fieldNames) {
        const TField *f = FieldByName(name);
        const ColumnType t = f->DataType();
        if (t != ColumnType::Integer && t != ColumnType::SmallInt && t != ColumnType::Money)
            throw TDbError(u"“%1”不是数值，不能求和。"_s.arg(f->DisplayLabel()));
        indexes.append(f->Index());
    }
    d->requireActive();
    return d->sumsOf(indexes);
}

QVariant TDataSet::SumOf(const QString &fieldName)
{
    return SumsOf({fieldName}).value(0);
}

TDataSet::TBookmark TDataSet::Bookmark() const
{
    if (!Active() || m_current < 0 || m_state == TDataSetState::Insert)
        return 0;
    const RowPtr row = d->rowAt(m_current);
    if (!row)
        return 0;
    const TBookmark id = (TBookmark(d->generation) << 32) | ++d->nextMark;
    d->marks.insert(id, Mark{row, row->key, d->baseOf(m_current)});
    return id;
}

bool TDataSet::GotoBookmark(TBookmark bookmark)
{
    if (!Active())
        return false;
    checkBrowseMode();
    const int v = d->findMark(bookmark);
    if (v < 0)
        return false;
    setCurrent(v, false, false);
    return true;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const
{
    const auto it = d->marks.constFind(bookmark);
    if (!Active() || it == d->marks.cend() || it->row->removed)
        return false;
    return it->key.isNull() || !d->gone.contains(it->key.toLongLong());
}

// --- editing -------------------------------------------------------------------------------

void TDataSet::checkBrowseMode()
{
    if (!d->editing())
        return;
    if (d->assigned.contains(true))
        Post();
    else
        Cancel();
}

void TDataSet::Append()
{
    d->requireActive();
    checkBrowseMode();
    d->requireWritable();
    const int at = d->rowCount();
    d->returnTo = m_current;
    d->startEdit(std::make_shared<Row>(), QVariantList(qsizetype(d->fields.size())));
    d->insertAt = at;
    m_state = TDataSetState::Insert;
    emit RowInserted(at);
    setCurrent(at, false, false);
    emit StateChanged(m_state);
    emit DataChanged();
    if (AfterInsert)
        AfterInsert(*this);
}

void TDataSet::Edit()
{
    d->requireActive();
    if (m_state != TDataSetState::Browse)
        return;
    d->requireWritable();
    const RowPtr row = d->rowAt(m_current);
    if (!row)
        throw TDbError(u"没有可以修改的记录。"_s);
    if (row->key.isNull() && row->change != Row::Change::Inserted)
        throw TDbError(u"这条记录没有编号，不能修改。"_s);
    d->startEdit(row, d->valuesOf(*row));
    m_state = TDataSetState::Edit;
    emit StateChanged(m_state);
}

void TDataSet::Post()
{
    if (!d->editing())
        throw TDbError(u"数据不在编辑状态，没有可以保存的内容。"_s, u"数据集："_s + objectName());
    // A check that fails throws here: the row keeps its state and its buffer.
    if (BeforePost)
        BeforePost(*this);
    const bool inserted = m_state == TDataSetState::Insert;
    if (m_cachedUpdates)
        d->postToCache(inserted);
    else if (inserted)
        d->postInsert();
    else
        d->postUpdate();
    finishPost(inserted);
}

void TDataSet::finishPost(bool inserted)
{
    const RowPtr row = d->editRow;
    d->dropEdit();
    m_state = TDataSetState::Browse;
    if (inserted && d->visible)
        d->visible->append(d->baseCount() - 1);
    if (d->visible && !d->passes(*row))
        dropFromView(m_current);
    else
        emit RowChanged(m_current);
    emit StateChanged(m_state);
    emit DataChanged();
}

void TDataSet::dropFromView(int row)
{
    d->visible->removeAt(row);
    emit RowRemoved(row);
    clampCurrent();
}

void TDataSet::clampCurrent()
{
    const int n = d->rowCount();
    const int was = m_current;
    m_current = -2;  // forces the signal: the row under the cursor changed
    setCurrent(n == 0 ? -1 : std::clamp(was, 0, n - 1), n == 0, n == 0);
}

void TDataSet::Cancel()
{
    if (m_state == TDataSetState::Insert) {
        const int at = d->insertAt;
        const int back = d->returnTo;
        d->dropEdit();
        m_state = TDataSetState::Browse;
        emit RowRemoved(at);
        const int n = d->rowCount();
        setCurrent(n == 0 ? -1 : std::clamp(back, 0, n - 1), n == 0, n == 0);
    } else if (m_state == TDataSetState::Edit) {
        d->dropEdit();
        m_state = TDataSetState::Browse;
        emit RowChanged(m_current);
    } else {
        return;
    }
    emit StateChanged(m_state);
    emit DataChanged();
}

void TDataSet::Delete()
{
    d->requireActive();
    if (m_state == TDataSetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    d->requireWritable();
    const RowPtr row = d->rowAt(m_current);
    if (!row)
        throw TDbError(u"没有可以删除的记录。"_s);
    if (m_cachedUpdates)
        d->deleteToCache(row, m_current);
    else
        d->writeDelete(*row);
    row->removed = true;
    if (!row->key.isNull())
        d->gone.insert(row->key.toLongLong());
    removeCurrentRow();
}

void TDataSet::removeCurrentRow()
{
    const int v = m_current;
    d->removeBase(d->baseOf(v));
    emit RowRemoved(v);
    const int n = d->rowCount();
    m_current = -2;  // the row under the cursor is another one now
    setCurrent(std::min(v, n - 1), n == 0, n == 0);
    emit DataChanged();
}

void TDataSet::SetCachedUpdates(bool cached)
{
    if (cached == m_cachedUpdates)
        return;
    if (UpdatesPending())
        throw TDbError(u"还有没有保存的修改，不能切换缓存更新方式。"_s, objectName());
    m_cachedUpdates = cached;
}

bool TDataSet::UpdatesPending() const
{
    return !d->changed.isEmpty() || !d->deleted.isEmpty();
}

void TDataSet::ApplyUpdates()
{
    checkBrowseMode();
    if (!UpdatesPending())
        return;
    d->requireWritable();
    d->applyCache();
}

void TDataSet::CancelUpdates()
{
    Cancel();
    if (!UpdatesPending())
        return;
    d->cancelCache();
    d->applyFilter();
    emit RowsReset();
    clampCurrent();
    emit DataChanged();
}

// --- filter ----------------------------------------------------------------------------------

void TDataSet::SetFilter(const QString &filter)
{
    if (filter == m_filterText)
        return;
    m_filterText = filter;
    if (Active() && m_filtered)
        refilter();
}

void TDataSet::SetFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    m_filtered = filtered;
    if (Active())
        refilter();
}

void TDataSet::refilter()
{
    checkBrowseMode();
    try {
        d->applyFilter();
    } catch (...) {
        // A filter that cannot be read filters nothing.
        d->visible.reset();
        d->filter.clear();
        emit RowsReset();
        clampCurrent();
        throw;
    }
    emit RowsReset();
    const bool any = d->rowAt(0) != nullptr;
    m_current = -2;
    setCurrent(any ? 0 : -1, true, !any);
    emit DataChanged();
}

void TDataSet::RequestFocus(TField *field)
{
    emit FocusRequested(field);
}

int TDataSet::CachedRowCount() const
{
    return d->cachedRows + int(d->local.size());
}
