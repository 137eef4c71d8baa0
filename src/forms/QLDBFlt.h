#pragma once

// TQLDBFilterDialog: the query builder. A window binds it to its query,
// names the fields that may be searched, runs the dialog, and on OK reopens
// its query with its base SELECT text + " AND " + BuildFilter(). It never
// filters records itself: all selection happens in the database.
//
// The process holds one, the data module's (QueryBuilder()), titled "查询";
// every window clears its conditions before a run.

#include "QLDBFilterRules.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;
class TDataSet;

enum TQLDBFilterDialogOption { dfdOnlyBuildFilter = 0x1 };
Q_DECLARE_FLAGS(TQLDBFilterDialogOptions, TQLDBFilterDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TQLDBFilterDialogOptions)

class TQLDBFilterDialog : public QObject
{
    Q_OBJECT
public:
    explicit TQLDBFilterDialog(QObject *owner = nullptr);

    TDataSet *DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet *dataSet) { m_dataSet = dataSet; }
    // The names of the searchable fields, separated by ";".
    QString FilterFields() const { return m_filterFields; }
    void SetFilterFields(const QString &fields) { m_filterFields = fields; }
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    // Only dfdOnlyBuildFilter exists: the builder makes condition text.
    TQLDBFilterDialogOptions Options = dfdOnlyBuildFilter;

    // The twelve operator names by code.
    static const QStringList &Operators() { return FilterOperatorNames(); }

    // The condition list: kept between runs, cleared by every caller first.
    QList<TFilterCondition> Conditions;

    // Shows the dialog modally. True after OK (or "全部(&L)"), and then
    // Conditions holds the dialog's list; false after cancel, with
    // Conditions unchanged. Without a DataSet it throws.
    bool Execute(QWidget *parent = nullptr);

    // The SQL condition of Conditions.
    virtual QString BuildFilter() const;

    // The searchable fields in the dataset's own field order.
    QList<TField *> SearchableFields() const;

private:
    QPointer<TDataSet> m_dataSet;
    QString m_filterFields;
    QString m_title = QStringLiteral("筛选");
};

// The data module's query builder, titled "查询", building filters only.
TQLDBFilterDialog *QueryBuilder();
