#pragma once

// The four message boxes of the program: information "信息", warning "警告",
// error (captioned with the application title) and the OK/Cancel question
// "询问". The core only asks; whoever installed the presenter shows them —
// the windows' message boxes in the programs, a recorder in tests.

#include <QString>
#include <functional>

enum class TMessageKind { Info, Warning, Error, Confirm };

// Shows one box and returns the answer (true = OK).
using TMessagePresenter =
    std::function<bool(TMessageKind kind, const QString &caption, const QString &text)>;

// Installs a presenter; returns the previous one. Without any, boxes are
// written to standard error and a question is answered Cancel.
TMessagePresenter SetMessagePresenter(TMessagePresenter presenter);

// With `abort` set the current operation ends silently (TSilentAbort) after
// the box closes.
void ShowInfo(const QString &text, bool abort = false);
void ShowWarning(const QString &text, bool abort = false);
void ShowError(const QString &text, bool abort = false);
bool AskConfirm(const QString &text);
// A box with its own caption (the login's "错误" boxes); returns the answer.
bool ShowMessageBox(TMessageKind kind, const QString &caption, const QString &text);
