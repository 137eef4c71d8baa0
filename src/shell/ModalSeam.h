#pragma once

// Every modal window of the program is shown through ExecModal (a dialog)
// or ExecModalWindow (any window), so a test can answer it: the installed
// handler gets the window (already built and filled) and returns its
// result as the user would.

#include <QDialog>
#include <functional>

using TModalHandler = std::function<int(QDialog &dialog)>;
using TWindowModalHandler = std::function<int(QWidget &window)>;

// Installs a handler; returns the previous one. Empty = really show.
TModalHandler SetModalHandler(TModalHandler handler);

// Shows the dialog modally (or hands it to the handler); returns the result.
int ExecModal(QDialog &dialog);

// The same for a window that is no dialog (a main-window style function
// window): shown application-modal until it closes; the result is 0.
TWindowModalHandler SetWindowModalHandler(TWindowModalHandler handler);
// A QDialog goes through ExecModal; any other widget through the window
// handler, or its own modal loop.
int ExecModalWindow(QWidget &window);
