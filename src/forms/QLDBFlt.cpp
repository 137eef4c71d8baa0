#include "QLDBFlt.h"

#include "QLDBFilterFrm.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbError.h"
#include "shell/ModalSeam.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

TQLDBFilterDialog::TQLDBFilterDialog(QObject *owner) : QObject(owner)
{
    setObjectName(u"QLDBFilterDialog"_s);
}

QList<TField *> TQLDBFilterDialog::SearchableFields() const
{
    QList<TField *> out;
    if (!m_dataSet)
        return out;
    QStringList wanted;
    for (const QString &name : m_filterFields.split(u';', Qt::SkipEmptyParts))
        wanted.append(name.trimmed().toUpper());
    for (const QString &name : std::as_const(wanted))
        m_dataSet->FieldByName(name);  // a name the query lacks is an error, as it should be
    for (TField *f : m_dataSet->Fields())
        if (wanted.contains(f->FieldName().toUpper()))
            out.append(f);
    return out;
}

bool TQLDBFilterDialog::Execute(QWidget *parent)
{
    if (!m_dataSet)
        throw std::logic_error("Missing DataSet property");
    TQLDBFilterForm form(parent);
    form.setWindowTitle(m_title);
    form.SetFields(SearchableFields());
    form.SetConditions(Conditions);
    if (ExecModal(form) != QDialog::Accepted)
        return false;
    Conditions = form.ConditionList();
    return true;
}

QString TQLDBFilterDialog::BuildFilter() const
{
    return ::BuildFilter(Conditions);
}

TQLDBFilterDialog *QueryBuilder()
{
    // Owned by the data module, so it goes with it.
    static QPointer<TQLDBFilterDialog> builder;
    if (!builder || builder->parent() != DM1) {
        builder = new TQLDBFilterDialog(DM1);
        builder->SetTitle(u"查询"_s);
        builder->Options = dfdOnlyBuildFilter;
    }
    return builder;
}
