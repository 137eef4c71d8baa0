#include "PwdInputFrm.h"

#include "Actions.h"
#include "ModalSeam.h"
#include "PasswordChange.h"
#include "data/Messages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TPwdInputForm::TPwdInputForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName(u"PwdInputForm"_s);
    setWindowTitle(u"输入密码"_s);

    auto *label = new QLabel(u"请输入密码："_s, this);
    EditPwd = new QLineEdit(this);
    EditPwd->setObjectName(u"EditPwd"_s);
    EditPwd->setEchoMode(QLineEdit::Password);
    EditPwd->setMinimumWidth(220);
    label->setBuddy(EditPwd);

    BtnOK = new QPushButton(u"确定(&O)"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {BtnOK, BtnCancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(label);
    layout->addWidget(EditPwd);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnClicked(BtnOK, [this] { confirm(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditPwd, &QLineEdit::returnPressed, BtnOK, &QPushButton::click);
    EditPwd->setFocus();
}

void TPwdInputForm::confirm()
{
    if (IsCurrentUserPassword(EditPwd->text())) {
        accept();
        return;
    }
    ShowInfo(u"密码错误，请重新输入。"_s);
    EditPwd->clear();
    EditPwd->setFocus();
}

bool AskPassword(QWidget *parent)
{
    TPwdInputForm form(parent);
    return ExecModal(form) == QDialog::Accepted;
}
