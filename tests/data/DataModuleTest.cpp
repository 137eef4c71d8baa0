// The data module on both kinds: every dataset opens with its fields, the
// defaults of new rows and the checks before a post, and the shared helpers
// that build SQL.

#include "support/Answers.h"
#include "support/TestDb.h"

#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbError.h"
#include "data/DbHelpers.h"
#include "data/Guard.h"
#include "data/Schema.h"
#include "data/SilentAbort.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime pinnedNow(QDate(2026, 12, 11), QTime(10, 30, 0));

class DataModuleTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
        dm = std::make_unique<TDM1>();
        ASSERT_TRUE(dm->ConnectDatabase(db->settings())) << dm->ConnectError().toStdString();
        SetServerNowOverride(pinnedNow);
        CurrentUser().UserCode = u"lib01"_s;
        exec(u"INSERT INTO ReaderCate_tab (ReaderCateName, LimitBooksCount, LimitDays) VALUES ('教师', 10, 60)"_s);
        exec(u"INSERT INTO Users_tab (UserCode, UserName) VALUES ('Admin', '管理员')"_s);
        exec(u"INSERT INTO Users_tab (UserCode, UserName) VALUES ('lib01', '李明')"_s);
    }
    void TearDown() override
    {
        SetServerNowOverride({});
        CurrentUser() = TCurrentUser();
        dm.reset();
    }
    void exec(const QString &sql) { dm->DurEzeConn.Execute(sql); }
    QString single(const QString &sql) { return GetSingleValue(sql); }

    std::unique_ptr<TTestDb> db;
    std::unique_ptr<TDM1> dm;
};

TEST_P(DataModuleTest, EveryDataSetOpensWithItsFields)
{
    for (TDataSet *ds : dm->DataSets()) {
        if (ds->SQL().isEmpty())
            continue;
        SCOPED_TRACE(ds->objectName().toStdString());
        ds->Open();
        const QList<Schema::Column> &persistent = ds->PersistentFields();
        if (!persistent.isEmpty()) {
            ASSERT_EQ(ds->FieldCount(), persistent.size());
            for (int i = 0; i < persistent.size(); ++i) {
                EXPECT_EQ(ds->Field(i)->FieldName(), persistent[i].name);
                EXPECT_EQ(ds->Field(i)->Visible(), !persistent[i].hidden);
            }
        }
        ds->Close();
    }
    // A few labels and hidden fields that windows rely on.
    dm->BooksQuery->Open();
    EXPECT_EQ(dm->BooksQuery->FieldByName(u"RemainCount"_s)->DisplayLabel(), u"剩余册数"_s);
    EXPECT_FALSE(dm->BooksQuery->FieldByName(u"BookID"_s)->Visible());
    EXPECT_FALSE(dm->BooksQuery->FieldByName(u"ContentIntro"_s)->Visible());
    dm->ReaderLoanStatQuery->Open();
    EXPECT_EQ(dm->ReaderLoanStatQuery->Field(0)->DisplayLabel(), u"借书册数"_s);
    dm->FunQuery->Open();
    EXPECT_TRUE(dm->FunQuery->FieldByName(u"FunName"_s)->ReadOnly());
    EXPECT_FALSE(dm->FunQuery->FieldByName(u"FunCate"_s)->Visible());
    dm->UserQuery->Open();
    EXPECT_FALSE(dm->UserQuery->FieldByName(u"UserPwd"_s)->Visible());
}

TEST_P(DataModuleTest, DefaultsOfNewRows)
{
    struct Case {
        TDataSet *ds;
        QString field;
        QVariant expected;
    };
    const QList<Case> cases = {
        {dm->UserQuery, u"IsLock"_s, false},
        {dm->ReadersQuery, u"Sex"_s, true},
        {dm->ReadersQuery, u"RegDate"_s, pinnedNow.date()},
        {dm->ReadersQuery, u"Operator"_s, u"lib01"_s},
        {dm->BooksQuery, u"LoanCount"_s, 0},
        {dm->BooksQuery, u"RegDate"_s, pinnedNow.date()},
        {dm->BooksQuery, u"Operator"_s, u"lib01"_s},
        {dm->BylawQuery, u"RegDate"_s, pinnedNow.date()},
        {dm->BylawQuery, u"Operator"_s, u"lib01"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString(c.ds->objectName() + u'.' + c.field).toStdString());
        c.ds->Open();
        c.ds->Append();
        EXPECT_EQ(c.ds->FieldByName(c.field)->Value(), c.expected);
        c.ds->Cancel();
        c.ds->Close();
    }
}

