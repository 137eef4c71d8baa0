#include "DBControls.h"

#include "data/DataSet.h"
#include "data/Guard.h"

using namespace Qt::StringLiterals;

namespace {

bool editing(const TDataSet *ds)
{
    return ds && (ds->State() == TDataSetState::Edit || ds->State() == TDataSetState::Insert);
}

// The field's text as an edit box shows it.
QString fieldText(const TField *field)
{
    return field ? field->AsString() : QString();
}

} // namespace

// --- TDBControl ---------------------------------------------------------------------------

void TDBControl::bind(QWidget *self, TDataSet *dataSet, const QString &dataField)
{
    m_widget = self;
    m_dataSet = dataSet;
    m_dataField = dataField;
    self->setObjectName(u"DB"_s + dataField);
    if (!dataSet)
        return;
    const auto refresh = [this] { Refresh(); };
    for (auto signal : {&TDataSet::Opened, &TDataSet::Closed, &TDataSet::RowsReset})
        QObject::connect(dataSet, signal, self, refresh);
    QObject::connect(dataSet, &TDataSet::StateChanged, self, refresh);
    QObject::connect(dataSet, &TDataSet::CurrentChanged, self, refresh);
    QObject::connect(dataSet, &TDataSet::FieldChanged, self, [this](TField *field) {
        if (field && field->FieldName().compare(m_dataField, Qt::CaseInsensitive) == 0)
            Refresh();
    });
}

TDataSet *TDBControl::DataSet() const
{
    return m_dataSet;
}

TField *TDBControl::Field() const
{
    return m_dataSet && m_dataSet->Active() ? m_dataSet->FindField(m_dataField) : nullptr;
}

void TDBControl::Refresh()
{
    m_loading = true;
    showValue(Field());
    m_loading = false;
}

bool TDBControl::differs(const TField *field) const
{
    return controlValue().toString() != fieldText(field);
}

void TDBControl::UpdateRecord()
{
    TField *field = Field();
    if (!field || !editing(m_dataSet) || field->ReadOnly() || !differs(field))
        return;
    const QVariant value = controlValue();
    try {
        field->SetValue(value);
    } catch (...) {
        if (m_widget)
            m_widget->setFocus();
        throw;
    }
}

TDBControl *TDBControl::Of(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (auto *control = dynamic_cast<TDBControl *>(w))
            return control;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

QList<TDBControl *> TDBControl::In(QWidget *parent)
{
    QList<TDBControl *> out;
    for (QWidget *w : parent->findChildren<QWidget *>())
        if (auto *control = dynamic_cast<TDBControl *>(w))
            out.append(control);
    return out;
}

// --- TDBEdit ------------------------------------------------------------------------------

TDBEdit::TDBEdit(TDataSet *dataSet, const QString &dataField, QWidget *parent) : QLineEdit(parent)
{
    bind(this, dataSet, dataField);
    connect(this, &QLineEdit::editingFinished, this, [this] { RunGuarded([this] { UpdateRecord(); }); });
    Refresh();
}

void TDBEdit::showValue(const TField *field)
{
    if (field && field->IsString() && field->Size() > 0)
        setMaxLength(field->Size());
    const QString value = fieldText(field);
    if (text() != value)
        setText(value);
}

// --- TDBComboBox --------------------------------------------------------------------------

TDBComboBox::TDBComboBox(TDataSet *dataSet, const QString &dataField, QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    bind(this, dataSet, dataField);
    connect(lineEdit(), &QLineEdit::editingFinished, this,
            [this] { RunGuarded([this] { UpdateRecord(); }); });
    connect(this, &QComboBox::activated, this, [this] { RunGuarded([this] { UpdateRecord(); }); });
    Refresh();
}

void TDBComboBox::SetItems(const QStringList &items)
{
    const QString shown = currentText();
    clear();
    addItems(items);
    setEditText(shown);
}

void TDBComboBox::showValue(const TField *field)
{
    if (field && field->IsString() && field->Size() > 0)
        lineEdit()->setMaxLength(field->Size());
    const QString value = fieldText(field);
    if (currentText() != value)
        setEditText(value);
}

// --- TDBMemo ------------------------------------------------------------------------------

TDBMemo::TDBMemo(TDataSet *dataSet, const QString &dataField, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bind(this, dataSet, dataField);
    Refresh();
}

void TDBMemo::showValue(const TField *field)
{
    const QString value = fieldText(field);
    if (toPlainText() != value)
        setPlainText(value);
}

void TDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    RunGuarded([this] { UpdateRecord(); });
}

// --- TDBCheckBox --------------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(const QString &caption, TDataSet *dataSet, const QString &dataField,
                         QWidget *parent)
    : QCheckBox(caption, parent)
{
    bind(this, dataSet, dataField);
    connect(this, &QCheckBox::clicked, this, [this] { RunGuarded([this] { UpdateRecord(); }); });
    Refresh();
}

void TDBCheckBox::showValue(const TField *field)
{
    setChecked(field && field->AsBoolean());
}

bool TDBCheckBox::differs(const TField *field) const
{
    return field->IsNull() ? isChecked() : field->AsBoolean() != isChecked();
}
