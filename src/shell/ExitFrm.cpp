#include "ExitFrm.h"

#include "ModalSeam.h"
#include "PowerControl.h"
#include "ShellPictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TExitForm::TExitForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"ExitForm"_s);
    setWindowTitle(u"退出系统"_s);

    auto *picture = new QLabel(this);
    picture->setPixmap(ExitPicture());
    picture->setAlignment(Qt::AlignTop);
    auto *question = new QLabel(u"您确定要:"_s, this);

    RadExit = new QRadioButton(u"退出系统，返回桌面(&W)"_s, this);
    RadExit->setObjectName(u"RadExit"_s);
    RadExit->setChecked(true);
    RadShutDown = new QRadioButton(u"关闭计算机(&D)"_s, this);
    RadShutDown->setObjectName(u"RadShutDown"_s);
    RadReBoot = new QRadioButton(u"重新启动计算机(&R)"_s, this);
    RadReBoot->setObjectName(u"RadReBoot"_s);

    auto *choices = new QVBoxLayout;
    choices->setSpacing(8);
    choices->addWidget(question);
    choices->addWidget(RadExit);
    choices->addWidget(RadShutDown);
    choices->addWidget(RadReBoot);
    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picture);
    top->addLayout(choices);

    BtnOK = new QPushButton(u"确定(&O)"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    auto *mark = new QLabel(u"Orvella软件"_s, this);
    mark->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mark);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 20, 22, 14);
    layout->addLayout(top);
    layout->addSpacing(14);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int ShowExitDialog()
{
    TExitForm form(QApplication::activeWindow());
    if (ExecModal(form) != QDialog::Accepted)
        return QDialog::Rejected;
    if (form.RadShutDown->isChecked())
        RequestPowerAction(TPowerAction::PowerOff);
    else if (form.RadReBoot->isChecked())
        RequestPowerAction(TPowerAction::Reboot);
    return QDialog::Accepted;
}
