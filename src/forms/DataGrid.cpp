#include "DataGrid.h"

#include "GridFindFrm.h"
#include "GridFooter.h"
#include "GridTitleHeader.h"

#include "data/DMPas.h"
#include "data/Guard.h"
#include "data/Messages.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

using namespace Qt::StringLiterals;
using Schema::ColumnType;

namespace {

QString key(const QString &fieldName)
{
    return fieldName.toUpper();
}

// The hourglass while the database works.
struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TDataGrid::TDataGrid(QWidget *parent) : QTableView(parent)
{
    setUp();
}

TDataGrid::TDataGrid(TDataSet *dataSet, QWidget *parent) : QTableView(parent)
{
    setUp();
    SetDataSet(dataSet);
}

TDataGrid::~TDataGrid() = default;

void TDataGrid::setUp()
{
    setObjectName(u"DBGridEh1"_s);
    m_header = new TGridTitleHeader(this);
    setHorizontalHeader(m_header);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(ExtendedSelection);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setTabKeyNavigation(false);

    // Rows of one height: the row header then needs no measuring, whatever
    // the number of rows, and fitting a column reads only the rows in view.
    QHeaderView *rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->setMinimumSectionSize(fontMetrics().height() + 2);
    rows->setFixedWidth(18);
    rows->setResizeContentsPrecision(0);
    m_header->setResizeContentsPrecision(0);

    connect(m_header, &TGridTitleHeader::TitleClicked, this,
            [this](int column, Qt::KeyboardModifiers mods) {
                RunGuarded([&] { ClickTitle(column, mods); });
            });
    connect(m_header, &TGridTitleHeader::FilterEntered, this,
            [this] { RunGuarded([&] { ApplyFilterRow(); }); });
    connect(m_header, &TGridTitleHeader::FilterPaused, this, [this] {
        // Never under a confirmation or an editor of this window: the rows
        // must not change beneath them (a delete would hit another row, an
        // edit would be dropped). The text is taken once they are gone.
        QWidget *modal = QApplication::activeModalWidget();
        const bool busy = (modal && modal != window())
                          || (m_dataSet && m_dataSet->State() != TDataSetState::Browse
                              && m_dataSet->State() != TDataSetState::Inactive);
        if (busy)
            m_header->PauseAgain();
        else
            RunGuarded([&] { takeFilterRow(false); });
    });
    // A row picked on its row header is selected, as one picked with Ctrl
    // (the view has already selected it when this runs).
    connect(rows, &QHeaderView::sectionPressed, this, [this] {
        m_explicitSelection = true;
        emit SelectionChanged();
    });
    connect(this, &QAbstractItemView::clicked, this, &TDataGrid::cellClicked);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        m_header->PlaceEditors();
        if (m_footer)
            m_footer->update();
    });
}

void TDataGrid::SetDataSet(TDataSet *dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    QItemSelectionModel *oldSelection = selectionModel();
    delete m_model;
    m_model = nullptr;
    m_dataSet = dataSet;
    m_state = {};
    m_baseSql = m_appliedSql = dataSet ? dataSet->SQL() : QString();
    if (!dataSet) {
        setModel(nullptr);
        delete oldSelection;
        return;
    }
    m_model = new TDataGridModel(dataSet, this);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &TDataGrid::saveColumnLayout);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TDataGrid::restoreColumnLayout);
    setModel(m_model);
    delete oldSelection;
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { viewMovedTo(current.row()); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TDataGrid::SelectionChanged);
    connect(dataSet, &TDataSet::Opened, this, &TDataGrid::dataSetOpened);
    connect(dataSet, &TDataSet::CurrentChanged, this, &TDataGrid::dataSetMovedTo);
    for (auto signal : {&TDataSet::RowInserted, &TDataSet::RowRemoved, &TDataSet::RowChanged})
        connect(dataSet, signal, this, &TDataGrid::scheduleFooter);
    connect(dataSet, &TDataSet::RowsChanged, this, &TDataGrid::scheduleFooter);
    connect(dataSet, &TDataSet::StateChanged, this, &TDataGrid::SelectionChanged);
    restoreColumnLayout();
    if (dataSet->Active()) {
        dataSetOpened();
        dataSetMovedTo(dataSet->RecNo());
    }
}

