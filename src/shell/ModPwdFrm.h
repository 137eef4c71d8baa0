#pragma once

// The password change of the logged-in user.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TModPwdForm : public QDialog
{
    Q_OBJECT
public:
    explicit TModPwdForm(QWidget *parent = nullptr);

    QLineEdit *EditUserCode = nullptr;
    QLineEdit *EditSourcePwd = nullptr;
    QLineEdit *EditNewPwd1 = nullptr;
    QLineEdit *EditNewPwd2 = nullptr;
    QPushButton *BtnMod = nullptr;
    QPushButton *BtnCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void modify();
};
