#pragma once

// TDataGrid: the grid of every list window. A read-only table over a dataset
// with the visible fields' labels as titles, whole-row highlight and
// multi-row selection (Ctrl, Shift, dragging over the row headers) that the
// window walks by bookmarks.
//
// Everything that touches many rows happens in the database: clicking a
// title reorders the SQL (Ctrl+click adds a column to the sort), the filter
// row rewrites the marker line of the SQL, and the footer's sums are one
// SUM query, so the grid stays quick on a million rows that are fetched only
// as they scroll into view.
//
// Double-click and Enter run the window's modify action; cut-off cell texts
// show whole as tooltips; a double click on a title border fits the column.
// A window may let the user tick chosen boolean columns (the rights editor);
// every other cell stays read-only.

#include "DataGridModel.h"
#include "GridSql.h"

#include "data/DataSet.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QTableView>

class QAction;
class TGridFooter;
class TGridTitleHeader;

class TDataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit TDataGrid(QWidget *parent = nullptr);
    explicit TDataGrid(TDataSet *dataSet, QWidget *parent = nullptr);
    ~TDataGrid() override;

    void SetDataSet(TDataSet *dataSet);
    TDataSet *DataSet() const { return m_dataSet; }
    TDataGridModel *GridModel() const { return m_model; }
    TGridTitleHeader *TitleHeader() const { return m_header; }
    // The field shown in a (model) column; nullptr outside the columns.
    TField *FieldAt(int column) const;
    // The column that shows the field; -1 when it has none.
    int ColumnOf(const QString &fieldName) const;
    // Shows the field's values through `text` (for example 男/女 for a sex).
    void SetFieldText(const QString &fieldName, TDataGridModel::TFieldText text);

    // --- check-box columns ---
    // The boolean fields the user ticks: a click on the cell, or Space on
    // the current cell, turns the value round and writes it through the
    // dataset (Edit, then Post), so the dataset's checks and its error for a
    // row another workstation changed apply. Read-only fields stay as they
    // are. Replaces the previous list.
    void SetCheckColumns(const QStringList &fieldNames);
    QStringList CheckColumns() const { return m_checkFields; }
    bool IsCheckColumn(int column) const;
    // Turns the cell's value round and posts the row; false when the cell
    // takes no tick. On a failed write the row is as before and the
    // TDbError goes on to the caller.
    bool ToggleCheckCell(const QModelIndex &index);

    // --- opening ---
    // Opens the dataset on `sql` with the filter row's conditions and the
    // sort that the user has set, which stay. (A window that opens the
    // dataset itself starts the grid afresh: no filter texts, no sort.)
    void OpenSql(const QString &sql);
    // The SQL as the window gave it, before the grid's filter and sort.
    QString BaseSql() const { return m_baseSql; }
    // The line prefix the filter row rewrites; by default the data module's.
    void SetFilterMarker(const QString &marker) { m_marker = marker; }

    // --- the filter row ---
    void SetFilterRowVisible(bool visible);
    bool FilterRowVisible() const;
    // What is typed under a column (not yet applied until ApplyFilterRow).
    void SetFilterText(const QString &fieldName, const QString &text);
    QString FilterText(const QString &fieldName) const;
    // Takes every column's typed text and reopens. A text a column cannot
    // take shows why, focuses it and changes nothing: false.
    bool ApplyFilterRow();
    void ClearFilterRow();
    // The applied condition; empty when nothing filters.
    QString FilterCondition() const;
    // False when the dataset's SQL has no marker line to rewrite.
    bool CanFilter() const { return m_canFilter; }

    // --- sorting ---
    QList<TGridSortColumn> SortColumns() const { return m_state.sort; }
    void SetSortColumns(const QList<TGridSortColumn> &sort);
    // A click on a column's title: alone it sorts by that column (again:
    // the other way round); with Ctrl it adds the column to the sort, turns
    // it round, and at the third click takes it out.
    void ClickTitle(int column, Qt::KeyboardModifiers modifiers);
    // Off: the titles do not sort, so the list keeps the order of its SQL
    // and shows no sort markers.
    void SetTitleSortEnabled(bool enabled);
    bool TitleSortEnabled() const { return m_titleSort; }

    // --- the footer row ---
    void SetFooterSum(const QString &fieldName);
    void SetFooterText(const QString &fieldName, const QString &text);
    void ClearFooter();
    bool FooterVisible() const;
    QString FooterText(int column) const;
    // Asks the database for the sums again.
    void RefreshFooter();

    // --- selection ---
    // True when rows are selected as rows: several, or one picked with Ctrl
    // or Shift. A plain click only moves the current row.
    bool HasRowSelection() const;
    int SelectedRowCount() const;
    QList<int> SelectedRows() const;  // ascending; empty without a row selection
    // Bookmarks of the selected rows, for a window to walk with GotoBookmark.
    QList<TDataSet::TBookmark> SelectedBookmarks();
    void SelectRows(const QList<int> &rows);
    void ClearRowSelection();

    // --- columns ---
    // The model columns in the order they are shown (hidden ones included).
    QList<int> VisualColumns() const;
    QString ColumnCaption(int column) const;
    bool ColumnVisible(int column) const;
    void SetColumnVisible(int column, bool visible);
    // True when the cell's text is wider than its column (it gets a tooltip).
    bool CellTextCutOff(const QModelIndex &index) const;

    // --- the window's actions ---
    void SetModifyAction(QAction *action) { m_modifyAction = action; }
    QAction *ModifyAction() const { return m_modifyAction; }
    // What double-click and Enter do: run the modify action when it is
    // enabled and visible, and tell RowActivated.
    void ActivateCurrentRow();

    // Keeps the row clear of the footer as well.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    // The current row or the selected rows changed: the window updates its actions.
    void SelectionChanged();
    void RowActivated();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void updateGeometries() override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    struct TState {
        QHash<QString, QString> filterTexts;
        QList<TGridSortColumn> sort;
    };

    void setUp();
    void dataSetOpened();
    void dataSetMovedTo(int row);
    void viewMovedTo(int row);
    void saveColumnLayout();
    void restoreColumnLayout();
    void showSortMarkers();
    void reopenWith(const TState &state);
    QString composeSql(const TState &state) const;
    QString conditionOf(const QHash<QString, QString> &texts) const;
    QString filterMarker() const;
    bool takeFilterRow(bool withMessages);
    int defaultColumnWidth(const TField *field) const;
    QList<QPair<int, int>> selectedRanges() const;
    void placeFooter();
    void scheduleFooter();
    void cellClicked(const QModelIndex &index);

    QPointer<TDataSet> m_dataSet;
    TDataGridModel *m_model = nullptr;
    TGridTitleHeader *m_header = nullptr;
    TGridFooter *m_footer = nullptr;
    QPointer<QAction> m_modifyAction;

    QString m_marker;
    QString m_baseSql;     // the SQL as the window opened it
    QString m_appliedSql;  // the SQL the grid last opened
    TState m_state;
    bool m_canFilter = false;
    bool m_reopening = false;
    bool m_titleSort = true;

    // Footer: sums by field name, fixed texts by field name.
    QStringList m_sumFields;
    QHash<QString, QString> m_footerTexts;
    QHash<QString, QString> m_sums;
    bool m_footerScheduled = false;

    // Column layout kept over model resets, by field name.
    QHash<QString, int> m_widths;
    QSet<QString> m_hidden;
    QHash<QString, QString> m_typed;  // filter editors' texts

    QStringList m_checkFields;  // the check-box columns, by field name
    Qt::KeyboardModifiers m_pressModifiers;  // of the last press: Ctrl/Shift select, not tick

    bool m_syncing = false;  // the grid and the dataset follow each other
    bool m_walking = false;  // walking the selection for bookmarks
    mutable bool m_explicitSelection = false;
};
