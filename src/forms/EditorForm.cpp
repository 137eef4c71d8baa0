#include "EditorForm.h"

#include "DBControls.h"

#include "data/DataSet.h"
#include "shell/Actions.h"
#include "shell/FunctionWindow.h"
#include "shell/ShellHelpers.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TEditorForm::TEditorForm(const QString &name, const QString &caption, const QString &helpKeyword,
                         TDataSet *dataSet, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint),
      m_dataSet(dataSet), m_helpKeyword(helpKeyword)
{
    setObjectName(name);
    setWindowTitle(caption);

    FieldsLayout = new QFormLayout;
    FieldsLayout->setContentsMargins(12, 12, 12, 6);
    FieldsLayout->setVerticalSpacing(8);
    BtnSave = button(this, u"BtnSave"_s, u"保存(&S)"_s);
    BtnCancel = button(this, u"BtnCancel"_s, u"取消(&C)"_s);
    ButtonsLayout = new QHBoxLayout;
    ButtonsLayout->addStretch();
    ButtonsLayout->addWidget(BtnSave);
    ButtonsLayout->addWidget(BtnCancel);
    if (!helpKeyword.isEmpty()) {
        BtnHelp = button(this, u"BtnHelp"_s, u"帮助(&H)"_s);
        ButtonsLayout->addWidget(BtnHelp);
        OnClicked(BtnHelp, [this] { ShowHelpTopic(m_helpKeyword); });
    }
    m_main = new QVBoxLayout(this);
    m_main->addLayout(FieldsLayout, 1);
    m_main->addLayout(ButtonsLayout);
    SetResizable(false);

    OnClicked(BtnSave, [this] { Save(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    if (dataSet)
        connect(dataSet, &TDataSet::FocusRequested, this, [this](TField *f) { focusField(f); });
    // The dialog sees the keys of its controls first, combo boxes' inner
    // edit boxes included.
    qApp->installEventFilter(this);
}

TEditorForm::~TEditorForm()
{
    qApp->removeEventFilter(this);
}

void TEditorForm::SetResizable(bool resizable)
{
    m_main->setSizeConstraint(resizable ? QLayout::SetDefaultConstraint : QLayout::SetFixedSize);
    setSizeGripEnabled(resizable);
}

template <class Control>
static Control *addRow(QFormLayout *form, QWidget *parent, const QString &label, Control *control)
{
    auto *caption = new QLabel(label, parent);
    caption->setBuddy(control);
    form->addRow(caption, control);
    return control;
}

TDBEdit *TEditorForm::AddEdit(const QString &label, const QString &field)
{
    return addRow(FieldsLayout, this, label, new TDBEdit(m_dataSet, field, this));
}

TDBComboBox *TEditorForm::AddCombo(const QString &label, const QString &field)
{
    return addRow(FieldsLayout, this, label, new TDBComboBox(m_dataSet, field, this));
}

TDBMemo *TEditorForm::AddMemo(const QString &label, const QString &field)
{
    return addRow(FieldsLayout, this, label, new TDBMemo(m_dataSet, field, this));
}

TDBCheckBox *TEditorForm::AddCheck(const QString &caption, const QString &field)
{
    auto *check = new TDBCheckBox(caption, m_dataSet, field, this);
    FieldsLayout->addRow(QString(), check);
    return check;
}

void TEditorForm::UpdateRecords()
{
    for (TDBControl *control : TDBControl::In(this))
        control->UpdateRecord();
}

void TEditorForm::Save()
{
    // The box being typed in hands its text over as the focus leaves it.
    BtnSave->setFocus();
    UpdateRecords();
    m_dataSet->Post();
    AfterSave();
}

void TEditorForm::AfterSave()
{
    accept();
}

void TEditorForm::focusField(TField *field)
{
    if (!field)
        return;
    for (TDBControl *control : TDBControl::In(this)) {
        if (control->DataField().compare(field->FieldName(), Qt::CaseInsensitive) == 0) {
            control->Widget()->setFocus();
            return;
        }
    }
}

bool TEditorForm::handleEnter(QWidget *receiver, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
        BtnSave->click();
        return true;
    }
    // A text box takes Enter as a new line, a button as its click.
    auto *memo = qobject_cast<TDBMemo *>(receiver);
    if ((memo && memo->WantReturns()) || qobject_cast<QAbstractButton *>(receiver))
        return false;
    focusNextChild();
    return true;
}

bool TEditorForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QDialog::eventFilter(watched, event);
    auto *receiver = static_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        && (receiver == this || isAncestorOf(receiver)))
        return handleEnter(receiver, key->modifiers() & ~Qt::KeypadModifier);
    return QDialog::eventFilter(watched, event);
}

int RunEditor(TDataSet *dataSet, TEditMode mode, const TWindowFactory &editor,
              const std::function<void()> &prepare)
{
    if (mode == TEditMode::Append) {
        dataSet->Append();
    } else {
        if (!dataSet->Active() || dataSet->IsEmpty())
            return QDialog::Rejected;
        dataSet->Edit();
    }
    const auto dropUnsaved = [dataSet] {
        if (dataSet->State() == TDataSetState::Edit || dataSet->State() == TDataSetState::Insert)
            dataSet->Cancel();
    };
    try {
        if (prepare)
            prepare();
        const int result = OpenFunctionWindow(editor, -1);
        dropUnsaved();
        return result;
    } catch (...) {
        dropUnsaved();
        throw;
    }
}
