#pragma once

// Every modal window of the program is shown through ExecModal, so a test
// can answer it: the installed handler gets the dialog (already built and
// filled) and returns its result as the user would.

#include <QDialog>
#include <functional>

using TModalHandler = std::function<int(QDialog &dialog)>;

// Installs a handler; returns the previous one. Empty = really show.
TModalHandler SetModalHandler(TModalHandler handler);

// Shows the dialog modally (or hands it to the handler); returns the result.
int ExecModal(QDialog &dialog);
