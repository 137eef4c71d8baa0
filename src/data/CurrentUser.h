#pragma once

// The member of staff who is logged in: the process-wide values UserID,
// UserCode, UserPwd (the stored hash, never the typed text) and UserName.
// An empty UserCode means nobody is logged in.

#include <QString>

struct TCurrentUser {
    int UserID = -1;
    QString UserCode;
    QString UserPwd;
    QString UserName;

    bool LoggedIn() const { return !UserCode.isEmpty(); }
};

TCurrentUser &CurrentUser();

// True for the built-in administrator "Admin", in any letter case.
bool IsAdminUser(const QString &userCode);