TEST_P(DataModuleTest, NewCopyTakesItsTitleAndTheCarriedFields)
{
    exec(u"INSERT INTO Books_tab (BookName, Author, BookType) VALUES ('物权法', '王利明', '图书')"_s);
    const int bookId = single(u"SELECT BookID FROM Books_tab"_s).toInt();
    CopyDefaults() = {u"BookRoom=第一书库"_s, u"Price=35.80"_s, u"=ignored"_s};

    dm->BooksQuery->Open();
    dm->CopiesQuery->Open();
    dm->CopiesQuery->Append();
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"BookID"_s)->AsInteger(), bookId);
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"BookState"_s)->AsString(), u"可借"_s);
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"BookRoom"_s)->AsString(), u"第一书库"_s);
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"Price"_s)->AsString(), u"35.80"_s);
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"Operator"_s)->AsString(), u"lib01"_s);
    dm->CopiesQuery->Cancel();

    // While the title itself is being added its copies wait for its key.
    dm->BooksQuery->Append();
    dm->CopiesQuery->Append();
    EXPECT_EQ(dm->CopiesQuery->FieldByName(u"BookID"_s)->AsInteger(), 0);
    dm->CopiesQuery->Cancel();
    dm->BooksQuery->Cancel();
    CopyDefaults().clear();
}

struct CheckCase {
    const char *name;
    QString dataSet;
    QList<QPair<QString, QVariant>> values;
    QString message;  // empty: the post succeeds
    QString focused;
};

TEST_P(DataModuleTest, ChecksBeforePost)
{
    exec(u"INSERT INTO Readers_tab (ReaderName, ReaderCateID, CardID, ReaderCode) VALUES ('王芳', 1, 'C001', 'R001')"_s);
    exec(u"INSERT INTO Publishers_tab (PublisherName) VALUES ('法律出版社')"_s);
    exec(u"INSERT INTO BookCate_tab (BookCateParentID, BookCateCode, BookCateName) VALUES (0, 'D', '政治、法律')"_s);
    exec(u"INSERT INTO Bylaw_tab (BylawTitle, BylawContent) VALUES ('借阅须知', '按时归还')"_s);
    const QList<CheckCase> cases = {
        {"user without code", u"UserQuery"_s, {{u"UserName"_s, u"张三"_s}}, u"登录代号不能为空。"_s, u"UserCode"_s},
        {"user code taken", u"UserQuery"_s, {{u"UserCode"_s, u"lib01"_s}, {u"UserName"_s, u"张三"_s}},
         u"您输入的登录代号已存在。"_s, u"UserCode"_s},
        {"user without name", u"UserQuery"_s, {{u"UserCode"_s, u"lib02"_s}}, u"真实姓名不能为空。"_s, u"UserName"_s},
        {"user ok", u"UserQuery"_s, {{u"UserCode"_s, u"lib02"_s}, {u"UserName"_s, u"张三"_s}}, {}, {}},
        {"dictionary item of blanks", u"ItemsQuery"_s, {{u"ItemName"_s, u"   "_s}, {u"ItemCate"_s, 2}},
         u"项目名称不能为空。"_s, u"ItemName"_s},
        {"reader category taken", u"ReaderCateQuery"_s, {{u"ReaderCateName"_s, u"教师"_s}},
         u"您输入的读者类别名称已存在。"_s, u"ReaderCateName"_s},
        {"reader without name", u"ReadersQuery"_s, {{u"ReaderCateID"_s, 1}}, u"读者姓名不能为空。"_s, u"ReaderName"_s},
        {"reader card taken", u"ReadersQuery"_s,
         {{u"ReaderName"_s, u"李四"_s}, {u"CardID"_s, u" C001 "_s}, {u"ReaderCateID"_s, 1}},
         u"您输入的证卡编码已存在。"_s, u"CardID"_s},
        {"reader code taken", u"ReadersQuery"_s,
         {{u"ReaderName"_s, u"李四"_s}, {u"ReaderCode"_s, u"R001"_s}, {u"ReaderCateID"_s, 1}},
         u"您输入的读者编码已存在。"_s, u"ReaderCode"_s},
        {"reader without category", u"ReadersQuery"_s, {{u"ReaderName"_s, u"李四"_s}},
         u"读者类别不能为空。"_s, u"ReaderCateID"_s},
        {"reader with blank card and code", u"ReadersQuery"_s,
         {{u"ReaderName"_s, u"李四"_s}, {u"CardID"_s, u""_s}, {u"ReaderCode"_s, u"  "_s}, {u"ReaderCateID"_s, 1}},
         {}, {}},
        {"publisher taken", u"PublishersQuery"_s, {{u"PublisherName"_s, u"法律出版社"_s}},
         u"您输入的出版单位名称已存在。"_s, u"PublisherName"_s},
        {"class code taken", u"BookCateQuery"_s, {{u"BookCateCode"_s, u"D"_s}, {u"BookCateName"_s, u"x"_s}},
         u"您输入的书刊类别编码已存在。"_s, u"BookCateCode"_s},
        {"class without name", u"BookCateQuery"_s, {{u"BookCateCode"_s, u"E"_s}},
         u"书刊类别名称不能为空。"_s, u"BookCateName"_s},
        {"title without type", u"BooksQuery"_s, {{u"BookName"_s, u"物权法"_s}, {u"Author"_s, u"王利明"_s}},
         u"馆藏类型不能为空。"_s, u"BookType"_s},
        {"title without author", u"BooksQuery"_s, {{u"BookName"_s, u"物权法"_s}}, u"著者不能为空。"_s, u"Author"_s},
        {"regulation title taken", u"BylawQuery"_s,
         {{u"BylawTitle"_s, u"借阅须知"_s}, {u"BylawContent"_s, u"又一条"_s}},
         u"您输入的规章制度标题已存在。"_s, u"BylawTitle"_s},
        {"regulation without text", u"BylawQuery"_s, {{u"BylawTitle"_s, u"阅览室规则"_s}},
         u"规章制度内容不能为空。"_s, u"BylawContent"_s},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.name);
        TDataSet *ds = dm->FindDataSet(c.dataSet);
        ASSERT_TRUE(ds);
        ds->Open();
        const int before = ds->RecordCount();
        QString focused;
        auto conn = QObject::connect(ds, &TDataSet::FocusRequested, ds,
                                     [&](TField *f) { focused = f->FieldName(); });
        TMessageRecorder messages;
        ds->Append();
        for (const auto &[field, value] : c.values)
            ds->FieldByName(field)->SetValue(value);
        if (c.message.isEmpty()) {
            ds->Post();
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(ds->State(), TDataSetState::Browse);
        } else {
            EXPECT_THROW(ds->Post(), TSilentAbort);
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown[0].caption, u"信息"_s);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(focused, c.focused);
            EXPECT_EQ(ds->State(), TDataSetState::Insert);
            ds->Cancel();
            ds->Reopen();
            EXPECT_EQ(ds->RecordCount(), before);
        }
        QObject::disconnect(conn);
        ds->Close();
    }
}