TField *TDataGrid::FieldAt(int column) const
{
    return m_model ? m_model->FieldAt(column) : nullptr;
}

int TDataGrid::ColumnOf(const QString &fieldName) const
{
    if (!m_model)
        return -1;
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (FieldAt(c)->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void TDataGrid::SetFieldText(const QString &fieldName, TDataGridModel::TFieldText text)
{
    if (m_model)
        m_model->SetFieldText(fieldName, std::move(text));
}

// --- check-box columns ---------------------------------------------------------------

void TDataGrid::SetCheckColumns(const QStringList &fieldNames)
{
    m_checkFields = fieldNames;
}

bool TDataGrid::IsCheckColumn(int column) const
{
    const TField *field = FieldAt(column);
    return field && field->DataType() == ColumnType::Boolean
           && m_checkFields.contains(field->FieldName(), Qt::CaseInsensitive);
}

bool TDataGrid::ToggleCheckCell(const QModelIndex &index)
{
    TField *field = index.isValid() ? FieldAt(index.column()) : nullptr;
    if (!field || !IsCheckColumn(index.column()) || field->ReadOnly() || !m_dataSet
        || !m_dataSet->Active() || index.row() >= m_model->rowCount())
        return false;
    if (m_dataSet->RecNo() != index.row())
        m_dataSet->MoveTo(index.row());
    m_dataSet->Edit();
    try {
        field->SetValue(!field->AsBoolean());
        m_dataSet->Post();
    } catch (...) {
        m_dataSet->Cancel();
        throw;
    }
    return true;
}

void TDataGrid::cellClicked(const QModelIndex &index)
{
    // Ctrl and Shift pick rows; only a plain click ticks.
    if (!(m_pressModifiers & (Qt::ControlModifier | Qt::ShiftModifier)) && IsCheckColumn(index.column()))
        RunGuarded([&] { ToggleCheckCell(index); });
}

// --- opening -------------------------------------------------------------------

QString TDataGrid::filterMarker() const
{
    if (!m_marker.isEmpty())
        return m_marker;
    return DM1 ? DM1->GridFilterMarker : u"/*FILTER*/"_s;
}

QString TDataGrid::conditionOf(const QHash<QString, QString> &texts) const
{
    QStringList parts;
    for (int c = 0; m_model && c < m_model->columnCount(); ++c) {
        const QString text = texts.value(key(FieldAt(c)->FieldName()));
        QString error;
        parts.append(FilterRowCondition(*FieldAt(c), text, &error));
    }
    const QString joined = JoinFilterRow(parts);
    return joined == u"1=1"_s ? QString() : joined;
}

QString TDataGrid::FilterCondition() const
{
    return conditionOf(m_state.filterTexts);
}

QString TDataGrid::composeSql(const TState &state) const
{
    QString sql = m_baseSql;
    const QString condition = conditionOf(state.filterTexts);
    if (!condition.isEmpty())
        sql = ApplyGridFilter(sql, filterMarker(), condition);
    return ApplyGridSort(sql, state.sort);
}

void TDataGrid::reopenWith(const TState &state)
{
    if (!m_dataSet)
        return;
    const TState previous = m_state;
    const QString previousSql = m_dataSet->SQL();
    const bool wasOpen = m_dataSet->Active();
    TWaitCursor wait;
    m_reopening = true;
    try {
        m_state = state;
        m_appliedSql = composeSql(state);
        m_dataSet->SetSQL(m_appliedSql);
        m_dataSet->Open();
    } catch (...) {
        // Back to the list as it was; the caller reports the error.
        m_state = previous;
        m_appliedSql = previousSql;
        try {
            m_dataSet->SetSQL(previousSql);
            if (wasOpen)
                m_dataSet->Open();
        } catch (...) {
        }
        m_reopening = false;
        showSortMarkers();
        throw;
    }
    m_reopening = false;
    showSortMarkers();
    RefreshFooter();
}

void TDataGrid::OpenSql(const QString &sql)
{
    const QString previousBase = m_baseSql;
    m_baseSql = sql;
    try {
        reopenWith(m_state);
    } catch (...) {
        m_baseSql = previousBase;
        throw;
    }
}

void TDataGrid::dataSetOpened()
{
    bool found = false;
    ApplyGridFilter(m_dataSet->SQL(), filterMarker(), u"1=1"_s, &found);
    m_canFilter = found;
    for (int c = 0; m_model && c < m_model->columnCount(); ++c) {
        if (QLineEdit *editor = m_header->FilterEditor(c)) {
            editor->setEnabled(found && FieldAt(c)->DataType() != ColumnType::Blob);
            editor->setToolTip(found ? QString() : u"此列表不能按列筛选。"_s);
        }
    }
    if (m_reopening || m_dataSet->SQL() == m_appliedSql) {
        if (!m_reopening)
            RefreshFooter();
        return;
    }
    // The window opened the dataset on SQL of its own: start afresh.
    m_baseSql = m_appliedSql = m_dataSet->SQL();
    m_state = {};
    m_typed.clear();
    for (int c = 0; m_model && c < m_model->columnCount(); ++c)
        m_header->SetFilterText(c, {});
    showSortMarkers();
    RefreshFooter();
}

// --- the filter row ----------------------------------------------------------------

void TDataGrid::SetFilterRowVisible(bool visible)
{
    m_header->SetFilterRowVisible(visible);
    updateGeometries();
}

bool TDataGrid::FilterRowVisible() const
{
    return m_header->FilterRowVisible();
}

void TDataGrid::SetFilterText(const QString &fieldName, const QString &text)
{
    const int c = ColumnOf(fieldName);
    if (c >= 0)
        m_header->SetFilterText(c, text);
}

QString TDataGrid::FilterText(const QString &fieldName) const
{
    const int c = ColumnOf(fieldName);
    return c >= 0 ? m_header->FilterText(c) : QString();
}

bool TDataGrid::takeFilterRow(bool withMessages)
{
    if (!m_dataSet || !m_canFilter)
        return false;
    TState wanted = m_state;
    wanted.filterTexts.clear();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const QString text = m_header->FilterText(c);
        QString error;
        FilterRowCondition(*FieldAt(c), text, &error);
        m_header->MarkFilterError(c, error);
        if (!error.isEmpty()) {
            if (withMessages) {
                ShowInfo(error);
                if (QLineEdit *editor = m_header->FilterEditor(c))
                    editor->setFocus();
            }
            return false;
        }
        if (!text.trimmed().isEmpty())
            wanted.filterTexts.insert(key(FieldAt(c)->FieldName()), text);
    }
    if (conditionOf(wanted.filterTexts) != FilterCondition())
        reopenWith(wanted);
    return true;
}

bool TDataGrid::ApplyFilterRow()
{
    return takeFilterRow(true);
}

void TDataGrid::ClearFilterRow()
{
    for (int c = 0; m_model && c < m_model->columnCount(); ++c)
        m_header->SetFilterText(c, {});
    if (!m_state.filterTexts.isEmpty()) {
        TState wanted = m_state;
        wanted.filterTexts.clear();
        reopenWith(wanted);
    }
}

// --- sorting ---------------------------------------------------------------------

void TDataGrid::SetSortColumns(const QList<TGridSortColumn> &sort)
{
    if (!m_dataSet || sort == m_state.sort)
        return;
    TState wanted = m_state;
    wanted.sort = sort;
    reopenWith(wanted);
}

void TDataGrid::ClickTitle(int column, Qt::KeyboardModifiers modifiers)
{
    const TField *field = FieldAt(column);
    if (!m_titleSort || !field || !m_dataSet || !m_dataSet->Active())
        return;
    QList<TGridSortColumn> sort = m_state.sort;
    const auto it = std::find_if(sort.begin(), sort.end(), [&](const TGridSortColumn &s) {
        return s.FieldName.compare(field->FieldName(), Qt::CaseInsensitive) == 0;
    });
    if (modifiers & Qt::ControlModifier) {
        if (it == sort.end())
            sort.append({field->FieldName(), false});
        else if (!it->Descending)
            it->Descending = true;
        else
            sort.erase(it);
    } else if (sort.size() == 1 && it != sort.end()) {
        it->Descending = !it->Descending;
    } else {
        sort = {{field->FieldName(), false}};
    }
    SetSortColumns(sort);
}

void TDataGrid::SetTitleSortEnabled(bool enabled)
{
    m_titleSort = enabled;
    if (!enabled)
        SetSortColumns({});
}

void TDataGrid::showSortMarkers()
{
    QList<TGridTitleHeader::TSortMarker> markers;
    for (const TGridSortColumn &s : m_state.sort) {
        const int c = ColumnOf(s.FieldName);
        if (c >= 0)
            markers.append({c, s.Descending});
    }
    m_header->SetSortMarkers(markers);
}

// --- the footer ---------------------------------------------------------------------

void TDataGrid::SetFooterSum(const QString &fieldName)
{
    if (!m_sumFields.contains(fieldName, Qt::CaseInsensitive))
        m_sumFields.append(fieldName);
    RefreshFooter();
}

void TDataGrid::SetFooterText(const QString &fieldName, const QString &text)
{
    m_footerTexts.insert(key(fieldName), text);
    RefreshFooter();
}

void TDataGrid::ClearFooter()
{
    m_sumFields.clear();
    m_footerTexts.clear();
    m_sums.clear();
    RefreshFooter();
}

bool TDataGrid::FooterVisible() const
{
    return m_footer && !m_footer->isHidden();
}

QString TDataGrid::FooterText(int column) const
{
    const TField *field = FieldAt(column);
    if (!field)
        return {};
    const QString k = key(field->FieldName());
    return m_sums.contains(k) ? m_sums.value(k) : m_footerTexts.value(k);
}

void TDataGrid::scheduleFooter()
{
    if (m_sumFields.isEmpty() || m_footerScheduled)
        return;
    m_footerScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_footerScheduled = false;
        if (m_dataSet && m_dataSet->State() == TDataSetState::Browse)
            RefreshFooter();
    });
}

