#include "FormsFixture.h"

#include "data/CurrentUser.h"
#include "data/DbHelpers.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

const QList<TSampleBook> &SampleBooks()
{
    static const QList<TSampleBook> books{
        {u"计算机基础"_s, u"张三"_s, u"图书"_s, 5, u"35.80"_s, QDate(2009, 5, 1)},
        {u"计算机网络"_s, u"李四"_s, u"图书"_s, 8, u"42.00"_s, QDate(2009, 6, 15)},
        {u"O'Brien的书"_s, u"O'Brien"_s, u"图书"_s, 2, u"12.50"_s, QDate(2010, 1, 20)},
        {u"50%折扣指南"_s, u"王五"_s, u"期刊"_s, 1, u"9.90"_s, QDate(2010, 3, 3)},
        {u"500个问题"_s, u"赵六"_s, u"图书"_s, 3, u"20.00"_s, QDate(2011, 7, 7)},
        {u"数据结构"_s, u"张三"_s, u"图书"_s, 10, u"55.00"_s, QDate(2008, 9, 9)},
        {u"图书馆管理系统的设计与实现以及一个很长很长很长很长的副标题"_s, u"钱七"_s, u"图书"_s, 4,
         u"66.60"_s, QDate(2012, 12, 12)},
        {u"Java_编程"_s, u"孙八"_s, u"图书"_s, 6, u"48.00"_s, QDate(2013, 2, 2)},
    };
    return books;
}

void FormsDbTest::SetUp()
{
    SKIP_WITHOUT_SERVER(GetParam());
    db = std::make_unique<TTestDb>(GetParam());
    dm = std::make_unique<TDM1>();
    ASSERT_TRUE(dm->ConnectDatabase(db->settings())) << dm->ConnectError().toStdString();
    CurrentUser().UserCode = u"lib01"_s;
    CurrentUser().UserName = u"李明"_s;
    for (const TSampleBook &b : SampleBooks())
        insertBook(b);
}

void FormsDbTest::TearDown()
{
    CurrentUser() = TCurrentUser();
    dm.reset();
    db.reset();
}

void FormsDbTest::exec(const QString &sql)
{
    dm->DurEzeConn.Execute(sql);
}

void FormsDbTest::insertBook(const TSampleBook &b)
{
    dm->DurEzeConn.ExecuteBound(
        u"INSERT INTO Books_tab (BookName, Author, BookType, TotalCount, LoanCount, BookPrice, RegDate)"
        " VALUES (?, ?, ?, ?, 0, ?, ?)"_s,
        {b.name, b.author, b.type, b.total, b.price, b.regDate.toString(Qt::ISODate)});
}

int FormsDbTest::countWhere(const QString &condition)
{
    return GetSingleValue(u"SELECT COUNT(*) FROM Books_view WHERE "_s + condition).toInt();
}

// QuaZip's own copy of the zip functions would stand in for libxlsxwriter's
// in this program, so the unzip tool reads workbooks.
QByteArray zipEntry(const QString &zipFile, const QString &entry)
{
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, zipFile, entry});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

QHash<QString, QString> workbookCells(const QString &fileName)
{
    QStringList shared;
    QXmlStreamReader strings(zipEntry(fileName, u"xl/sharedStrings.xml"_s));
    while (!strings.atEnd())
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"t")
            shared.append(strings.readElementText());
    QHash<QString, QString> cells;
    QXmlStreamReader sheet(zipEntry(fileName, u"xl/worksheets/sheet1.xml"_s));
    QString ref;
    QString type;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            ref = sheet.attributes().value(u"r"_s).toString();
            type = sheet.attributes().value(u"t"_s).toString();
        } else if (sheet.name() == u"v") {
            const QString v = sheet.readElementText();
            cells.insert(ref, type == u"s" ? shared.value(v.toInt()) : u"#"_s + v);
        } else if (sheet.name() == u"t") {  // an inline string
            cells.insert(ref, sheet.readElementText());
        }
    }
    return cells;
}

QString rtfPlainText(const QByteArray &rtf)
{
    static const QRegularExpression unicode(u"\\\\u(-?\\d+)\\?"_s);
    const QString text = QString::fromLatin1(rtf);
    QString out;
    qsizetype last = 0;
    for (auto it = unicode.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toInt()));
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Schema::Column column(const QString &name, Schema::ColumnType type, const QString &label)
{
    Schema::Column c;
    c.name = name;
    c.type = type;
    c.size = type == Schema::ColumnType::String ? 100 : 0;
    c.label = label;
    return c;
}
