#pragma once

// The rules of the query builder, without its dialog: the twelve operators,
// what each field type admits, the condition lines the dialog keeps, and the
// SQL condition those lines become.
//
// A condition line is three pieces separated by ";": the joiner ("0" AND,
// "1" OR; the first line's joiner is never used), the operator code and the
// value as entered. The value ends at its first ";" (NextToken).
//
// Every value reaches the SQL text as a quoted literal (quotes doubled), a
// checked number or a boolean 0/1, so a value can neither end a literal nor
// add to the statement; "%" and "_" typed into a LIKE form stay wildcards.

#include "data/Schema.h"

#include <QList>
#include <QString>
#include <QStringList>

class TField;

// Operator codes: the position in the operator table.
enum TFilterOperator {
    foEqual = 0,
    foNotEqual,
    foGreater,
    foGreaterOrEqual,
    foLess,
    foLessOrEqual,
    foStartsWith,
    foNotStartsWith,
    foEndsWith,
    foNotEndsWith,
    foContains,
    foNotContains,
    foCount
};

// "等于" ... "不包含", by code.
const QStringList &FilterOperatorNames();
QString FilterOperatorName(int code);  // empty for an unknown code

// The value editor the dialog shows for a field.
enum class TFilterValuePage { Default, Boolean, Date };

// What the dialog offers for a field of a type.
struct TFilterFieldRule {
    QList<int> operators;        // the codes it admits, in code order
    TFilterValuePage page = TFilterValuePage::Default;
    int preselected = foEqual;   // -1 when no operator applies
    bool numeric = false;        // typed values must be numbers
};
TFilterFieldRule FilterFieldRule(Schema::ColumnType type);
QList<int> OperatorApplies(Schema::ColumnType type);

// A typed number is valid when it converts to a number other than zero, or
// when its trimmed text is exactly "0" (so "0.0" and an empty box are not).
bool IsValidFilterNumber(const QString &text);

// The literal of a value for the comparison operators (codes 0-5).
QString FormatFilterValue(Schema::ColumnType type, const QString &value);

// One line of the condition list with the field it tests.
struct TFilterCondition {
    QString Line;
    const TField *Field = nullptr;
};

// The pieces of a line.
struct TConditionLine {
    bool orJoin = false;
    int code = foEqual;
    QString value;
};
TConditionLine ParseConditionLine(const QString &line);
QString MakeConditionLine(bool orJoin, int code, const QString &value);

// The text the dialog's list shows for a line: for every line but the first
// "与" or "或", then " label", " operator", " value" and " 。".
QString ConditionDisplayText(const TFilterCondition &condition, bool first);

// The SQL condition of the lines, joined in list order without parentheses;
// " 1=1 " for no lines.
QString BuildFilter(const QList<TFilterCondition> &conditions);