void TDataGrid::RefreshFooter()
{
    const bool wanted = !m_sumFields.isEmpty() || !m_footerTexts.isEmpty();
    if (wanted && !m_footer) {
        m_footer = new TGridFooter(this, [this](int column) {
            const TField *field = FieldAt(column);
            const bool sum = field && m_sums.contains(key(field->FieldName()));
            return TGridFooter::TCell{FooterText(column), sum ? Qt::AlignRight : Qt::AlignLeft};
        });
    }
    if (m_footer)
        m_footer->setVisible(wanted);
    m_sums.clear();
    if (!m_sumFields.isEmpty() && m_dataSet && m_dataSet->Active()) {
        QStringList names;
        QList<ColumnType> types;
        for (const QString &name : std::as_const(m_sumFields)) {
            const TField *f = m_dataSet->FindField(name);
            const bool number = f && (f->DataType() == ColumnType::Integer
                                      || f->DataType() == ColumnType::SmallInt
                                      || f->DataType() == ColumnType::Money);
            if (number) {
                names.append(f->FieldName());
                types.append(f->DataType());
            }
        }
        try {
            // Asked of the database for a large list: no row is read for it.
            const QVariantList sums = m_dataSet->SumsOf(names);
            for (int i = 0; i < names.size(); ++i)
                m_sums.insert(key(names[i]), FooterSumText(types[i], sums.value(i)));
        } catch (const std::exception &) {
            // The list itself reports a failing SQL; the footer stays empty.
        }
    }
    updateGeometries();
    if (m_footer)
        m_footer->update();
}

