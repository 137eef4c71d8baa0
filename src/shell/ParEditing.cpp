#include "ParEditing.h"

#include "data/DMPas.h"
#include "data/DataSet.h"

using namespace Qt::StringLiterals;

namespace {

TField *field(const QString &name)
{
    return DM1->ParQuery->FieldByName(name);
}

bool switchValue(const QString &name, bool defaultValue)
{
    const TField *f = field(name);
    return f->IsNull() ? defaultValue : f->AsBoolean();
}

} // namespace

TParValues BeginParEdit()
{
    TDataSet *q = DM1->ParQuery;
    q->Close();
    // Only the first row counts, as for the parameter reads.
    q->SetSQL(u"SELECT * FROM Par_tab ORDER BY ParID"_s);
    q->Open();
    if (q->IsEmpty())
        q->Append();
    else
        q->Edit();
    if (field(u"SystemName"_s)->IsNull())
        field(u"SystemName"_s)->SetValue(QString(u""_s));

    const TParValues defaults;
    TParValues v;
    v.SystemName = field(u"SystemName"_s)->AsString();
    v.CorpName = field(u"CorpName"_s)->AsString();
    v.IsExitConfirm = switchValue(u"IsExitConfirm"_s, defaults.IsExitConfirm);
    v.IsShowUserListOnLogin = switchValue(u"IsShowUserListOnLogin"_s, defaults.IsShowUserListOnLogin);
    v.IsMaxBookManager = switchValue(u"IsMaxBookManager"_s, defaults.IsMaxBookManager);
    return v;
}

void SaveParEdit(const TParValues &v)
{
    field(u"SystemName"_s)->SetValue(v.SystemName);
    field(u"CorpName"_s)->SetValue(v.CorpName);
    field(u"IsExitConfirm"_s)->SetValue(v.IsExitConfirm);
    field(u"IsShowUserListOnLogin"_s)->SetValue(v.IsShowUserListOnLogin);
    field(u"IsMaxBookManager"_s)->SetValue(v.IsMaxBookManager);
    DM1->ParQuery->Post();
}

void EndParEdit()
{
    TDataSet *q = DM1->ParQuery;
    if (q->State() == TDataSetState::Edit || q->State() == TDataSetState::Insert)
        q->Cancel();
    q->Close();
}
