#pragma once

// The rule of the password change, callable without its window: the old
// password must match the logged-in user's, the new one must be typed the
// same twice; the new password is stored as its hash (empty removes it).

#include <QString>

enum class TPwdChangeOutcome {
    Changed,         // stored, and the current-user value follows
    UserGone,        // the UPDATE found no row: nothing changes, no message
    WrongSource,     // "原密码错误,请重新输入!"
    NewDiffers,      // "两次输入的新密码不相同!"
};

// Checks and stores; shows the message of a refusal ("错误" boxes).
TPwdChangeOutcome ChangePassword(const QString &sourcePwd, const QString &newPwd1,
                                 const QString &newPwd2);

// True when the typed text is the logged-in user's password (the lock
// screen's prompt); no password matches the empty text.
bool IsCurrentUserPassword(const QString &typed);
