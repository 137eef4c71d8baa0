#include "ModPwdFrm.h"

#include "Actions.h"
#include "PasswordChange.h"
#include "ShellHelpers.h"
#include "data/CurrentUser.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit *passwordBox(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(200);
    return edit;
}

} // namespace

TModPwdForm::TModPwdForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(u"ModPwdForm"_s);
    setWindowTitle(u"修改密码"_s);

    EditUserCode = new QLineEdit(CurrentUser().UserCode, this);
    EditUserCode->setObjectName(u"EditUserCode"_s);
    EditUserCode->setEnabled(false);
    EditSourcePwd = passwordBox(this, u"EditSourcePwd"_s);
    EditNewPwd1 = passwordBox(this, u"EditNewPwd1"_s);
    EditNewPwd2 = passwordBox(this, u"EditNewPwd2"_s);

    auto *form = new QFormLayout;
    const std::pair<QString, QLineEdit *> rows[] = {{u"用户名称："_s, EditUserCode},
                                                    {u"原来密码："_s, EditSourcePwd},
                                                    {u"新密码："_s, EditNewPwd1},
                                                    {u"重复新密码："_s, EditNewPwd2}};
    for (const auto &[caption, edit] : rows) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        edit->installEventFilter(this);
    }

    BtnMod = new QPushButton(u"修改(&M)"_s, this);
    BtnMod->setObjectName(u"BtnMod"_s);
    BtnMod->setEnabled(!CurrentUser().UserCode.isEmpty());
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    auto *mark = new QLabel(u"Orvella软件"_s, this);
    mark->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(mark);
    buttons->addStretch();
    // Enter in a box moves on; Enter on a button presses it.
    buttons->addWidget(BtnMod);
    buttons->addWidget(BtnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(form);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnClicked(BtnMod, [this] { modify(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    EditSourcePwd->setFocus();
}

void TModPwdForm::modify()
{
    const TPwdChangeOutcome outcome =
        ChangePassword(EditSourcePwd->text(), EditNewPwd1->text(), EditNewPwd2->text());
    if (outcome == TPwdChangeOutcome::Changed || outcome == TPwdChangeOutcome::UserGone)
        accept();
}

bool TModPwdForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter moves on to the next box, as on paper forms.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TModPwdForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        ShowHelpTopic(u"SysIntro.html"_s);
        return;
    }
    QDialog::keyPressEvent(event);
}
