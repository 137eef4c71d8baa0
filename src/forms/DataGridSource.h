#pragma once

// A data grid as prints and exports read it: its shown columns in the order
// they are shown, and all its rows or only its selected rows, each read
// through the grid's model when it is written.

#include "GridOutputSource.h"

#include <QList>
#include <QPointer>

class TDataGrid;

class TDataGridSource : public TGridOutputSource
{
public:
    TDataGridSource(TDataGrid *grid, bool selectedOnly, const QString &title = {});

    QString Title() const override { return m_title; }
    int ColumnCount() const override { return int(m_columns.size()); }
    QString Caption(int column) const override;
    bool IsNumeric(int column) const override;
    int ColumnWidth(int column) const override;
    int RowCount() const override;
    QString Cell(int row, int column) const override;

private:
    QPointer<TDataGrid> m_grid;
    QString m_title;
    QList<int> m_columns;  // model columns
    QList<int> m_rows;     // model rows when only the selected ones
    bool m_selectedOnly;
};
