#pragma once

// The login window: a user code from Users_tab and its password. Shown
// when the main window first appears and at every "重新登录...".

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TUserNameCombo;

class TLoginForm : public QDialog
{
    Q_OBJECT
public:
    // Fills the user list, creating "Admin" when it is missing.
    explicit TLoginForm(QWidget *parent = nullptr);

    QLabel *ImgLogin = nullptr;
    TUserNameCombo *CboUserName = nullptr;
    QLineEdit *EditPwd = nullptr;
    QPushButton *BtnLogin = nullptr;
    QPushButton *BtnCancel = nullptr;
    QPushButton *BtnHelp = nullptr;

    static QString HelpKeyword() { return QStringLiteral("SysStartup.html"); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void loadUserCodes();
    void login();
};

// Shows the login window modally. Whatever way it closes, nobody logged in
// afterwards ends the program (the first login cancelled); a later cancel
// keeps the user who was logged in. True when a login succeeded.
bool ShowLogin();
