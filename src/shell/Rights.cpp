#include "Rights.h"

#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"

using namespace Qt::StringLiterals;

namespace {

// Moves AccQuery to the function's row; false when it has none.
bool locateFunction(int funKey)
{
    TDataSet *acc = DM1 ? DM1->AccQuery : nullptr;
    return acc && acc->Active() && acc->Locate(u"FunKey"_s, funKey);
}

bool grantedUnlessFalse(const QString &right)
{
    const TField *f = DM1->AccQuery->FieldByName(right);
    return f->IsNull() || f->AsBoolean();
}

} // namespace

QString AccQuerySQL(const TCurrentUser &user)
{
    if (IsAdminUser(user.UserCode))
        return u"SELECT ImgIndex, FunName, 1 AS IsOpen, FunMemo, FunKey, FunCate, IsUsed, "
               "1 AS IsOperate, 1 AS IsPrint\r\n"
               "FROM UserFun_tab ORDER BY FunCate, FunCode"_s;
    return u"SELECT ImgIndex,FunName,IsOpen,FunMemo,FunKey,FunCate,IsUsed,IsOperate,IsPrint\r\n"
           "FROM UserFun_tab LEFT JOIN UserAccredit_tab\r\n"
           "ON UserFun_tab.FunID=UserAccredit_tab.FunID\r\n"
           "WHERE UserID=%1\r\n"
           "ORDER BY FunCate,FunCode"_s.arg(user.UserID);
}

void OpenAccTable()
{
    TDataSet *acc = DM1->AccQuery;
    acc->Close();
    acc->SetSQL(AccQuerySQL(CurrentUser()));
    acc->Open();
}

TFunctionRights FindFunctionRights(int funKey)
{
    TFunctionRights rights;
    if (!locateFunction(funKey))
        return rights;
    rights.found = true;
    rights.isOpen = grantedUnlessFalse(u"IsOpen"_s);
    rights.isOperate = grantedUnlessFalse(u"IsOperate"_s);
    rights.isPrint = grantedUnlessFalse(u"IsPrint"_s);
    return rights;
}

bool HasOpenRight(int funKey)
{
    if (IsAdminUser(CurrentUser().UserCode))
        return true;
    return locateFunction(funKey) && DM1->AccQuery->FieldByName(u"IsOpen"_s)->AsBoolean();
}