void TDataGrid::placeFooter()
{
    if (!FooterVisible())
        return;
    const int h = m_footer->RowHeight();
    const QRect vp = viewport()->geometry();
    const int left = verticalHeader()->isHidden() ? vp.left() : verticalHeader()->geometry().left();
    m_footer->setGeometry(left, vp.bottom() + 1 - h, vp.right() + 1 - left, h);
    m_footer->raise();
    // The footer covers the bottom of the rows: make room to scroll the last
    // rows above it.
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, verticalHeader()->length() + h - vp.height()));
}

void TDataGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeFooter();
    m_header->PlaceEditors();
}

void TDataGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    if (!FooterVisible() || !index.isValid())
        return;
    const int hiddenBy = visualRect(index).bottom() - (viewport()->height() - m_footer->height());
    if (hiddenBy > 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + hiddenBy);
}

// --- selection -------------------------------------------------------------------------

QItemSelectionModel::SelectionFlags TDataGrid::selectionCommand(const QModelIndex &index,
                                                                const QEvent *event) const
{
    Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    bool decides = true;
    if (event) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
            modifiers = static_cast<const QInputEvent *>(event)->modifiers();
            break;
        default:
            decides = false;  // a drag extends what its press began
        }
    }
    if (decides)
        m_explicitSelection = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    return QTableView::selectionCommand(index, event);
}

