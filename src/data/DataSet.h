#pragma once

// TDataSet: the program's query object. It holds an SQL text, opens it on the
// shared connection, walks its rows (fetched as they are needed, so a million
// titles show their first row at once), edits one row at a time through the
// states browse / edit / insert, and writes each posted row to the base table
// behind it by key, with bound parameters. Persistent fields (name, type,
// size, label, visibility, read-only) come from the schema definition.
//
// Edits made through a view (Books_view, Readers_view) reach the view's base
// table; an UPDATE or DELETE that finds no row, because another workstation
// changed the key away or deleted the row, is a TDbError, never a silent loss.
// With cached updates on, posted changes are kept in memory until
// ApplyUpdates() writes them all in one transaction, or CancelUpdates() drops
// them.

#include "Schema.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class TDurEzeConn;
class TDataSet;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// One field of a dataset: a column of its result, described by the schema.
class TField
{
public:
    TField(TDataSet *dataSet, const Schema::Column &column, int resultIndex);

    TDataSet *DataSet() const { return m_dataSet; }
    const Schema::Column &Column() const { return m_column; }
    QString FieldName() const { return m_column.name; }
    Schema::ColumnType DataType() const { return m_column.type; }
    int Size() const { return m_column.size; }
    // The label, or the field name when the column has none.
    QString DisplayLabel() const;
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsString() const;  // string or memo
    bool IsDateTime() const;

    // The current row's value (the edit buffer in edit and insert state),
    // converted to the field's type: QString, int, bool (Boolean), QDate
    // (Date), QString decimal text (Money), QByteArray (Blob); null when NULL.
    QVariant Value() const;
    // The value when the row was read (null for a row being inserted).
    QVariant OldValue() const;
    // Sets the value; the dataset must be in edit or insert state.
    void SetValue(const QVariant &value);
    void Clear();  // sets NULL
    bool IsNull() const;

    QString AsString() const;  // NULL gives ""; a boolean gives "1" or "0"
    int AsInteger() const;
    bool AsBoolean() const;
    QDate AsDate() const;

    int ResultIndex() const { return m_resultIndex; }
    int Index() const { return m_index; }  // position among the dataset's fields

private:
    friend class TDataSet;

    TDataSet *m_dataSet;
    Schema::Column m_column;
    int m_resultIndex;
    bool m_visible;
    bool m_readOnly;
    int m_index = -1;  // position among the dataset's fields
};

class TDataSet : public QObject
{
    Q_OBJECT
public:
    // A dataset on the connection; `name` is its component name ("BooksQuery").
    TDataSet(TDurEzeConn &conn, const QString &name, QObject *parent = nullptr);
    ~TDataSet() override;

    TDurEzeConn &Connection() const { return m_conn; }

    // --- SQL and opening ---
    QString SQL() const { return m_sql; }
    void SetSQL(const QString &sql);  // closes the dataset first
    void Open();
    void Close();
    void Reopen();  // same SQL; keeps nothing of the old rows
    bool Active() const;
    TDataSetState State() const { return m_state; }

