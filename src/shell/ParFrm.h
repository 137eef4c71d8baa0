#pragma once

// The system parameter window (function 54): the library's settings in the
// one row of Par_tab.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TParForm : public QDialog
{
    Q_OBJECT
public:
    // Opens the row for editing (a new row when the table is empty).
    explicit TParForm(QWidget *parent = nullptr);
    // Closes ParQuery; what was not saved is dropped.
    ~TParForm() override;

    QLineEdit *EditSystemName = nullptr;
    QLineEdit *EditCorpName = nullptr;
    QCheckBox *ChkIsExitConfirm = nullptr;
    QCheckBox *ChkIsShowUserListOnLogin = nullptr;
    QCheckBox *ChkIsMaxBookManager = nullptr;
    QPushButton *BtnSave = nullptr;
    QPushButton *BtnCancel = nullptr;
    QPushButton *BtnHelp = nullptr;

    static QString HelpKeyword() { return QStringLiteral("Par.html"); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void save();
};
