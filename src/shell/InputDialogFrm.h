#pragma once

// The one-line input dialog: a prompt, an edit box, OK and Cancel.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TInputDialogForm : public QDialog
{
    Q_OBJECT
public:
    explicit TInputDialogForm(QWidget *parent = nullptr);

    QLabel *LblPrompt = nullptr;
    QLineEdit *EditValue = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
};

// Asks for one line of text. Empty caption and prompt keep the dialog's own.
// With OK the edited text is written back and the result is true; with
// Cancel `text` stays as it was.
bool InputText(const QString &caption, const QString &prompt, QString &text);
// The same, starting from `initial` and writing the result to `output`
// (which receives `initial` first).
bool InputText(const QString &caption, const QString &prompt, const QString &initial,
               QString &output);
