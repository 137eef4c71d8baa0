#pragma once

// The data grid's model: the dataset model with what the grid adds to it —
// texts of the window's choosing for a field's values (the reader's sex as
// 男 or 女), booleans read as 是/否 in prints and exports, and the row
// indicator in the row header that follows the dataset's current row.

#include "data/DataSetModel.h"

#include <QHash>
#include <functional>

class TDataGridModel : public TDataSetModel
{
    Q_OBJECT
public:
    explicit TDataGridModel(TDataSet *dataSet, QObject *parent = nullptr);

    using TFieldText = std::function<QString(const QVariant &value)>;
    // Shows the field's values through `text` (no check box for a boolean).
    void SetFieldText(const QString &fieldName, TFieldText text);

    // The text of a cell as prints, exports and finds read it.
    QString CellText(int row, int column) const;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void currentMoved(int row);
    const TFieldText *fieldText(int column) const;

    QHash<QString, TFieldText> m_fieldTexts;  // by upper-case field name
    int m_currentRow = -1;
};
