#pragma once

// The SQL behind the data grid: what the filter row's texts become, how the
// marker line of a list's SQL takes them, the ORDER BY of the sorted titles,
// and how the footer shows a sum. The grid only rewrites SQL and reopens; selecting,
// sorting and adding up happen in the database, so a million rows cost no
// more on screen than a hundred.

#include "data/Schema.h"

#include <QList>
#include <QString>
#include <QStringList>

class TField;

// The condition of one column's filter-row text; empty for a blank text.
// Text columns: contains (letter case ignored, "%" and "_" taken literally).
// Number and date columns: equal, or the value after a leading ">", ">=",
// "<", "<=", "<>" or "=". Boolean columns: "是" or "否". A text the column
// cannot take gives an empty result and the reason in `error`.
QString FilterRowCondition(const TField &field, const QString &text, QString *error);

// The column conditions joined with AND; "1=1" when there are none.
QString JoinFilterRow(const QStringList &conditions);

// Rewrites the line of `sql` that starts with `marker` (compared without
// regard to letter case): the marker's own term ("1=1" or a parenthesised
// condition) becomes " (" + condition + ")"; whatever follows it on that
// line, such as a find's " AND ..." condition, stays. `found` tells whether
// the SQL has such a line; without one the text comes back unchanged.
QString ApplyGridFilter(const QString &sql, const QString &marker, const QString &condition,
                        bool *found = nullptr);

struct TGridSortColumn {
    QString FieldName;
    bool Descending = false;

    bool operator==(const TGridSortColumn &) const = default;
};

// The SQL ordered by the sort columns: a trailing ORDER BY of its own is
// replaced; an empty sort leaves the text as it is. A text with a LIMIT or
// OFFSET of its own is ordered by wrapping it.
QString ApplyGridSort(const QString &sql, const QList<TGridSortColumn> &sort);

// The position of the trailing top-level ORDER BY; -1 when there is none.
qsizetype TrailingOrderBy(const QString &sql);

// A sum as the footer shows it: integers as they are, money with its
// decimals (at least two).
QString FooterSumText(Schema::ColumnType type, const QVariant &sum);
