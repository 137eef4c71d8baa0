#include "DataDict.h"

#include "DMPas.h"
#include "DataSet.h"
#include "DbHelpers.h"
#include "Messages.h"

using namespace Qt::StringLiterals;

const QStringList &DictCategories()
{
    static const QStringList categories{
        u"CorpName=工作单位"_s,     u"DeptName=所在部门"_s,     u"BookType=馆藏类型"_s,
        u"BookRoom=所在书室"_s,     u"BookPos=书刊架位"_s,      u"PublishPlace=出版地点"_s,
        u"BookFaceInfo=载体形态"_s, u"BookLanguage=书刊语言"_s, u"BookAddons=书刊附件"_s,
        u"PublishPeriods=出版周期"_s, u"EditionTime=出版版次"_s,
    };
    return categories;
}

int DictCategoryCount()
{
    return int(DictCategories().size());
}

QString DictCategoryField(int cate)
{
    return DictCategories().value(cate).section(u'=', 0, 0);
}

QString DictCategoryLabel(int cate)
{
    return DictCategories().value(cate).section(u'=', 1);
}

int DictCategoryOf(const QString &fieldName)
{
    for (int i = 0; i < DictCategoryCount(); ++i)
        if (DictCategoryField(i).compare(fieldName.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

namespace {

// Code order; items without a code first (the two kinds place NULL at
// opposite ends otherwise), equal codes in the order they were added.
QString dictItemOrder()
{
    return u" ORDER BY CASE WHEN ItemCode IS NULL THEN 0 ELSE 1 END, ItemCode, ItemID"_s;
}

} // namespace

void LoadDictItems(const QString &fieldName, QStringList &list)
{
    TDataSet *temp = DM1->TempQuery;
    OpenQuery(temp, u"SELECT ItemName FROM Items_tab WHERE ItemCate = %1"_s.arg(DictCategoryOf(fieldName))
                        + dictItemOrder());
    list.clear();
    for (temp->First(); !temp->Eof(); temp->Next())
        list.append(temp->Field(0)->AsString());
    temp->Close();
}

QString DictItemsSQL(int cate)
{
    QString sql = u"SELECT * FROM Items_tab"_s;
    if (cate >= 0)
        sql += u" WHERE ItemCate = "_s + QString::number(cate);
    return sql + dictItemOrder();
}

void OpenDictItems(int cate)
{
    ReopenQuery(DM1->ItemsQuery, DictItemsSQL(cate));
}

bool CheckDictCategoryChosen(int cate)
{
    if (cate >= 0 && cate < DictCategoryCount())
        return true;
    ShowInfo(u"请先选择字典类别，再执行该功能。"_s);
    return false;
}

bool DeleteDictItem()
{
    TDataSet *items = DM1->ItemsQuery;
    if (!items->Active() || items->IsEmpty())
        return false;
    if (!AskConfirm(u"确定要删除此条记录吗?"_s))
        return false;
    items->Delete();
    return true;
}
