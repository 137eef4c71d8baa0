// The home page: the rights SQL of AccQuery, the tags of the template, the
// function code of a followed link, and the page produced at login.

#include "ShellFixture.h"

#include "data/Schema.h"
#include "shell/HomePage.h"
#include "shell/Rights.h"

#include <QFile>

namespace {

TEST(RightsSql, AdministratorAndOtherUsers)
{
    TCurrentUser admin;
    admin.UserID = 1;
    admin.UserCode = u"ADMIN"_s;
    EXPECT_EQ(AccQuerySQL(admin),
              u"SELECT ImgIndex, FunName, 1 AS IsOpen, FunMemo, FunKey, FunCate, IsUsed, "
              "1 AS IsOperate, 1 AS IsPrint\r\n"
              "FROM UserFun_tab ORDER BY FunCate, FunCode"_s);

    TCurrentUser user;
    user.UserID = 7;
    user.UserCode = u"lib01"_s;
    EXPECT_EQ(AccQuerySQL(user),
              u"SELECT ImgIndex,FunName,IsOpen,FunMemo,FunKey,FunCate,IsUsed,IsOperate,IsPrint\r\n"
              "FROM UserFun_tab LEFT JOIN UserAccredit_tab\r\n"
              "ON UserFun_tab.FunID=UserAccredit_tab.FunID\r\n"
              "WHERE UserID=7\r\n"
              "ORDER BY FunCate,FunCode"_s);

    // Only "Admin" itself, in any letter case, holds every right.
    user.UserCode = u"Admin "_s;
    EXPECT_TRUE(AccQuerySQL(user).contains(u"WHERE UserID=7"_s));
}

TEST(HomePageTags, TagsAreReplacedAndUnknownOnesVanish)
{
    QStringList seen;
    const QString page = ProducePage(
        u"<p><#LoginInfo></p><a href=\"#11\">书刊</a>[<#funRight FunKey=11>]"
        "<#Other A=\"x y\" B=2><#funRight  FunKey=\"54\" ><# not a tag>"_s,
        [&](const QString &tag, const QMap<QString, QString> &params) {
            QStringList p;
            for (auto it = params.begin(); it != params.end(); ++it)
                p.append(it.key() + u'=' + it.value());
            seen.append(tag + u'(' + p.join(u',') + u')');
            return tag == u"Other"_s ? QString() : u"{"_s + tag + u"}"_s;
        });
    EXPECT_EQ(page, u"<p>{LoginInfo}</p><a href=\"#11\">书刊</a>[{funRight}]{funRight}<# not a tag>"_s);
    EXPECT_EQ(seen, (QStringList{u"LoginInfo()"_s, u"funRight(FunKey=11)"_s,
                                 u"Other(A=x y,B=2)"_s, u"funRight(FunKey=54)"_s}));
}

TEST(HomePageTags, LoginInfoGreetsTheUserWithTheServerDate)
{
    SetServerNowOverride(QDateTime(QDate(2026, 12, 11), QTime(23, 59)));
    CurrentUser() = TCurrentUser();
    EXPECT_EQ(HomePageTag(u"LoginInfo"_s, {}), u"您好，请先登录。今天是：2026年12月11日 星期五！"_s);
    CurrentUser().UserCode = u"lib01"_s;
    SetServerNowOverride(QDateTime(QDate(2027, 1, 3), QTime(0, 0)));
    EXPECT_EQ(HomePageTag(u"LoginInfo"_s, {}), u"您好，lib01。今天是：2027年1月3日 星期日！"_s);
    EXPECT_EQ(HomePageTag(u"Unknown"_s, {}), u""_s);
    SetServerNowOverride({});
    CurrentUser() = TCurrentUser();
}

TEST(FunctionCodes, TheLastTwoCharactersOfTheAddress)
{
    const std::pair<QString, int> cases[] = {
        {u"file:///opt/Vellumark/Resources/HomePageTemp.html#11"_s, 11},
        {u"#55"_s, 55},
        {u"#99"_s, 99},  // a number, but no function: the caller opens nothing
        {u"#ab"_s, 0},
        {u"#1a"_s, 0},
        {u"#-5"_s, 0},
        {u"#7"_s, 0},
        {u"https://example.org/library"_s, 0},
        {u""_s, 0},
    };
    for (const auto &[address, code] : cases)
        EXPECT_EQ(FunctionCodeFromAddress(address), code) << address.toStdString();
}

class HomePageDbTest : public ShellTest
{
};

TEST_P(HomePageDbTest, FunRightFollowsTheRightsRows)
{
    const int id = addUser(u"lib01"_s, u"李明"_s);
    addUser(u"bare"_s, u"无权限"_s);
    grant(id, 11, true, false, false);
    grant(id, 12, false, true, true);
    grant(id, 13, QVariant(), true, true);
    const auto right = [](int code) {
        return HomePageTag(u"funRight"_s, {{u"FunKey"_s, QString::number(code)}});
    };

    loginAs(u"lib01"_s);
    OpenAccTable();
    EXPECT_EQ(right(11), u"有权限"_s);
    EXPECT_EQ(right(12), u"无权限"_s);
    EXPECT_EQ(right(13), u"无权限"_s);  // NULL is not an open right on the page
    EXPECT_EQ(right(21), u"无权限"_s);  // no row

    loginAs(u"bare"_s);
    OpenAccTable();
    for (const Schema::FunctionInfo &f : Schema::Functions())
        EXPECT_EQ(right(f.code), u"无权限"_s) << f.code;

    // The administrator needs no rows at all.
    addUser(u"Admin"_s, u"管理员"_s);
    loginAs(u"Admin"_s);
    OpenAccTable();
    EXPECT_EQ(dm->AccQuery->RecordCount(), Schema::Functions().size());
    for (const Schema::FunctionInfo &f : Schema::Functions())
        EXPECT_EQ(right(f.code), u"有权限"_s) << f.code;
}

TEST_P(HomePageDbTest, RightsOfAFunctionCountNullAsGranted)
{
    const int id = addUser(u"lib01"_s, u"李明"_s);
    grant(id, 11, true, false, QVariant());
    grant(id, 12, QVariant(), QVariant(), false);
    loginAs(u"lib01"_s);
    OpenAccTable();
    EXPECT_EQ(dm->AccQuery->RecordCount(), 2);

    TFunctionRights r = FindFunctionRights(11);
    EXPECT_TRUE(r.found && r.isOpen && !r.isOperate && r.isPrint);
    r = FindFunctionRights(12);
    EXPECT_TRUE(r.found && r.isOpen && r.isOperate && !r.isPrint);
    r = FindFunctionRights(-1);
    EXPECT_TRUE(!r.found && r.isOpen && r.isOperate && r.isPrint);
    EXPECT_TRUE(HasOpenRight(11));
    EXPECT_FALSE(HasOpenRight(12));
}

TEST_P(HomePageDbTest, ProducedPageLinksEveryFunctionWithItsRight)
{
    const int id = addUser(u"lib01"_s, u"李明"_s);
    grant(id, 31, true, true, true);
    loginAs(u"lib01"_s);
    OpenAccTable();
    const QString path = ProduceHomePageFile();
    EXPECT_EQ(path, HomePageTempPath());
    EXPECT_TRUE(path.startsWith(appDir.path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());

    EXPECT_TRUE(page.contains(u"您好，lib01。今天是：2026年12月11日 星期五！"_s));
    EXPECT_FALSE(page.contains(u"<#"_s));
    for (const Schema::FunctionInfo &f : Schema::Functions()) {
        SCOPED_TRACE(f.code);
        EXPECT_TRUE(page.contains(u"href=\"#%1\""_s.arg(f.code)));
        EXPECT_TRUE(page.contains(f.caption));
    }
    EXPECT_TRUE(page.contains(u"有权限"_s));
    EXPECT_TRUE(page.contains(u"无权限"_s));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, HomePageDbTest, BothKinds, KindName);

} // namespace
