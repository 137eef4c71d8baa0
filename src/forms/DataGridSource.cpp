#include "DataGridSource.h"

#include "DataGrid.h"

TDataGridSource::TDataGridSource(TDataGrid *grid, bool selectedOnly, const QString &title)
    : m_grid(grid), m_title(title), m_selectedOnly(selectedOnly)
{
    for (int column : grid->VisualColumns())
        if (grid->ColumnVisible(column))
            m_columns.append(column);
    if (selectedOnly)
        m_rows = grid->SelectedRows();
}

QString TDataGridSource::Caption(int column) const
{
    return m_grid->ColumnCaption(m_columns.value(column));
}

bool TDataGridSource::IsNumeric(int column) const
{
    const TField *field = m_grid->FieldAt(m_columns.value(column));
    if (!field)
        return false;
    const Schema::ColumnType t = field->DataType();
    return t == Schema::ColumnType::Integer || t == Schema::ColumnType::SmallInt
           || t == Schema::ColumnType::Key || t == Schema::ColumnType::Money;
}

int TDataGridSource::ColumnWidth(int column) const
{
    return m_grid->columnWidth(m_columns.value(column));
}

int TDataGridSource::RowCount() const
{
    if (!m_grid || !m_grid->GridModel())
        return 0;
    return m_selectedOnly ? int(m_rows.size()) : m_grid->GridModel()->rowCount();
}

QString TDataGridSource::Cell(int row, int column) const
{
    const int modelRow = m_selectedOnly ? m_rows.value(row) : row;
    return m_grid->GridModel()->CellText(modelRow, m_columns.value(column));
}
