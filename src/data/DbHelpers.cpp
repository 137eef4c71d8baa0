#include "DbHelpers.h"

#include "DMPas.h"
#include "DataSet.h"
#include "DbError.h"
#include "Messages.h"
#include "SilentAbort.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QDateTime &nowOverride()
{
    static QDateTime now;
    return now;
}

// Frees a transient query however the block is left.
struct TQueryHolder {
    TDataSet *query = NewQuery();
    ~TQueryHolder() { FreeQuery(query); }
};

bool looksNumeric(const QString &text)
{
    static const QRegularExpression number(u"^[+-]?\\d+(\\.\\d+)?$"_s);
    return number.match(text).hasMatch();
}

[[noreturn]] void failCheck(TField *field, const QString &pattern, const QString &caption)
{
    FailFieldCheck(field, pattern.arg(caption.isEmpty() ? field->DisplayLabel() : caption));
}

} // namespace

void FailFieldCheck(TField *field, const QString &message)
{
    ShowInfo(message);
    field->DataSet()->RequestFocus(field);
    throw TSilentAbort();
}

TDurEzeConn &GetConnection()
{
    if (!DM1)
        throw TDbError(u"数据模块还没有创建。"_s);
    return DM1->DurEzeConn;
}

TDataSet *NewQuery()
{
    return new TDataSet(GetConnection(), QString());
}

void FreeQuery(TDataSet *&query)
{
    if (query)
        query->Close();
    delete query;
    query = nullptr;
}

void OpenQuery(TDataSet *dataSet, const QString &sql)
{
    dataSet->Close();
    dataSet->SetSQL(sql);
    dataSet->SetFilter(QString());
    dataSet->SetFiltered(false);
    dataSet->Open();
}

void ReopenQuery(TDataSet *query, const QString &sql)
{
    OpenQuery(query, sql);
}

QString GetSingleValue(const QString &sql)
{
    TQueryHolder h;
    OpenQuery(h.query, sql);
    if (h.query->IsEmpty() || h.query->FieldCount() == 0)
        return {};
    const TField *f = h.query->Field(0);
    return f->IsNull() ? QString() : f->AsString();
}

void LoadList(QStringList &list, const QString &sql, const QString &column)
{
    TQueryHolder h;
    OpenQuery(h.query, sql);
    const TField *f = column.isEmpty() ? h.query->Field(0) : h.query->FieldByName(column);
    for (h.query->First(); !h.query->Eof(); h.query->Next())
        list.append(f->AsString());
}

bool ValueExists(const QString &value, const QString &column, const QString &table,
                 const QString &extraCondition, bool quote)
{
    // An unquoted value that is not a number could end the statement early;
    // it is compared as text instead.
    const QString literal = quote || !looksNumeric(value) ? QuotedStr(value) : value;
    QString sql = u"SELECT COUNT(%1) FROM %2 WHERE %1 = %3"_s.arg(column, table, literal);
    if (!extraCondition.isEmpty())
        sql += u" AND "_s + extraCondition;
    return GetSingleValue(sql).toLongLong() != 0;
}

void CheckFieldNotEmpty(TField *field, const QString &caption)
{
    if (!field->IsNull() && !field->AsString().trimmed().isEmpty())
        return;
    failCheck(field, u"%1不能为空。"_s, caption);
}

void CheckFieldUnique(TField *field, const QString &table, const QString &extraCondition,
                      const QString &caption)
{
    const QString text = field->AsString().trimmed();
    if (text.isEmpty())
        return;
    const TDataSetState state = field->DataSet()->State();
    if (state == TDataSetState::Edit) {
        if (SameTrimmedText(field->Value(), field->OldValue()))
            return;
    } else if (state != TDataSetState::Insert) {
        return;
    }
    const bool quote = field->IsString() || field->IsDateTime();
    if (ValueExists(text, field->FieldName(), table, extraCondition, quote))
        failCheck(field, u"您输入的%1已存在。"_s, caption);
}

bool SameTrimmedText(const QVariant &a, const QVariant &b)
{
    return a.toString().trimmed().compare(b.toString().trimmed(), Qt::CaseInsensitive) == 0;
}

void SetServerNowOverride(const QDateTime &now)
{
    nowOverride() = now;
}

QDateTime GetServerNow()
{
    if (nowOverride().isValid())
        return nowOverride();
    TDurEzeConn &conn = GetConnection();
    const QString sql = conn.Dialect().CurrentDateTimeSql();
    if (sql.isEmpty())
        return QDateTime::currentDateTime();
    QSqlQuery q = conn.Select(sql);
    if (!q.next())
        throw TDbError(u"无法读取数据库服务器的时间。"_s, sql);
    return q.value(0).toDateTime();
}

QString GetServerNowText(bool withTime)
{
    return GetServerNow().toString(withTime ? u"yyyy-MM-dd HH:mm:ss"_s : u"yyyy-MM-dd"_s);
}

QString DateLiteral(const QDateTime &value)
{
    return GetConnection().Dialect().DateLiteral(value);
}

QString DateLiteral(const QDate &value)
{
    return DateLiteral(value.startOfDay());
}

QString TodayLiteral()
{
    return DateLiteral(GetServerNow().date());
}
