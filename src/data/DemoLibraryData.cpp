#include "DemoLibraryData.h"

#include "DbError.h"
#include "DurEzeConn.h"
#include "Schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const Schema::Table &tableOf(const QString &name)
{
    const Schema::Table *t = Schema::FindTable(name);
    if (!t)
        throw TDbError(u"示例数据写入了不存在的表 %1。"_s.arg(name));
    return *t;
}

// Text from a data file as the value its column takes.
QVariant typed(const Schema::Table &table, const QString &columnName, const QVariant &value)
{
    const Schema::Column *c = table.column(columnName);
    if (!c)
        throw TDbError(u"示例数据写入了表 %1 中不存在的列 %2。"_s.arg(table.name, columnName));
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    if (text.isEmpty())
        return {};
    switch (c->type) {
    case Schema::ColumnType::Integer:
    case Schema::ColumnType::SmallInt:
    case Schema::ColumnType::Boolean:
        return text.toInt();
    default:
        return text;
    }
}

QVariantList typedValues(const Schema::Table &table, const TDemoValues &values)
{
    QVariantList out;
    for (const auto &[name, value] : values)
        out.append(typed(table, name, value));
    return out;
}

} // namespace

QList<TDemoRecord> ReadDemoFile(const QString &name)
{
    QFile file(u":/demo/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        throw TDbError(u"找不到示例数据文件 %1。"_s.arg(name));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    const QStringList header = lines.value(0).trimmed().split(u'\t');
    QList<TDemoRecord> records;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(u'\t');
        if (fields.size() != header.size())
            throw TDbError(u"示例数据文件 %1 第 %2 行的列数不对。"_s.arg(name).arg(i + 1));
        TDemoRecord record;
        for (qsizetype c = 0; c < header.size(); ++c)
            record.insert(header.at(c), fields.at(c));
        records.append(record);
    }
    return records;
}

int InsertDemoRow(TDurEzeConn &conn, const QString &table, const TDemoValues &values)
{
    const Schema::Table &t = tableOf(table);
    QStringList names, marks;
    for (const auto &value : values) {
        names.append(value.first);
        marks.append(u"?"_s);
    }
    QSqlQuery q = conn.ExecuteBound(u"INSERT INTO %1 (%2) VALUES (%3) RETURNING %4"_s
                                        .arg(table, names.join(u", "_s), marks.join(u", "_s),
                                             t.keyName()),
                                    typedValues(t, values));
    if (!q.next())
        throw TDbError(u"新增到表 %1 的记录没有得到编号。"_s.arg(table));
    return q.value(0).toInt();
}

int EnsureDemoRow(TDurEzeConn &conn, const QString &table, const TDemoValues &values,
                  int matchCount)
{
    const Schema::Table &t = tableOf(table);
    const TDemoValues match = values.first(matchCount);
    QStringList conditions;
    for (const auto &value : match)
        conditions.append(value.first + u" = ?"_s);
    QSqlQuery q = conn.ExecuteBound(u"SELECT %1 FROM %2 WHERE %3"_s
                                        .arg(t.keyName(), table, conditions.join(u" AND "_s)),
                                    typedValues(t, match));
    if (q.next())
        return q.value(0).toInt();
    return InsertDemoRow(conn, table, values);
}

void LoadDemoCategories(TDurEzeConn &conn)
{
    // Parents come before their children in the file; the top level hangs
    // under the tree's root, 0.
    QHash<QString, int> ids;
    for (const TDemoRecord &r : ReadDemoFile(u"categories.tsv"_s)) {
        const QString parent = r.value(u"ParentCode"_s);
        if (!parent.isEmpty() && !ids.contains(parent))
            throw TDbError(u"示例分类 %1 的上级类别 %2 不存在。"_s.arg(r.value(u"BookCateCode"_s), parent));
        const QString code = r.value(u"BookCateCode"_s);
        ids.insert(code, EnsureDemoRow(conn, u"BookCate_tab"_s, {
            {u"BookCateCode"_s, code},
            {u"BookCateParentID"_s, parent.isEmpty() ? 0 : ids.value(parent)},
            {u"BookCateName"_s, r.value(u"BookCateName"_s)},
        }));
    }
}

void LoadDemoPublishers(TDurEzeConn &conn)
{
    // The input codes are left to the input-code generator.
    for (const TDemoRecord &r : ReadDemoFile(u"publishers.tsv"_s)) {
        EnsureDemoRow(conn, u"Publishers_tab"_s, {
            {u"PublisherName"_s, r.value(u"PublisherName"_s)},
            {u"PublisherISBN"_s, r.value(u"PublisherISBN"_s)},
            {u"PublisherPlace"_s, r.value(u"PublisherPlace"_s)},
        });
    }
}
