#include "DataGridModel.h"

#include "data/DataSet.h"

using namespace Qt::StringLiterals;

TDataGridModel::TDataGridModel(TDataSet *dataSet, QObject *parent)
    : TDataSetModel(dataSet, parent)
{
    connect(dataSet, &TDataSet::CurrentChanged, this, &TDataGridModel::currentMoved);
    m_currentRow = dataSet->RecNo();
}

void TDataGridModel::SetFieldText(const QString &fieldName, TFieldText text)
{
    m_fieldTexts.insert(fieldName.toUpper(), std::move(text));
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const TDataGridModel::TFieldText *TDataGridModel::fieldText(int column) const
{
    const TField *field = FieldAt(column);
    if (!field || m_fieldTexts.isEmpty())
        return nullptr;
    const auto it = m_fieldTexts.constFind(field->FieldName().toUpper());
    return it == m_fieldTexts.cend() ? nullptr : &it.value();
}

QString TDataGridModel::CellText(int row, int column) const
{
    const QModelIndex at = index(row, column);
    // One read of the value per cell: a find walks every row of the list.
    const TField *field = FieldAt(column);
    if (field && field->DataType() == Schema::ColumnType::Boolean && !fieldText(column)) {
        const QVariant value = data(at, Qt::EditRole);
        if (!value.isValid() || value.isNull())
            return {};
        return value.toBool() ? u"是"_s : u"否"_s;
    }
    return data(at, Qt::DisplayRole).toString();
}

QVariant TDataGridModel::data(const QModelIndex &index, int role) const
{
    if (const TFieldText *text = fieldText(index.column())) {
        if (role == Qt::CheckStateRole)
            return {};
        if (role == Qt::DisplayRole)
            return (*text)(TDataSetModel::data(index, Qt::EditRole));
    }
    return TDataSetModel::data(index, role);
}

QVariant TDataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator: a marker on the current row, nothing elsewhere,
        // so a million rows need no numbers drawn.
        if (role == Qt::DisplayRole)
            return section == m_currentRow ? u"▶"_s : QString();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    return TDataSetModel::headerData(section, orientation, role);
}

void TDataGridModel::currentMoved(int row)
{
    const int old = std::exchange(m_currentRow, row);
    const int rows = rowCount();
    if (old >= 0 && old < rows)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows)
        emit headerDataChanged(Qt::Vertical, row, row);
}
