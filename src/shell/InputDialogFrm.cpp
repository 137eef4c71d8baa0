#include "InputDialogFrm.h"

#include "ModalSeam.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

TInputDialogForm::TInputDialogForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"InputDialogForm"_s);
    setWindowTitle(u"输入"_s);

    LblPrompt = new QLabel(u"请输入内容："_s, this);
    LblPrompt->setObjectName(u"LblPrompt"_s);
    EditValue = new QLineEdit(this);
    EditValue->setObjectName(u"EditValue"_s);
    EditValue->setMinimumWidth(320);
    LblPrompt->setBuddy(EditValue);
    BtnOK = new QPushButton(u"确定(&O)"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    auto *maker = new QLabel(u"Orvella软件"_s, this);
    maker->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(LblPrompt, 0, 0, 1, 3);
    grid->addWidget(EditValue, 1, 0, 1, 3);
    grid->addWidget(maker, 2, 0);
    grid->addWidget(BtnOK, 2, 1);
    grid->addWidget(BtnCancel, 2, 2);
    grid->setColumnStretch(0, 1);
    setFixedSize(sizeHint());

    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditValue, &QLineEdit::returnPressed, BtnOK, &QPushButton::click);
}

bool InputText(const QString &caption, const QString &prompt, QString &text)
{
    TInputDialogForm dlg;
    if (!caption.isEmpty())
        dlg.setWindowTitle(caption);
    if (!prompt.isEmpty())
        dlg.LblPrompt->setText(prompt);
    dlg.EditValue->setText(text);
    if (ExecModal(dlg) != QDialog::Accepted)
        return false;
    text = dlg.EditValue->text();
    return true;
}

bool InputText(const QString &caption, const QString &prompt, const QString &initial,
               QString &output)
{
    output = initial;
    return InputText(caption, prompt, output);
}
