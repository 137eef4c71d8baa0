#include "QLDBFilterFrm.h"

#include "data/DataSet.h"
#include "data/Messages.h"
#include "shell/Actions.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int LineRole = Qt::UserRole;
constexpr int FieldRole = Qt::UserRole + 1;
constexpr int CodeRole = Qt::UserRole;

// The date format of condition values: the program's short date format.
const QString DateFormat = u"yyyy-MM-dd"_s;

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, bool tabStop)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!tabStop)
        b->setFocusPolicy(Qt::ClickFocus);
    return b;
}

TField *fieldOf(const QVariant &v)
{
    return static_cast<TField *>(v.value<void *>());
}

} // namespace

TQLDBFilterForm::TQLDBFilterForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"QLDBFilterForm"_s);
    setWindowTitle(u"筛选"_s);
    QFont f(u"宋体"_s);
    f.setPointSize(9);
    setFont(f);

    gbFilterConditions = new QGroupBox(u"按以下条件筛选(&T)"_s, this);
    gbFilterConditions->setObjectName(u"gbFilterConditions"_s);
    lbFilter = new QListWidget(gbFilterConditions);
    lbFilter->setObjectName(u"lbFilter"_s);
    lbFilter->setFocusPolicy(Qt::ClickFocus);
    lbFilter->setUniformItemSizes(true);
    btnDelete = button(gbFilterConditions, u"btnDelete"_s, u"删除(&D)"_s, false);
    btnNewConditions = button(gbFilterConditions, u"btnNewConditions"_s, u"新筛选条件(&W)"_s, false);

    gbDefineCondition = new QGroupBox(u"定义多重条件"_s, this);
    gbDefineCondition->setObjectName(u"gbDefineCondition"_s);
    rbAnd = new QRadioButton(u"与(&N)"_s, gbDefineCondition);
    rbAnd->setObjectName(u"rbAnd"_s);
    rbAnd->setChecked(true);
    rbOr = new QRadioButton(u"或(&R)"_s, gbDefineCondition);
    rbOr->setObjectName(u"rbOr"_s);
    cbFields = new QComboBox(gbDefineCondition);
    cbFields->setObjectName(u"cbFields"_s);
    cbFields->setMaxVisibleItems(40);
    cbConditions = new QComboBox(gbDefineCondition);
    cbConditions->setObjectName(u"cbConditions"_s);
    cbConditions->setMaxVisibleItems(12);
    nbValue = new QStackedWidget(gbDefineCondition);
    nbValue->setObjectName(u"nbValue"_s);
    edtValue = new QLineEdit(nbValue);
    edtValue->setObjectName(u"edtValue"_s);
    cbBoolean = new QComboBox(nbValue);
    cbBoolean->setObjectName(u"cbBoolean"_s);
    cbBoolean->addItems({u"是"_s, u"否"_s});
    dtpDate = new QDateEdit(QDate::currentDate(), nbValue);
    dtpDate->setObjectName(u"dtpDate"_s);
    dtpDate->setDisplayFormat(DateFormat);
    dtpDate->setCalendarPopup(true);
    nbValue->addWidget(edtValue);   // "Default"
    nbValue->addWidget(cbBoolean);  // "Boolean"
    nbValue->addWidget(dtpDate);    // "Date"
    btnAddToList = button(gbDefineCondition, u"btnAddToList"_s, u"添加至列表(&A)"_s, true);

    btnOK = button(this, u"btnOK"_s, u"确定(&O)"_s, false);
    BtnAll = button(this, u"BtnAll"_s, u"全部(&L)"_s, false);
    btnCancel = button(this, u"btnCancel"_s, u"取消(&N)"_s, false);

    buildLayout();

    connect(cbFields, &QComboBox::currentIndexChanged, this, &TQLDBFilterForm::FieldChanged);
    connect(lbFilter, &QListWidget::itemDoubleClicked, this, &TQLDBFilterForm::LoadLine);
    OnClicked(btnAddToList, [this] { AddToList(); });
    OnClicked(btnDelete, [this] { DeleteLine(); });
    OnClicked(btnNewConditions, [this] { NewConditions(); });
    OnClicked(btnOK, [this] { Accept(); });
    OnClicked(BtnAll, [this] { AcceptAll(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The form sees the keys before its controls.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);
}

void TQLDBFilterForm::buildLayout()
{
    auto *listButtons = new QVBoxLayout;
    listButtons->addWidget(btnDelete);
    listButtons->addWidget(btnNewConditions);
    listButtons->addStretch();
    auto *top = new QHBoxLayout(gbFilterConditions);
    top->addWidget(lbFilter, 1);
    top->addLayout(listButtons);
    lbFilter->setMinimumSize(360, 120);

    auto *joiners = new QHBoxLayout;
    joiners->addWidget(rbAnd);
    joiners->addWidget(rbOr);
    joiners->addStretch();
    auto *define = new QGridLayout(gbDefineCondition);
    define->addLayout(joiners, 0, 0, 1, 3);
    const QList<QPair<QString, QWidget *>> inputs{
        {u"项目(&I):"_s, cbFields}, {u"条件(&C):"_s, cbConditions}, {u"值(&V):"_s, nbValue}};
    for (int i = 0; i < inputs.size(); ++i) {
        auto *label = new QLabel(inputs[i].first, gbDefineCondition);
        // The value label names the editor on whichever page is showing.
        label->setBuddy(inputs[i].second == nbValue ? static_cast<QWidget *>(edtValue)
                                                    : inputs[i].second);
        define->addWidget(label, 1, i);
        define->addWidget(inputs[i].second, 2, i);
    }
    define->addWidget(btnAddToList, 2, 3);
    define->setColumnStretch(0, 2);
    define->setColumnStretch(1, 1);
    define->setColumnStretch(2, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(BtnAll);
    buttons->addWidget(btnCancel);
    auto *main = new QVBoxLayout(this);
    main->addWidget(gbFilterConditions, 1);
    main->addWidget(gbDefineCondition);
    main->addLayout(buttons);
    setTabOrder(rbAnd, rbOr);
    setTabOrder(rbOr, cbFields);
    setTabOrder(cbFields, cbConditions);
    setTabOrder(cbConditions, edtValue);
    setTabOrder(edtValue, cbBoolean);
    setTabOrder(cbBoolean, dtpDate);
    setTabOrder(dtpDate, btnAddToList);
}

void TQLDBFilterForm::SetFields(const QList<TField *> &fields)
{
    const QSignalBlocker block(cbFields);
    cbFields->clear();
    for (TField *f : fields)
        cbFields->addItem(f->DisplayLabel(), QVariant::fromValue(static_cast<void *>(f)));
    // Every operator until a field narrows them; "等于" selected.
    cbConditions->clear();
    for (int code = 0; code < foCount; ++code)
        cbConditions->addItem(FilterOperatorName(code), code);
    cbConditions->setCurrentIndex(0);
    if (cbFields->count() > 0) {
        cbFields->setCurrentIndex(0);
        FieldChanged();
    }
}

TField *TQLDBFilterForm::SelectedField() const
{
    return cbFields->currentIndex() < 0 ? nullptr : fieldOf(cbFields->currentData());
}

void TQLDBFilterForm::FieldChanged()
{
    const TField *field = SelectedField();
    if (!field)
        return;
    const TFilterFieldRule rule = FilterFieldRule(field->DataType());
    cbConditions->clear();
    for (int code : rule.operators)
        cbConditions->addItem(FilterOperatorName(code), code);
    cbConditions->setEnabled(cbConditions->count() > 0);
    if (cbConditions->count() > 0)
        cbConditions->setCurrentIndex(std::max(0, cbConditions->findData(rule.preselected)));
    nbValue->setCurrentIndex(int(rule.page));
}

void TQLDBFilterForm::SetConditions(const QList<TFilterCondition> &conditions)
{
    lbFilter->clear();
    for (const TFilterCondition &c : conditions)
        appendLine(c);
    redrawLines();
}

TFilterCondition TQLDBFilterForm::conditionOf(const QListWidgetItem *item) const
{
    return {item->data(LineRole).toString(), fieldOf(item->data(FieldRole))};
}

QList<TFilterCondition> TQLDBFilterForm::ConditionList() const
{
    QList<TFilterCondition> out;
    for (int i = 0; i < lbFilter->count(); ++i)
        out.append(conditionOf(lbFilter->item(i)));
    return out;
}

QStringList TQLDBFilterForm::LineTexts() const
{
    QStringList out;
    for (int i = 0; i < lbFilter->count(); ++i)
        out.append(lbFilter->item(i)->text());
    return out;
}

void TQLDBFilterForm::appendLine(const TFilterCondition &condition)
{
    auto *item = new QListWidgetItem(lbFilter);
    item->setData(LineRole, condition.Line);
    item->setData(FieldRole, QVariant::fromValue(static_cast<void *>(const_cast<TField *>(condition.Field))));
}

void TQLDBFilterForm::redrawLines()
{
    // Only the first line goes without its joiner, so deleting one may
    // change how another reads.
    for (int i = 0; i < lbFilter->count(); ++i)
        lbFilter->item(i)->setText(ConditionDisplayText(conditionOf(lbFilter->item(i)), i == 0));
}

QString TQLDBFilterForm::valueText() const
{
    switch (nbValue->currentIndex()) {
    case int(TFilterValuePage::Boolean): return cbBoolean->currentText();
    case int(TFilterValuePage::Date): return dtpDate->date().toString(DateFormat);
    default: return edtValue->text();
    }
}

bool TQLDBFilterForm::AddToList()
{
    TField *field = SelectedField();
    if (!field || cbConditions->count() == 0)
        return false;  // no caller offers such a field
    const bool textPage = nbValue->currentIndex() == int(TFilterValuePage::Default);
    if (textPage && FilterFieldRule(field->DataType()).numeric && !IsValidFilterNumber(edtValue->text())) {
        ShowMessageBox(TMessageKind::Info, u"提示"_s,
                       u"请输入正确的"_s + field->DisplayLabel() + u"。"_s);
        edtValue->setFocus();
        return false;
    }
    const QString line = MakeConditionLine(rbOr->isChecked(), cbConditions->currentData().toInt(),
                                           valueText());
    appendLine({line, field});
    redrawLines();
    lbFilter->setCurrentRow(lbFilter->count() - 1);
    if (QWidget *w = QApplication::focusWidget(); w && isAncestorOf(w))
        focusNextChild();
    return true;
}

void TQLDBFilterForm::DeleteLine()
{
    const int row = lbFilter->currentRow();
    if (row < 0 || !lbFilter->currentItem() || !lbFilter->currentItem()->isSelected())
        return;
    delete lbFilter->takeItem(row);
    redrawLines();
    lbFilter->setCurrentRow(lbFilter->count() - 1);
}

void TQLDBFilterForm::NewConditions()
{
    lbFilter->clear();
}

void TQLDBFilterForm::LoadLine()
{
    const QListWidgetItem *item = lbFilter->currentItem();
    if (!item)
        return;
    const TFilterCondition condition = conditionOf(item);
    const TConditionLine line = ParseConditionLine(condition.Line);
    (line.orJoin ? rbOr : rbAnd)->setChecked(true);
    const int at = cbFields->findData(QVariant::fromValue(static_cast<void *>(const_cast<TField *>(condition.Field))));
    if (at >= 0) {
        const QSignalBlocker block(cbFields);
        cbFields->setCurrentIndex(at);
    }
    FieldChanged();
    const int op = cbConditions->findData(line.code);
    if (op >= 0)
        cbConditions->setCurrentIndex(op);
    switch (nbValue->currentIndex()) {
    case int(TFilterValuePage::Boolean):
        cbBoolean->setCurrentIndex(std::max(0, cbBoolean->findText(line.value)));
        break;
    case int(TFilterValuePage::Date): {
        QDate date = QDate::fromString(line.value, DateFormat);
        if (!date.isValid())
            date = QLocale().toDate(line.value, QLocale::ShortFormat);
        if (date.isValid())
            dtpDate->setDate(date);
        break;
    }
    default: edtValue->setText(line.value);
    }
}

void TQLDBFilterForm::Accept()
{
    if (lbFilter->count() == 0) {
        ShowInfo(u"请先定义查询条件。"_s);
        return;
    }
    accept();
}

void TQLDBFilterForm::AcceptAll()
{
    NewConditions();
    accept();
}

bool TQLDBFilterForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QDialog::eventFilter(watched, event);
    if (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        btnOK->click();
    else if (watched == btnAddToList)
        btnAddToList->click();
    else
        focusNextChild();
    return true;
}
