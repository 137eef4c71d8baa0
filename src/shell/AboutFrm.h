#pragma once

// The about box: program, version, the library that holds the right to use
// it, the maker's web pages and the system information tool.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget *parent = nullptr);

    QLabel *lblAppVer = nullptr;
    QLabel *PanCorpName = nullptr;
    QLabel *lblUrl = nullptr;
    QPushButton *btnSysInfo = nullptr;
    QPushButton *BtnOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setUrlHot(bool hot);
};

// Shows the about box modally.
void ShowAbout();
