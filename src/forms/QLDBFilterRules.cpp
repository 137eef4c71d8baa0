#include "QLDBFilterRules.h"

#include "data/DataSet.h"
#include "data/Dialect.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using Schema::ColumnType;

namespace {

bool isNumberType(ColumnType type)
{
    return type == ColumnType::Key || type == ColumnType::Integer || type == ColumnType::SmallInt
           || type == ColumnType::Money;
}

// A number as SQL writes it; blanks around it are harmless.
bool looksLikeNumber(const QString &text)
{
    static const QRegularExpression number(
        u"^\\s*[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?\\s*$"_s);
    return number.match(text).hasMatch();
}

// The piece of `line` from `pos` to the next ";" (or the end); `pos` moves
// past that ";".
QString nextToken(const QString &line, qsizetype &pos)
{
    const qsizetype end = line.indexOf(u';', pos);
    const QString token = line.mid(pos, end < 0 ? -1 : end - pos);
    pos = end < 0 ? line.size() : end + 1;
    return token;
}

QString comparison(const QString &field, int code, const QString &value, ColumnType type)
{
    const QString literal = code <= foLessOrEqual ? FormatFilterValue(type, value) : QString();
    switch (code) {
    case foEqual: return field + u" = "_s + literal;
    case foNotEqual: return field + u" <> "_s + literal;
    case foGreater: return field + u" >"_s + literal;
    case foGreaterOrEqual: return field + u" >= "_s + literal;
    case foLess: return field + u" < "_s + literal;
    case foLessOrEqual: return field + u" <= "_s + literal;
    // The LIKE forms quote the whole pattern: a quote in the value is
    // doubled, while "%" and "_" keep their meaning.
    case foStartsWith: return field + u" LIKE "_s + QuotedStr(value + u'%');
    case foNotStartsWith: return field + u" NOT LIKE "_s + QuotedStr(value + u'%');
    case foEndsWith: return field + u" LIKE "_s + QuotedStr(u'%' + value);
    case foNotEndsWith: return field + u" NOT LIKE "_s + QuotedStr(u'%' + value);
    case foContains: return field + u" LIKE "_s + QuotedStr(u'%' + value + u'%');
    case foNotContains: return field + u" NOT LIKE "_s + QuotedStr(u'%' + value + u'%');
    default: return {};
    }
}

} // namespace

const QStringList &FilterOperatorNames()
{
    static const QStringList names{u"等于"_s,   u"不等于"_s,     u"大于"_s,   u"大于或等于"_s,
                                   u"小于"_s,   u"小于或等于"_s, u"始于"_s,   u"并非起始于"_s,
                                   u"止于"_s,   u"并非结束于"_s, u"包含"_s,   u"不包含"_s};
    return names;
}

QString FilterOperatorName(int code)
{
    return FilterOperatorNames().value(code);
}

TFilterFieldRule FilterFieldRule(ColumnType type)
{
    TFilterFieldRule rule;
    QList<int> all;
    for (int code = 0; code < foCount; ++code)
        all.append(code);
    const QList<int> comparisons = all.mid(0, foLessOrEqual + 1);
    switch (type) {
    case ColumnType::String:
    case ColumnType::Memo:
        rule.operators = all;
        rule.preselected = foContains;
        break;
    case ColumnType::Blob:  // like the untyped fields: text page, "等于"
        rule.operators = all;
        break;
    case ColumnType::Key:
    case ColumnType::Integer:
    case ColumnType::SmallInt:
    case ColumnType::Money:
        rule.operators = comparisons;
        rule.numeric = true;
        break;
    case ColumnType::Date:
        rule.operators = comparisons;
        rule.page = TFilterValuePage::Date;
        break;
    case ColumnType::Boolean:
        rule.operators = {foEqual, foNotEqual};
        rule.page = TFilterValuePage::Boolean;
        break;
    }
    return rule;
}

QList<int> OperatorApplies(ColumnType type)
{
    return FilterFieldRule(type).operators;
}

bool IsValidFilterNumber(const QString &text)
{
    if (text.trimmed() == u"0"_s)
        return true;
    return looksLikeNumber(text) && text.trimmed().toDouble() != 0.0;
}

QString FormatFilterValue(ColumnType type, const QString &value)
{
    if (type == ColumnType::Boolean)
        return value == u"是"_s ? u"1"_s : u"0"_s;
    // A number goes in as typed; anything else, even for a number field
    // (a line not made by the dialog), only as a quoted literal.
    if (isNumberType(type) && looksLikeNumber(value))
        return value;
    return QuotedStr(value);
}

TConditionLine ParseConditionLine(const QString &line)
{
    qsizetype pos = 0;
    TConditionLine out;
    out.orJoin = nextToken(line, pos) != u"0"_s;
    bool ok = false;
    out.code = nextToken(line, pos).toInt(&ok);
    if (!ok)
        out.code = -1;
    out.value = nextToken(line, pos);
    return out;
}

QString MakeConditionLine(bool orJoin, int code, const QString &value)
{
    return (orJoin ? u"1;"_s : u"0;"_s) + QString::number(code) + u';' + value;
}

QString ConditionDisplayText(const TFilterCondition &condition, bool first)
{
    const TConditionLine line = ParseConditionLine(condition.Line);
    QString text;
    if (!first)
        text = line.orJoin ? u"或"_s : u"与"_s;
    const QString label = condition.Field ? condition.Field->DisplayLabel() : QString();
    return text + u' ' + label + u' ' + FilterOperatorName(line.code) + u' ' + line.value
           + u" 。"_s;
}

QString BuildFilter(const QList<TFilterCondition> &conditions)
{
    if (conditions.isEmpty())
        return u" 1=1 "_s;
    QString sql;
    for (const TFilterCondition &c : conditions) {
        if (!c.Field)
            continue;  // the dialog never makes a line without its field
        const TConditionLine line = ParseConditionLine(c.Line);
        if (!sql.isEmpty())
            sql += line.orJoin ? u" OR "_s : u" AND "_s;
        sql += comparison(c.Field->FieldName(), line.code, line.value, c.Field->DataType());
    }
    return sql.trimmed();
}