    // The base table that posted rows are written to (for a view, its base
    // table); derived from the SQL's FROM when empty. Empty = read-only.
    // A change takes effect at the next Open().
    QString UpdateTable() const;
    void SetUpdateTable(const QString &table);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Persistent fields: when set, only these columns become fields (in this
    // order), whatever else the SQL returns. Without them every result
    // column is a field, described from the schema where it is known.
    void SetPersistentFields(const QList<Schema::Column> &columns);
    const QList<Schema::Column> &PersistentFields() const { return m_persistent; }

    // --- fields ---
    int FieldCount() const;
    TField *Field(int index) const;
    TField *FindField(const QString &name) const;     // nullptr when absent
    TField *FieldByName(const QString &name) const;   // throws TDbError when absent
    QList<TField *> Fields() const;

    // --- rows ---
    // Number of rows of the result; asked of the database, so no row needs
    // to be read for it. A client-side filter counts the rows that pass.
    int RecordCount();
    bool IsEmpty();
    int RecNo() const { return m_current; }  // 0-based current row; -1 when none
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveTo(int row);  // clamps into the rows
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    // Moves to the first row whose field equals the value (case-insensitive
    // for text when `caseInsensitive`); true when found.
    bool Locate(const QString &fieldName, const QVariant &value, bool caseInsensitive = false);
    // The value of a field in any row (for grids); the row is fetched when needed.
    QVariant RowValue(int row, int fieldIndex);
    // Sums of number or money fields over every row (a grid's footer), in
    // one statement: asked of the database for a large result, so no row
    // needs to be read. Each is a qlonglong for whole numbers, exact decimal
    // text for money, null when no row has a value.
    QVariantList SumsOf(const QStringList &fieldNames);
    QVariant SumOf(const QString &fieldName);

    // Bookmarks identify rows for multi-row selection; they survive moves
    // but not a reopen.
    using TBookmark = qint64;
    TBookmark Bookmark() const;
    bool GotoBookmark(TBookmark bookmark);
    bool BookmarkValid(TBookmark bookmark) const;

    // --- editing ---
    void Append();  // inserts a new row (state Insert) and runs the after-insert hook
    void Insert() { Append(); }
    void Edit();    // state Edit on the current row
    void Post();    // runs the before-post hook, then writes (or caches) the row
    void Cancel();  // drops the edit buffer; an appended row disappears
    void Delete();  // deletes the current row (or caches the deletion)
    // The key the database gave the last inserted row.
    QVariant LastInsertKey() const { return m_lastInsertKey; }

    // Cached updates: posts and deletes are kept until applied or dropped.
    void SetCachedUpdates(bool cached);
    bool CachedUpdates() const { return m_cachedUpdates; }
    bool UpdatesPending() const;
    // Writes every cached change in one transaction of its own (or in the
    // caller's open transaction, when there is one); on failure nothing is
    // written and the cache stays as it was.
    void ApplyUpdates();
    void CancelUpdates();

    // --- client-side filter: "Field=value" conditions joined with AND ---
    void SetFilter(const QString &filter);
    QString Filter() const { return m_filterText; }
    void SetFiltered(bool filtered);
    bool Filtered() const { return m_filtered; }

    // --- hooks: set by the data module; a hook may throw (TSilentAbort for
    // a failed check) to stop the post and keep the row in its state ---
    std::function<void(TDataSet &)> AfterInsert;
    std::function<void(TDataSet &)> BeforePost;

    // A check that failed asks the window to focus the field's control.
    void RequestFocus(TField *field);

    // Rows currently held in memory (a diagnostic for tests and benchmarks:
    // a large result is read in pages, never whole).
    int CachedRowCount() const;

signals:
    void Opened();
    void Closed();
    void StateChanged(TDataSetState state);
    void CurrentChanged(int row);          // the current row moved
    void DataChanged();                     // rows or the current row's values changed
    void FieldChanged(TField *field);      // a field of the edit buffer changed
    void FocusRequested(TField *field);
    // For item models: which rows changed. RecordCount() already holds the
    // new number when one of these arrives.
    void RowsReset();                       // rows replaced wholesale (open, close, filter)
    void RowInserted(int row);
    void RowRemoved(int row);
    void RowChanged(int row);
    void RowsChanged();                     // values of any rows (after applying updates)

private:
    struct Impl;
    std::unique_ptr<Impl> d;

    void checkBrowseMode();
    void setCurrent(int row, bool bof, bool eof);
    void finishPost(bool inserted);
    void removeCurrentRow();
    void dropFromView(int row);
    void clampCurrent();
    void refilter();

    TDurEzeConn &m_conn;
    QString m_sql;
    QString m_updateTable;
    bool m_readOnly = false;
    QList<Schema::Column> m_persistent;
    TDataSetState m_state = TDataSetState::Inactive;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_cachedUpdates = false;
    QString m_filterText;
    bool m_filtered = false;
    QVariant m_lastInsertKey;

    friend class TField;
};
