#pragma once

// TDataSetModel: a dataset as a table for QTableView. Its columns are the
// dataset's visible fields, titled with their labels; its rows are the
// dataset's rows, whose values are asked of the dataset only when a view
// shows them, so a large result is never read whole. It follows the
// dataset's signals: a reset on open, close and filter, inserted and removed
// rows as the dataset appends, cancels and deletes, and changed rows as it
// edits and posts.
//
// Cells show text: dates as yyyy-MM-dd, money as its exact decimal text;
// booleans show no text but a check state (how a window words them, for
// example the reader's sex, is the window's business).

#include <QAbstractTableModel>
#include <QList>

class TDataSet;
class TField;

class TDataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TDataSetModel(TDataSet *dataSet, QObject *parent = nullptr);

    TDataSet *DataSet() const { return m_dataSet; }
    // The field shown in a column; nullptr outside the columns.
    TField *FieldAt(int column) const;
    // The column that shows a field; -1 when it is hidden.
    int ColumnOf(const TField *field) const;
    // Takes up the fields' visibility again (after a column chooser).
    void RefreshColumns();

    // The text a cell shows for a value of the field.
    static QString DisplayText(const TField *field, const QVariant &value);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void reset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void allRowsChanged();
    int datasetRowCount() const;

    TDataSet *m_dataSet;
    QList<TField *> m_columns;
    // The number of rows as last announced, so that insert and remove
    // notifications pair up with what views were told before.
    int m_rows = 0;
};