QList<QPair<int, int>> TDataGrid::selectedRanges() const
{
    QList<QPair<int, int>> ranges;
    if (!selectionModel())
        return ranges;
    for (const QItemSelectionRange &r : selectionModel()->selection())
        ranges.append({r.top(), r.bottom()});
    std::sort(ranges.begin(), ranges.end());
    QList<QPair<int, int>> merged;
    for (const auto &r : ranges) {
        if (!merged.isEmpty() && r.first <= merged.last().second + 1)
            merged.last().second = std::max(merged.last().second, r.second);
        else
            merged.append(r);
    }
    return merged;
}

int TDataGrid::SelectedRowCount() const
{
    int n = 0;
    for (const auto &r : selectedRanges())
        n += r.second - r.first + 1;
    return n;
}

bool TDataGrid::HasRowSelection() const
{
    const int n = SelectedRowCount();
    return n > 1 || (n == 1 && m_explicitSelection);
}

QList<int> TDataGrid::SelectedRows() const
{
    QList<int> rows;
    if (!HasRowSelection())
        return rows;
    for (const auto &r : selectedRanges())
        for (int row = r.first; row <= r.second; ++row)
            rows.append(row);
    return rows;
}

QList<TDataSet::TBookmark> TDataGrid::SelectedBookmarks()
{
    QList<TDataSet::TBookmark> marks;
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty() || !m_dataSet || !m_dataSet->Active())
        return marks;
    const int current = m_dataSet->RecNo();
    m_walking = true;
    try {
        for (int row : rows) {
            m_dataSet->MoveTo(row);
            marks.append(m_dataSet->Bookmark());
        }
        m_dataSet->MoveTo(current);
    } catch (...) {
        m_walking = false;
        throw;
    }
    m_walking = false;
    return marks;
}

