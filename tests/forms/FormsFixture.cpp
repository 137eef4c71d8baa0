#include "FormsFixture.h"

#include "data/CurrentUser.h"
#include "data/DbHelpers.h"

#include <QSqlQuery>

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
