#include "CurrentUser.h"

using namespace Qt::StringLiterals;

TCurrentUser &CurrentUser()
{
    static TCurrentUser user;
    return user;
}

bool IsAdminUser(const QString &userCode)
{
    return userCode.compare(u"Admin"_s, Qt::CaseInsensitive) == 0;
}