TEST_P(DataModuleTest, UnchangedValueIsNotCheckedForUniqueness)
{
    dm->UserQuery->Open();
    ASSERT_TRUE(dm->UserQuery->Locate(u"UserCode"_s, u"lib01"_s));
    dm->UserQuery->Edit();
    TField *code = dm->UserQuery->FieldByName(u"UserCode"_s);
    // A broken extra condition shows whether the uniqueness query runs.
    const QString broken = u"no_such_column = 1"_s;
    for (const QString &same : {u"lib01"_s, u"LIB01"_s, u"  lib01 "_s}) {
        code->SetValue(same);
        EXPECT_NO_THROW(CheckFieldUnique(code, u"Users_tab"_s, broken)) << same.toStdString();
    }
    code->SetValue(u"lib09"_s);
    EXPECT_THROW(CheckFieldUnique(code, u"Users_tab"_s, broken), TDbError);
    code->SetValue(u"Admin"_s);
    TMessageRecorder messages;
    EXPECT_THROW(dm->UserQuery->Post(), TSilentAbort);
    EXPECT_EQ(messages.texts(), QStringList{u"您输入的登录代号已存在。"_s});
    dm->UserQuery->Cancel();
}

TEST_P(DataModuleTest, UserCodeIsStoredTrimmed)
{
    dm->UserQuery->Open();
    dm->UserQuery->Append();
    dm->UserQuery->FieldByName(u"UserCode"_s)->SetValue(u"  lib02 "_s);
    dm->UserQuery->FieldByName(u"UserName"_s)->SetValue(u"张三"_s);
    dm->UserQuery->Post();
    EXPECT_EQ(single(u"SELECT UserName FROM Users_tab WHERE UserCode = 'lib02'"_s), u"张三"_s);
}

TEST_P(DataModuleTest, IntegerFieldIsCheckedUnquoted)
{
    exec(u"INSERT INTO Items_tab (ItemCode, ItemName, ItemCate) VALUES (5, '图书', 2)"_s);
    dm->ItemsQuery->Open();
    dm->ItemsQuery->Append();
    TField *code = dm->ItemsQuery->FieldByName(u"ItemCode"_s);
    code->SetValue(5);
    TMessageRecorder messages;
    EXPECT_THROW(CheckFieldUnique(code, u"Items_tab"_s, u"ItemCate = 2"_s), TSilentAbort);
    EXPECT_EQ(messages.texts(), QStringList{u"您输入的项目编码已存在。"_s});
    EXPECT_NO_THROW(CheckFieldUnique(code, u"Items_tab"_s, u"ItemCate = 3"_s));
    dm->ItemsQuery->Cancel();
}

