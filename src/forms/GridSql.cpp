#include "GridSql.h"

#include "data/DataSet.h"
#include "data/Dialect.h"

#include <QDate>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using Schema::ColumnType;

namespace {

// --- reading SQL text ---------------------------------------------------------

// Past the literal, quoted name or comment that starts at `i`; `i` itself
// when none starts there.
qsizetype skipNonCode(QStringView sql, qsizetype i)
{
    const QChar c = sql[i];
    const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
    if (c == u'\'' || c == u'"') {
        for (qsizetype j = i + 1; j < sql.size(); ++j) {
            if (sql[j] != c)
                continue;
            if (j + 1 < sql.size() && sql[j + 1] == c) {
                ++j;  // a doubled quote stays inside
                continue;
            }
            return j + 1;
        }
        return sql.size();
    }
    if (c == u'-' && next == u'-') {
        qsizetype j = i;
        while (j < sql.size() && sql[j] != u'\n' && sql[j] != u'\r')
            ++j;
        return j;
    }
    if (c == u'/' && next == u'*') {
        const qsizetype close = sql.indexOf(u"*/", i + 2);
        return close < 0 ? sql.size() : close + 2;
    }
    return i;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

struct Word {
    QString upper;
    qsizetype pos;
};

// The words outside parentheses, literals and comments.
QList<Word> topLevelWords(QStringView sql)
{
    QList<Word> out;
    int depth = 0;
    qsizetype i = 0;
    while (i < sql.size()) {
        const qsizetype skipped = skipNonCode(sql, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        const QChar c = sql[i];
        if (isWordChar(c)) {
            qsizetype j = i;
            while (j < sql.size() && isWordChar(sql[j]))
                ++j;
            if (depth == 0)
                out.append({sql.mid(i, j - i).toString().toUpper(), i});
            i = j;
            continue;
        }
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        ++i;
    }
    return out;
}

bool hasOwnLimit(const QList<Word> &words, qsizetype from)
{
    for (const Word &w : words)
        if (w.pos > from && (w.upper == u"LIMIT" || w.upper == u"OFFSET" || w.upper == u"FETCH"))
            return true;
    return false;
}

// The end of the parenthesised group that opens at `open`; -1 when it does
// not close.
qsizetype closingParen(QStringView text, qsizetype open)
{
    int depth = 0;
    qsizetype i = open;
    while (i < text.size()) {
        const qsizetype skipped = skipNonCode(text, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (text[i] == u'(')
            ++depth;
        else if (text[i] == u')' && --depth == 0)
            return i + 1;
        ++i;
    }
    return -1;
}

// Where the marker's own term ends in the rest of its line; -1 when the
// term is not one the grid knows.
qsizetype markerTermEnd(QStringView rest)
{
    qsizetype i = 0;
    while (i < rest.size() && rest[i] == u' ')
        ++i;
    if (rest.mid(i).startsWith(u"1=1"))
        return i + 3;
    if (i < rest.size() && rest[i] == u'(')
        return closingParen(rest, i);
    return -1;
}

// --- filter-row values ----------------------------------------------------------

struct Comparison {
    QString op = u"="_s;
    QString value;
};

Comparison splitOperator(const QString &text)
{
    static const QStringList ops{u">="_s, u"<="_s, u"<>"_s, u">"_s, u"<"_s, u"="_s};
    const QString t = text.trimmed();
    for (const QString &op : ops)
        if (t.startsWith(op))
            return {op, t.mid(op.size()).trimmed()};
    return {u"="_s, t};
}

bool isNumber(const QString &text)
{
    static const QRegularExpression number(u"^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"_s);
    return number.match(text).hasMatch();
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression ymd(u"^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"_s);
    static const QRegularExpression compact(u"^(\\d{4})(\\d{2})(\\d{2})$"_s);
    QRegularExpressionMatch m = ymd.match(text);
    if (!m.hasMatch())
        m = compact.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QString containsCondition(const QString &field, const QString &text)
{
    QString pattern = text;
    pattern.replace(u'!', u"!!"_s).replace(u'%', u"!%"_s).replace(u'_', u"!_"_s);
    return u"UPPER("_s + field + u") LIKE UPPER("_s + QuotedStr(u'%' + pattern + u'%')
           + u") ESCAPE '!'"_s;
}

QString booleanCondition(const QString &field, const QString &text, QString *error)
{
    static const QStringList yes{u"是"_s, u"1"_s, u"√"_s};
    static const QStringList no{u"否"_s, u"0"_s};
    if (yes.contains(text))
        return field + u" = 1"_s;
    if (no.contains(text))
        return field + u" = 0"_s;
    *error = u"请输入“是”或“否”。"_s;
    return {};
}

} // namespace

QString FilterRowCondition(const TField &field, const QString &typed, QString *error)
{
    error->clear();
    // A line break would end the marker line inside a literal.
    QString text = typed;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    if (text.trimmed().isEmpty())
        return {};
    const QString name = field.FieldName();
    const QString label = field.DisplayLabel();
    switch (field.DataType()) {
    case ColumnType::String:
    case ColumnType::Memo: return containsCondition(name, text.trimmed());
    case ColumnType::Boolean: return booleanCondition(name, text.trimmed(), error);
    case ColumnType::Blob: return {};
    case ColumnType::Date: {
        const Comparison c = splitOperator(text);
        const QDate date = parseDate(c.value);
        if (!date.isValid()) {
            *error = u"“%1”不是正确的%2，请按“年-月-日”输入。"_s.arg(c.value, label);
            return {};
        }
        return name + u' ' + c.op + u' ' + QuotedStr(date.toString(u"yyyy-MM-dd"_s));
    }
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt:
    case ColumnType::Money: {
        const Comparison c = splitOperator(text);
        if (!isNumber(c.value)) {
            *error = u"“%1”不是正确的%2，请输入数字。"_s.arg(c.value, label);
            return {};
        }
        return name + u' ' + c.op + u' ' + c.value;
    }
    }
    return {};
}

QString JoinFilterRow(const QStringList &conditions)
{
    QStringList parts;
    for (const QString &c : conditions)
        if (!c.isEmpty())
            parts.append(c);
    return parts.isEmpty() ? u"1=1"_s : parts.join(u" AND "_s);
}

QString ApplyGridFilter(const QString &sql, const QString &marker, const QString &condition,
                        bool *found)
{
    if (found)
        *found = false;
    if (marker.isEmpty())
        return sql;
    qsizetype start = 0;
    while (start <= sql.size()) {
        qsizetype end = start;
        while (end < sql.size() && sql[end] != u'\r' && sql[end] != u'\n')
            ++end;
        if (QStringView(sql).mid(start, end - start).startsWith(marker, Qt::CaseInsensitive)) {
            if (found)
                *found = true;
            const QStringView rest = QStringView(sql).mid(start + marker.size(),
                                                          end - start - marker.size());
            const qsizetype termEnd = markerTermEnd(rest);
            // A term the grid does not know is kept after the new one.
            QString tail = termEnd < 0 ? u" AND "_s + rest.toString()
                                       : rest.mid(termEnd).toString();
            if (tail.trimmed().isEmpty())
                tail.clear();
            const QString line = marker + u" ("_s + condition + u')' + tail;
            return sql.left(start) + line + sql.mid(end);
        }
        start = end + 1;
    }
    return sql;
}

qsizetype TrailingOrderBy(const QString &sql)
{
    const QList<Word> words = topLevelWords(sql);
    for (qsizetype k = words.size() - 2; k >= 0; --k) {
        if (words[k].upper == u"ORDER" && words[k + 1].upper == u"BY")
            return hasOwnLimit(words, words[k].pos) ? -1 : words[k].pos;
    }
    return -1;
}

QString ApplyGridSort(const QString &sql, const QList<TGridSortColumn> &sort)
{
    if (sort.isEmpty())
        return sql;
    QStringList terms;
    for (const TGridSortColumn &c : sort)
        terms.append(c.FieldName + (c.Descending ? u" DESC"_s : QString()));
    const QString orderBy = u"\rORDER BY "_s + terms.join(u", "_s);
    QString body = sql.trimmed();
    while (body.endsWith(u';'))
        body = body.chopped(1).trimmed();
    if (hasOwnLimit(topLevelWords(body), -1))
        return u"SELECT * FROM (\r"_s + body + u"\r) vm_s"_s + orderBy;
    const qsizetype own = TrailingOrderBy(body);
    if (own >= 0)
        body = body.left(own).trimmed();
    return body + orderBy;
}

QString FooterSumText(ColumnType type, const QVariant &sum)
{
    if (!sum.isValid() || sum.isNull())
        return type == ColumnType::Money ? u"0.00"_s : u"0"_s;
    if (type != ColumnType::Money) {
        const bool whole = sum.typeId() != QMetaType::Double;
        return whole ? sum.toString() : QString::number(sum.toDouble(), 'f', 0);
    }
    // Exact decimal text when the database gives one (PostgreSQL); SQLite
    // adds money as binary fractions, so those are rounded to the cent.
    QString text = sum.typeId() == QMetaType::Double ? QString::number(sum.toDouble(), 'f', 2)
                                                     : sum.toString();
    if (!text.contains(u'.'))
        text += u".00"_s;
    const qsizetype point = text.indexOf(u'.');
    while (text.size() - point - 1 > 2 && text.endsWith(u'0'))
        text.chop(1);
    while (text.size() - point - 1 < 2)
        text += u'0';
    return text;
}
