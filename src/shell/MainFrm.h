#pragma once

// The staff program's main window.

#include <QMainWindow>

class QStatusBar;
class QTextBrowser;

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainForm(QWidget *parent = nullptr);

    // "数据库：<kind> - <name>", with " - @<server>" for a server database.
    static QString DatabaseStatusText();

private:
    QTextBrowser *WBPage = nullptr;
    QStatusBar *StaBarMain = nullptr;
};
