#pragma once

// The quick guide: the basic course of work in five framed groups.

#include <QDialog>

class QLabel;

class TGuideForm : public QDialog
{
    Q_OBJECT
public:
    explicit TGuideForm(QWidget *parent = nullptr);

    QLabel *LblHelp = nullptr;

    // The guide has no topic of its own: the help opens at its contents.
    static QString HelpKeyword() { return {}; }
};

// Shows the guide modally.
void ShowGuide();
