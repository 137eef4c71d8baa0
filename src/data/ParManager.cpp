#include "ParManager.h"

#include "AppPaths.h"
#include "DMPas.h"
#include "DataSet.h"
#include "DbHelpers.h"

using namespace Qt::StringLiterals;

namespace {
TParManager theParManager;
} // namespace

TParManager *const ParManager = &theParManager;

QVariant TParManager::GetParamField(const QString &column) const
{
    TDataSet *q = DM1->TempQuery;
    OpenQuery(q, u"SELECT %1 FROM Par_tab ORDER BY ParID"_s.arg(column));
    if (q->IsEmpty())
        return {};
    return q->Field(0)->Value();
}

bool TParManager::GetParamBool(const QString &column, bool defaultValue) const
{
    const QVariant v = GetParamField(column);
    return v.isNull() ? defaultValue : v.toBool();
}

QString TParManager::GetParamString(const QString &column, const QString &defaultValue) const
{
    const QVariant v = GetParamField(column);
    if (v.isNull() || v.toString().trimmed().isEmpty())
        return defaultValue;
    return v.toString();
}

QString TParManager::GetSystemName() const
{
    return GetParamString(u"SystemName"_s, GetApplicationTitle());
}

QString TParManager::GetCorpName() const
{
    return GetParamString(u"CorpName"_s, u"<使用单位名称未设置>"_s);
}

bool TParManager::GetIsExitConfirm() const
{
    return GetParamBool(u"IsExitConfirm"_s, false);
}

bool TParManager::GetIsShowUserListOnLogin() const
{
    return GetParamBool(u"IsShowUserListOnLogin"_s, true);
}

bool TParManager::GetIsMaxBookManager() const
{
    return GetParamBool(u"IsMaxBookManager"_s, true);
}
