#pragma once

// The rules of users and rights, callable without the windows: the user
// list's SQL, deleting a user with its rights rows, and the rights editor's
// rows of a user, created in one go the first time they are needed. The
// built-in "Admin" (any letter case) holds every right: it is never
// deleted and never given rights rows.

#include <QString>

QString UsersBaseSQL();
// The fields the query builder offers; a search reopens on
// UsersBaseSQL() + " WHERE " + its condition.
QString UserFindFields();

// Deletes the current user of UserQuery with its rights rows, in one
// transaction; "Admin" is refused with a message. True when deleted. On a
// database error nothing changes and TDbError "更新数据库时出错,请重试!"
// carries the driver's text as its detail.
bool DeleteUser();

// False, with a message, for "Admin", whose rights need no editing.
bool CheckCanAccredit(const QString &userCode);

// The SQL of FunQuery for a user's rights: the used functions only.
QString UserRightsSQL(int userID);
// Opens FunQuery on the user's rights, first creating a full set (no open
// right, operate and print rights) when the user has none for any used
// function.
void OpenUserRights(int userID);
// Replaces the user's rights rows by one row per function, in one
// transaction; TDbError "更新数据库时出错，请重试！" on failure, with the
// rows as they were. A user who no longer exists gets no rows (TDbError).
void CreateUserRights(int userID);
// Shows the functions of a category (1-5) in FunQuery, or all of them for
// 0; true when any function is shown.
bool ShowRightsCategory(int category);
