#pragma once

// Leaving the staff program, callable without its windows: whether the main
// window may close, what its closing writes, and the end of the program
// when the first login is cancelled.

#include <functional>

// The main window's close query. When the parameter IsExitConfirm is set,
// `askExit` (the exit dialog) decides: false keeps the window open. An
// error on the way closes the window anyway and is shown.
bool MainWindowMayClose(const std::function<bool()> &askExit);

// The main window's closing: the log entry "退出系统"/"关闭", then the
// connection is closed. An error is shown; the program ends anyway.
void CloseMainSession();

// Asks the application to end once control is back in its event loop
// (the login window's closing with nobody logged in).
void TerminateApplication();
bool TerminationRequested();
// Tests forget an earlier request.
void ClearTerminationRequest();
