#pragma once

// The one declaration of the library database: tables, views, columns with
// their types, sizes, labels and defaults, the indexes that guard the data,
// and the seed rows. The DDL of each database kind, the datasets' persistent
// fields and the schema test are all derived from this.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QList>

namespace Schema {

enum class ColumnType {
    Key,       // auto-increment integer primary key
    String,    // text of at most `size` characters
    Integer,
    SmallInt,
    Boolean,   // 0/1 small integer on every kind
    Date,      // a date (ISO text on SQLite, DATE on PostgreSQL)
    Money,     // exact decimal, precision 19
    Memo,      // unbounded text
    Blob,
};

struct Column {
    QString name;
    ColumnType type = ColumnType::String;
    int size = 0;            // characters, for String
    QString label;           // display label; empty for columns never shown
    QVariant defaultValue;   // database default; invalid = none
    bool hidden = false;     // hidden from grids
    bool readOnly = false;   // never written by the programs

    bool isText() const { return type == ColumnType::String || type == ColumnType::Memo; }
};

struct Table {
    QString name;
    QList<Column> columns;

    const Column *column(const QString &columnName) const;
    QString keyName() const;  // the auto-increment key's name
};

// A view column: a column of a source table (seen through a FROM alias), or
// a computed expression.
struct ViewColumn {
    QString alias;       // alias of the source table in the FROM clause
    Column column;       // name, type, size and label as the view shows it
    QString expression;  // non-empty for a computed column
};

struct View {
    QString name;
    QString baseTable;   // table that edits through the view reach; empty = read-only
    QString fromClause;  // FROM ... (joins), the same on every kind
    QList<ViewColumn> columns;

    QList<Column> plainColumns() const;
};

struct Index {
    QString name;
    QString table;
    QStringList expressions;  // columns (or expressions) in order
    bool unique = false;
    QString where;            // partial-index condition; empty = whole table
};

struct SeedRow {
    QString table;
    QList<QPair<QString, QVariant>> values;
};

const QList<Table> &Tables();
const QList<View> &Views();
const QList<Index> &Indexes();
const QList<SeedRow> &SeedRows();

const Table *FindTable(const QString &name);
const View *FindView(const QString &name);

// The columns of a table or a view (case-insensitive name); empty when unknown.
QList<Column> ColumnsOf(const QString &tableOrView);

// Function codes of the staff program: code, caption.
struct FunctionInfo {
    int code;
    QString caption;
    int category() const { return code / 10; }
};
const QList<FunctionInfo> &Functions();

// Titles of the function categories 1..5.
QString FunctionCategoryName(int category);

} // namespace Schema
