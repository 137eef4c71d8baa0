#pragma once

// The rights of the logged-in user: the data module's AccQuery, reloaded at
// every login. The administrator holds every right; anybody else holds the
// rights of their rows in UserAccredit_tab.

#include <QString>

struct TCurrentUser;

// The SQL of AccQuery for a user: every function with every right for the
// administrator, else only the functions the user has a rights row for.
QString AccQuerySQL(const TCurrentUser &user);

// Reloads AccQuery for the logged-in user.
void OpenAccTable();

// The rights row of a function code. A NULL right counts as granted; a code
// without a row (always the case for -1) keeps every right.
struct TFunctionRights {
    bool found = false;
    bool isOpen = true;
    bool isOperate = true;
    bool isPrint = true;
};
TFunctionRights FindFunctionRights(int funKey);

// True when the logged-in user may open the function from the home page:
// the administrator always, anybody else with a rights row whose IsOpen is
// true (NULL is not).
bool HasOpenRight(int funKey);
