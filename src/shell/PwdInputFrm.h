#pragma once

// The password prompt of the lock screen: closes with OK only when the
// logged-in user's password is typed.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TPwdInputForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPwdInputForm(QWidget *parent = nullptr);

    QLineEdit *EditPwd = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;

private:
    void confirm();
};

// Shows the prompt modally; true when it closed with OK.
bool AskPassword(QWidget *parent = nullptr);
