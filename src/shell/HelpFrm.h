#pragma once

// The help window: the program's HTML help topics with a contents page,
// back and forward.

#include <QMainWindow>

class QTextBrowser;

class THelpForm : public QMainWindow
{
    Q_OBJECT
public:
    // The one help window of the process, created on first use.
    static THelpForm *Instance();

    // Shows the topic (a file name in the help folder); the contents page
    // when the name is empty or no such topic exists. Over a modal window
    // the help window belongs to it, so it can be read and closed.
    void ShowTopic(const QString &keyword);
    QString CurrentTopic() const;

private:
    explicit THelpForm(QWidget *parent = nullptr);
    void followModalWindow();
    QTextBrowser *m_browser = nullptr;
};