void TDataGrid::SelectRows(const QList<int> &rows)
{
    if (!m_model)
        return;
    QItemSelection selection;
    const int last = m_model->columnCount() - 1;
    for (int row : rows)
        if (row >= 0 && row < m_model->rowCount())
            selection.select(m_model->index(row, 0), m_model->index(row, std::max(0, last)));
    m_explicitSelection = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TDataGrid::ClearRowSelection()
{
    m_explicitSelection = false;
    if (selectionModel())
        selectionModel()->clearSelection();
}

// --- following the dataset -------------------------------------------------------------

void TDataGrid::viewMovedTo(int row)
{
    if (m_syncing || !m_dataSet || !m_dataSet->Active() || row < 0)
        return;
    if (m_dataSet->State() != TDataSetState::Browse || row == m_dataSet->RecNo())
        return;
    m_syncing = true;
    RunGuarded([&] { m_dataSet->MoveTo(row); });
    m_syncing = false;
    emit SelectionChanged();
}

void TDataGrid::dataSetMovedTo(int row)
{
    if (m_syncing || m_walking || !m_model || row < 0 || row >= m_model->rowCount())
        return;
    int column = currentIndex().isValid() ? currentIndex().column() : 0;
    while (column < m_model->columnCount() - 1 && isColumnHidden(column))
        ++column;
    const QModelIndex at = m_model->index(row, column);
    const bool keep = HasRowSelection() && selectionModel()->isRowSelected(row, {});
    m_syncing = true;
    selectionModel()->setCurrentIndex(
        at, keep ? QItemSelectionModel::NoUpdate
                 : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!keep)
        m_explicitSelection = false;
    scrollTo(at);
    m_syncing = false;
    emit SelectionChanged();
}

// --- columns ----------------------------------------------------------------------------

QList<int> TDataGrid::VisualColumns() const
{
    QList<int> columns;
    for (int visual = 0; visual < m_header->count(); ++visual)
        columns.append(m_header->logicalIndex(visual));
    return columns;
}

QString TDataGrid::ColumnCaption(int column) const
{
    return m_model ? m_model->headerData(column, Qt::Horizontal).toString() : QString();
}

bool TDataGrid::ColumnVisible(int column) const
{
    return !isColumnHidden(column);
}

void TDataGrid::SetColumnVisible(int column, bool visible)
{
    const TField *field = FieldAt(column);
    if (!field)
        return;
    if (visible)
        m_hidden.remove(key(field->FieldName()));
    else
        m_hidden.insert(key(field->FieldName()));
    setColumnHidden(column, !visible);
    if (visible && columnWidth(column) == 0)
        setColumnWidth(column, defaultColumnWidth(field));
    if (m_footer)
        m_footer->update();
}

int TDataGrid::defaultColumnWidth(const TField *field) const
{
    int chars = 8;
    switch (field->DataType()) {
    case ColumnType::String: chars = std::clamp(field->Size(), 4, 24); break;
    case ColumnType::Memo: chars = 24; break;
    case ColumnType::Date:
    case ColumnType::Money: chars = 10; break;
    case ColumnType::Boolean: chars = 4; break;
    default: break;
    }
    const QFontMetrics fm = fontMetrics();
    const int title = m_header->fontMetrics().horizontalAdvance(field->DisplayLabel()) + 30;
    return std::max(chars * fm.averageCharWidth() + 12, title);
}

void TDataGrid::saveColumnLayout()
{
    for (int c = 0; m_model && c < m_model->columnCount(); ++c) {
        const QString k = key(FieldAt(c)->FieldName());
        if (!isColumnHidden(c))
            m_widths.insert(k, columnWidth(c));
        if (m_header->FilterEditor(c))
            m_typed.insert(k, m_header->FilterText(c));
    }
}

void TDataGrid::restoreColumnLayout()
{
    for (int c = 0; m_model && c < m_model->columnCount(); ++c) {
        const TField *field = FieldAt(c);
        const QString k = key(field->FieldName());
        setColumnWidth(c, m_widths.value(k, defaultColumnWidth(field)));
        setColumnHidden(c, m_hidden.contains(k));
        m_header->SetFilterText(c, m_typed.value(k));
    }
    showSortMarkers();
}

bool TDataGrid::CellTextCutOff(const QModelIndex &index) const
{
    if (!index.isValid() || !m_model)
        return false;
    const QString text = m_model->data(index, Qt::DisplayRole).toString();
    if (text.isEmpty())
        return false;
    // The room the item delegate gives a text inside its cell.
    const int margin = (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) * 2;
    const int room = columnWidth(index.column()) - (showGrid() ? 1 : 0);
    return fontMetrics().horizontalAdvance(text) + margin > room;
}

// --- keys, mouse, tooltips ------------------------------------------------------------------

void TDataGrid::ActivateCurrentRow()
{
    if (m_modifyAction && m_modifyAction->isEnabled() && m_modifyAction->isVisible())
        m_modifyAction->trigger();
    emit RowActivated();
}

void TDataGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        if (currentIndex().isValid())
            ActivateCurrentRow();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
        && IsCheckColumn(currentIndex().column())) {
        RunGuarded([this] { ToggleCheckCell(currentIndex()); });
        event->accept();
        return;
    }
    // The find-text dialog, unless the window gave Ctrl+F an action of its own.
    if (event->matches(QKeySequence::Find)) {
        ShowGridFindDialog(this);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TDataGrid::mousePressEvent(QMouseEvent *event)
{
    m_pressModifiers = event->modifiers();
    QTableView::mousePressEvent(event);
}

void TDataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        ActivateCurrentRow();
}

bool TDataGrid::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    if (CellTextCutOff(index)) {
        QToolTip::showText(help->globalPos(), m_model->data(index, Qt::DisplayRole).toString(),
                           viewport(), visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}
