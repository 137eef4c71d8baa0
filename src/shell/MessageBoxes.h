#pragma once

// The four message boxes of the program: information "信息", warning "警告",
// error (captioned with the application title) and the OK/Cancel question
// "询问". Every box goes through one seam that tests can answer.

#include <QString>
#include <functional>

enum class TMessageKind { Info, Warning, Error, Confirm };

// What a test installs to answer boxes instead of showing them; it receives
// the kind, caption and text, and returns the answer (true = OK).
using TMessageSeam = std::function<bool(TMessageKind, const QString &caption, const QString &text)>;

// Installs a seam (an empty one restores the real boxes); returns the old one.
TMessageSeam SetMessageSeam(TMessageSeam seam);

// With `abort` set the current operation ends silently after the box closes.
void ShowInfo(const QString &text, bool abort = false);
void ShowWarning(const QString &text, bool abort = false);
void ShowError(const QString &text, bool abort = false);
bool AskConfirm(const QString &text);
