#pragma once

// Which window opens for a function code of the home page (11-55), and for
// the few windows the main window's menus open by name. Each function
// window adds its one line to FunctionWindows.cpp; a code nobody
// registered opens nothing, like a code that is no function at all.

#include <QString>
#include <functional>

class QWidget;

// Creates a new function window (a QDialog, or another widget that is shown
// modally); the caller owns it.
using TWindowFactory = std::function<QWidget *()>;

// Registers the window of a function code; returns the factory it
// replaces (empty when none). Codes that are no function are refused.
TWindowFactory RegisterFunctionWindow(int code, TWindowFactory factory);
// The factory of a function code; empty when the code is no function or
// has no window yet.
TWindowFactory FunctionWindowFactory(int code);

// The same for windows opened by name from the menus ("TBackupDBForm").
TWindowFactory RegisterNamedWindow(const QString &name, TWindowFactory factory);
TWindowFactory NamedWindowFactory(const QString &name);

// True for the two-digit codes of the function table.
bool IsFunctionCode(int code);

// The usual factory: a new window of the class, without a parent.
template <class T>
TWindowFactory MakeWindowFactory()
{
    return [] { return static_cast<QWidget *>(new T); };
}
