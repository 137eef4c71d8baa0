#include "DataSetModel.h"

#include "DataSet.h"
#include "DbError.h"

#include <QDate>

using namespace Qt::StringLiterals;
using Schema::ColumnType;

TDataSetModel::TDataSetModel(TDataSet *dataSet, QObject *parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet)
{
    connect(dataSet, &TDataSet::RowsReset, this, &TDataSetModel::reset);
    connect(dataSet, &TDataSet::RowInserted, this, &TDataSetModel::rowInserted);
    connect(dataSet, &TDataSet::RowRemoved, this, &TDataSetModel::rowRemoved);
    connect(dataSet, &TDataSet::RowChanged, this, &TDataSetModel::rowChanged);
    connect(dataSet, &TDataSet::RowsChanged, this, &TDataSetModel::allRowsChanged);
    reset();
}

TField *TDataSetModel::FieldAt(int column) const
{
    return m_columns.value(column, nullptr);
}

int TDataSetModel::ColumnOf(const TField *field) const
{
    return int(m_columns.indexOf(field));
}

void TDataSetModel::RefreshColumns()
{
    reset();
}

QString TDataSetModel::DisplayText(const TField *field, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (field->DataType()) {
    case ColumnType::Boolean:
    case ColumnType::Blob: return {};
    case ColumnType::Date: return value.toDate().toString(u"yyyy-MM-dd"_s);
    default: return value.toString();
    }
}

int TDataSetModel::datasetRowCount() const
{
    try {
        return m_dataSet->RecordCount();
    } catch (const std::exception &) {
        return 0;  // the database went away; the window reports it elsewhere
    }
}

void TDataSetModel::reset()
{
    beginResetModel();
    m_columns.clear();
    for (TField *f : m_dataSet->Fields())
        if (f->Visible())
            m_columns.append(f);
    m_rows = datasetRowCount();
    endResetModel();
}

void TDataSetModel::rowInserted(int row)
{
    if (row < 0 || row > m_rows) {
        reset();
        return;
    }
    beginInsertRows({}, row, row);
    ++m_rows;
    endInsertRows();
}

void TDataSetModel::rowRemoved(int row)
{
    if (row < 0 || row >= m_rows) {
        reset();
        return;
    }
    beginRemoveRows({}, row, row);
    --m_rows;
    endRemoveRows();
}

void TDataSetModel::rowChanged(int row)
{
    if (row >= 0 && row < m_rows && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void TDataSetModel::allRowsChanged()
{
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1));
}

int TDataSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TDataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TDataSetModel::data(const QModelIndex &index, int role) const
{
    const TField *field = FieldAt(index.column());
    if (!index.isValid() || !field || index.row() >= m_rows)
        return {};
    if (role == Qt::TextAlignmentRole) {
        const ColumnType t = field->DataType();
        const bool number = t == ColumnType::Integer || t == ColumnType::SmallInt
                            || t == ColumnType::Key || t == ColumnType::Money;
        return QVariant::fromValue(Qt::Alignment(
            (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole)
        return {};
    QVariant value;
    try {
        // Fetches the row's page when the view reaches it.
        value = m_dataSet->RowValue(index.row(), field->Index());
    } catch (const std::exception &) {
        return {};  // a failing read shows an empty cell rather than ending the program
    }
    if (role == Qt::EditRole)
        return value;
    if (role == Qt::CheckStateRole) {
        if (field->DataType() != ColumnType::Boolean)
            return {};
        return int(value.toBool() ? Qt::Checked : Qt::Unchecked);
    }
    return DisplayText(field, value);
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        if (const TField *field = FieldAt(section))
            return field->DisplayLabel();
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
