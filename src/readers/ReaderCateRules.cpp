#include "ReaderCateRules.h"

#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "data/Messages.h"

using namespace Qt::StringLiterals;

QString ReaderCateFindFields()
{
    return u"ReaderCateName;LimitBooksCount;LimitDays;ReLoanTimes;ReLoanDays"_s;
}

bool ReaderCateInUse(int readerCateID)
{
    return ValueExists(QString::number(readerCateID), u"ReaderCateID"_s, u"Readers_tab"_s, {}, false);
}

bool DeleteReaderCate()
{
    TDataSet *cates = DM1->ReaderCateQuery;
    if (!cates->Active() || cates->IsEmpty())
        return false;
    if (ReaderCateInUse(cates->FieldByName(u"ReaderCateID"_s)->AsInteger())) {
        ShowInfo(u"该读者类别正在使用中，不能删除。"_s);
        return false;
    }
    if (!AskConfirm(u"确定要删除该读者类别吗？"_s))
        return false;
    cates->Delete();
    return true;
}
