#include "LoginFrm.h"

#include "Actions.h"
#include "ExitRules.h"
#include "LoginRules.h"
#include "ModalSeam.h"
#include "ShellHelpers.h"
#include "ShellPictures.h"
#include "UserNameCombo.h"
#include "data/AppPaths.h"
#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/ParManager.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TLoginForm::TLoginForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"LoginForm"_s);
    setWindowTitle(u"用户登录"_s);
    setWindowIcon(ApplicationIcon());
    buildLayout();
    SetAppWindowStyle(this);
    CboUserName->SetSimpleStyle(!ParManager->GetIsShowUserListOnLogin());
    loadUserCodes();
}

void TLoginForm::buildLayout()
{
    ImgLogin = new QLabel(this);
    ImgLogin->setObjectName(u"ImgLogin"_s);
    QPixmap picture;
    if (QFileInfo::exists(u"Login.bmp"_s))
        picture.load(u"Login.bmp"_s);
    ImgLogin->setPixmap(picture.isNull() ? LoginBanner(GetApplicationTitle()) : picture);

    CboUserName = new TUserNameCombo(this);
    CboUserName->setObjectName(u"CboUserName"_s);
    EditPwd = new QLineEdit(this);
    EditPwd->setObjectName(u"EditPwd"_s);
    EditPwd->setEchoMode(QLineEdit::Password);

    auto *form = new QFormLayout;
    form->setContentsMargins(36, 18, 36, 6);
    form->setVerticalSpacing(10);
    auto *lblUser = new QLabel(u"用户名称："_s, this);
    auto *lblPwd = new QLabel(u"用户密码："_s, this);
    lblUser->setBuddy(CboUserName);
    lblPwd->setBuddy(EditPwd);
    form->addRow(lblUser, CboUserName);
    form->addRow(lblPwd, EditPwd);

    BtnLogin = new QPushButton(u"登录(&L)"_s, this);
    BtnLogin->setObjectName(u"BtnLogin"_s);
    BtnCancel = new QPushButton(u"取消(&C)"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    BtnHelp = new QPushButton(u"帮助(&H)"_s, this);
    BtnHelp->setObjectName(u"BtnHelp"_s);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(36, 6, 36, 18);
    buttons->addStretch();
    for (QPushButton *b : {BtnLogin, BtnCancel, BtnHelp}) {
        // Enter belongs to the edit boxes (next field, then log in).
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(ImgLogin);
    outer->addLayout(form);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    OnClicked(BtnLogin, [this] { login(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    OnClicked(BtnHelp, [] { ShowHelpTopic(HelpKeyword()); });
    connect(CboUserName->lineEdit(), &QLineEdit::returnPressed, EditPwd,
            [this] { EditPwd->setFocus(); });
    connect(EditPwd, &QLineEdit::returnPressed, BtnLogin, &QPushButton::click);
}

void TLoginForm::loadUserCodes()
{
    const QStringList codes = LoadLoginUserCodes();
    CboUserName->addItems(codes);
    if (codes.size() == 1) {
        CboUserName->setCurrentIndex(0);
        EditPwd->setFocus();
    } else {
        CboUserName->setCurrentIndex(-1);
        CboUserName->setFocus();
    }
}

void TLoginForm::login()
{
    const TLoginOutcome outcome = TryLogin(CboUserName->currentText(), EditPwd->text());
    if (outcome == TLoginOutcome::LoggedIn) {
        accept();
        return;
    }
    ShowLoginRefusal(outcome);
    if (outcome == TLoginOutcome::WrongPassword) {
        EditPwd->selectAll();
        EditPwd->setFocus();
    } else {
        CboUserName->setFocus();
    }
}

void TLoginForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        BtnCancel->click();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        BtnHelp->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace {

// The closing of the login window, however it closes (also when it could
// not even be built).
struct TAfterLogin {
    ~TAfterLogin()
    {
        try {
            if (DM1)
                DM1->PubQuery->Close();
        } catch (...) {
            // Closing a query that failed to open has nothing left to report.
        }
        if (!CurrentUser().LoggedIn())
            TerminateApplication();
    }
};

} // namespace

bool ShowLogin()
{
    TAfterLogin after;
    TLoginForm form;
    return ExecModal(form) == QDialog::Accepted;
}
