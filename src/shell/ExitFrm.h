#pragma once

// The exit dialog: leave the program only, or also switch the computer off
// or restart it.

#include <QDialog>

class QPushButton;
class QRadioButton;

class TExitForm : public QDialog
{
    Q_OBJECT
public:
    explicit TExitForm(QWidget *parent = nullptr);

    QRadioButton *RadExit = nullptr;
    QRadioButton *RadShutDown = nullptr;
    QRadioButton *RadReBoot = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
};

// Shows the exit dialog and acts on the choice: with OK and "关闭计算机" or
// "重新启动计算机" the computer is asked to switch off or restart (a refusal
// is shown). Returns QDialog::Accepted (the program ends) or Rejected.
int ShowExitDialog();
