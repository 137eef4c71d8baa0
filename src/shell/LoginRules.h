#pragma once

// The rules of the login window, callable without it: the list of user
// codes (creating the built-in "Admin" when it is missing), the check of a
// typed name and password, and the refusal messages.

#include <QString>
#include <QStringList>

enum class TLoginOutcome { LoggedIn, BlankName, UnknownUser, LockedUser, WrongPassword };

// The user codes, trimmed, in the database's order. When no code is
// "Admin" (in any letter case) the administrator is created, without a
// password and not locked, and added to the list.
QStringList LoadLoginUserCodes();

// Checks the typed name (untrimmed) and password against Users_tab. On
// success the current-user values are set from the row; a plain-text
// password left by an older database is replaced by its hash first, so
// UserPwd always holds the stored hash, never the typed text.
TLoginOutcome TryLogin(const QString &userCode, const QString &password);

// Shows the refusal's message box ("信息" or "错误"); nothing for LoggedIn.
void ShowLoginRefusal(TLoginOutcome outcome);
