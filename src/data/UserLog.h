#pragma once

// The operation log: who entered and left the system, and every opening and
// closing of a function or edit window, with the workstation's name.

#include <QString>

// Appends one entry under the logged-in user ("<游客>" before login).
// Errors reach the caller.
void WriteUserLog(const QString &winName, const QString &operateContent,
                  const QString &memo = {});
