#include "BylawRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/Messages.h"

using namespace Qt::StringLiterals;

QString BylawBaseSQL()
{
    return u"SELECT * FROM Bylaw_tab"_s + DM1->BaseWhereClause();
}

QString BylawFindFields()
{
    return u"SortCode;BylawTitle;BylawContent;Memo;RegDate;Operator"_s;
}

bool DeleteBylaw()
{
    TDataSet *bylaws = DM1->BylawQuery;
    if (!bylaws->Active() || bylaws->IsEmpty())
        return false;
    if (!AskConfirm(u"确定要删除该借阅规章制度吗？"_s))
        return false;
    bylaws->Delete();
    return true;
}