TEST_P(DataModuleTest, SingleValuesAndLists)
{
    EXPECT_EQ(single(u"SELECT UserName FROM Users_tab WHERE UserCode = 'nobody'"_s), QString());
    exec(u"UPDATE Users_tab SET IsLock = 1 WHERE UserCode = 'lib01'"_s);
    EXPECT_EQ(single(u"SELECT IsLock FROM Users_tab WHERE UserCode = 'lib01'"_s), u"1"_s);
    EXPECT_EQ(single(u"SELECT IsLock FROM Users_tab WHERE UserCode = 'Admin'"_s), QString());
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM Users_tab"_s), u"2"_s);

    QStringList list{u"已有"_s};
    LoadList(list, u"SELECT UserCode, UserName FROM Users_tab ORDER BY UserID"_s, u"UserName"_s);
    EXPECT_EQ(list, (QStringList{u"已有"_s, u"管理员"_s, u"李明"_s}));
    LoadList(list, u"SELECT UserCode FROM Users_tab ORDER BY UserID"_s);
    EXPECT_EQ(list.size(), 5);
}

TEST_P(DataModuleTest, TypedTextNeverEndsALiteral)
{
    const QStringList awkward = {u"O'Reilly 出版社"_s, u"C:\\图书\\"_s, u"100%_纯"_s,
                                 u"'; DROP TABLE Publishers_tab; --"_s,
                                 QString(2000, u'书') + u"'"_s};
    dm->PublishersQuery->Open();
    for (const QString &name : awkward) {
        dm->PublishersQuery->Append();
        dm->PublishersQuery->FieldByName(u"PublisherName"_s)->SetValue(name.left(100));
        if (name.size() > 100)
            dm->PublishersQuery->FieldByName(u"PublisherPlace"_s)->SetValue(u"x"_s);
        dm->PublishersQuery->Post();
    }
    for (const QString &name : awkward) {
        SCOPED_TRACE(name.left(20).toStdString());
        EXPECT_TRUE(ValueExists(name.left(100), u"PublisherName"_s, u"Publishers_tab"_s, {}, true));
        EXPECT_EQ(single(u"SELECT PublisherName FROM Publishers_tab WHERE PublisherName = "_s +
                         QuotedStr(name.left(100))),
                  name.left(100));
    }
    // "%" and "_" are ordinary characters to "=".
    EXPECT_FALSE(ValueExists(u"100%"_s, u"PublisherName"_s, u"Publishers_tab"_s, {}, true));
    // An unquoted value that is no number is never pasted as SQL.
    bool matched = false;
    try {
        matched = ValueExists(u"0 OR 1=1"_s, u"PublisherID"_s, u"Publishers_tab"_s, {}, false);
    } catch (const TDbError &) {
    }
    EXPECT_FALSE(matched);
    EXPECT_THROW(QuotedStr(u"a\0b"_s), TDbError);
}

TEST_P(DataModuleTest, DatesAsLiterals)
{
    EXPECT_EQ(DateLiteral(QDate(2026, 12, 11)), u"'2026-12-11'"_s);
    EXPECT_EQ(DateLiteral(pinnedNow), u"'2026-12-11 10:30:00'"_s);
    EXPECT_EQ(TodayLiteral(), u"'2026-12-11'"_s);
    EXPECT_EQ(GetServerNowText(true), u"2026-12-11 10:30:00"_s);
    EXPECT_EQ(GetServerNowText(false), u"2026-12-11"_s);
    // Literals compare with stored dates on both kinds.
    exec(u"INSERT INTO UserLog_tab (LogDate, LogTime, WinName) VALUES ("_s + TodayLiteral() +
         u", '10:30:00', '进入系统')"_s);
    EXPECT_EQ(single(u"SELECT COUNT(*) FROM UserLog_tab WHERE LogDate = "_s + TodayLiteral()), u"1"_s);
    SetServerNowOverride({});
    EXPECT_TRUE(GetServerNow().isValid());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, DataModuleTest, BothKinds, KindName);

TEST(Guard, SilentAbortIsQuietAndErrorsAreShownOnce)
{
    TMessageRecorder messages;
    EXPECT_FALSE(RunGuarded([] { throw TSilentAbort(); }));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(RunGuarded([] { throw TDbError(u"保存失败。"_s, u"SQL: x"_s); }));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].kind, TMessageKind::Error);
    EXPECT_EQ(messages.shown[0].text, u"保存失败。\nSQL: x"_s);
    EXPECT_TRUE(RunGuarded([] {}));
}

TEST(SameTrimmedText, Cases)
{
    EXPECT_TRUE(SameTrimmedText(u" Admin "_s, u"admin"_s));
    EXPECT_TRUE(SameTrimmedText(QVariant(), u"  "_s));
    EXPECT_TRUE(SameTrimmedText(5, u"5"_s));
    EXPECT_FALSE(SameTrimmedText(u"李明"_s, u"李 明"_s));
}

} // namespace
