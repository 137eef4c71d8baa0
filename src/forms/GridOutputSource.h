#pragma once

// What a grid's print and exports read: its visible columns (title, width,
// whether they hold numbers) and its rows as the grid shows them. The data
// grid gives one over all its rows or its selected rows; a list held in
// memory gives one for anything else.

#include <QList>
#include <QString>
#include <QStringList>

class TGridOutputSource
{
public:
    virtual ~TGridOutputSource() = default;

    // A title for documents that carry one (the page's <title>, a PDF's heading).
    virtual QString Title() const { return {}; }
    virtual int ColumnCount() const = 0;
    virtual QString Caption(int column) const = 0;
    // Numbers are right-aligned, and written as numbers into workbooks.
    virtual bool IsNumeric(int column) const = 0;
    // The column's width on screen, in pixels: the relative widths on paper.
    virtual int ColumnWidth(int column) const = 0;
    virtual int RowCount() const = 0;
    virtual QString Cell(int row, int column) const = 0;
};

// Rows held in memory.
class TTableOutputSource : public TGridOutputSource
{
public:
    struct Column {
        QString caption;
        bool numeric = false;
        int width = 100;
    };

    QString title;
    QList<Column> columns;
    QList<QStringList> rows;

    QString Title() const override { return title; }
    int ColumnCount() const override { return int(columns.size()); }
    QString Caption(int column) const override { return columns.value(column).caption; }
    bool IsNumeric(int column) const override { return columns.value(column).numeric; }
    int ColumnWidth(int column) const override { return columns.value(column).width; }
    int RowCount() const override { return int(rows.size()); }
    QString Cell(int row, int column) const override { return rows.value(row).value(column); }
};
