#pragma once

// A connected data module on a throwaway database of either kind, with the
// clock pinned, nobody logged in, and the produced files kept in a
// temporary folder.

#include "support/Answers.h"
#include "support/TestDb.h"

#include "data/AppPaths.h"
#include "data/CurrentUser.h"
#include "data/DMPas.h"
#include "data/DataSet.h"
#include "data/DbHelpers.h"
#include "data/Dialect.h"
#include "shell/ExitRules.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

class ShellTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    // Friday, 11 December 2026.
    static QDateTime pinnedNow() { return QDateTime(QDate(2026, 12, 11), QTime(9, 30, 5)); }

    void SetUp() override
    {
        SKIP_WITHOUT_SERVER(GetParam());
        db = std::make_unique<TTestDb>(GetParam());
        dm = std::make_unique<TDM1>();
        ASSERT_TRUE(dm->ConnectDatabase(db->settings())) << dm->ConnectError().toStdString();
        SetServerNowOverride(pinnedNow());
        SetAppPathOverride(appDir.path());
        CurrentUser() = TCurrentUser();
        ClearTerminationRequest();
    }

    void TearDown() override
    {
        SetServerNowOverride({});
        SetAppPathOverride({});
        SetApplicationTitle(u"Orvella图书馆管理系统 2009"_s);
        CurrentUser() = TCurrentUser();
        ClearTerminationRequest();
        dm.reset();
    }

    void exec(const QString &sql) { db->conn().Execute(sql); }

    QString single(const QString &sql)
    {
        QSqlQuery q = db->conn().Select(sql);
        return q.next() ? q.value(0).toString() : QString();
    }

    // A user with a stored password value (NULL when `pwd` is null); its ID.
    int addUser(const QString &code, const QString &name, const QString &pwd = {},
                bool locked = false)
    {
        exec(u"INSERT INTO Users_tab(UserCode,UserName,UserPwd,IsLock)VALUES(%1,%2,%3,%4)"_s
                 .arg(QuotedStr(code), QuotedStr(name),
                      pwd.isNull() ? u"NULL"_s : QuotedStr(pwd), locked ? u"1"_s : u"0"_s));
        return single(u"SELECT UserID FROM Users_tab WHERE UserCode="_s + QuotedStr(code)).toInt();
    }

    // A rights row; a null value is stored as NULL.
    void grant(int userID, int funKey, const QVariant &open, const QVariant &operate,
               const QVariant &print)
    {
        const auto v = [](const QVariant &b) {
            return b.isNull() ? u"NULL"_s : (b.toBool() ? u"1"_s : u"0"_s);
        };
        exec(u"INSERT INTO UserAccredit_tab(UserID,FunID,IsOpen,IsOperate,IsPrint) "
             "SELECT %1,FunID,%2,%3,%4 FROM UserFun_tab WHERE FunKey=%5"_s
                 .arg(userID)
                 .arg(v(open), v(operate), v(print))
                 .arg(funKey));
    }

    // Logs in without the window.
    void loginAs(const QString &code)
    {
        QSqlQuery q = db->conn().Select(
            u"SELECT UserID,UserCode,UserPwd,UserName FROM Users_tab WHERE UserCode="_s +
            QuotedStr(code));
        ASSERT_TRUE(q.next());
        CurrentUser().UserID = q.value(0).toInt();
        CurrentUser().UserCode = q.value(1).toString();
        CurrentUser().UserPwd = q.value(2).toString();
        CurrentUser().UserName = q.value(3).toString();
    }

    // The log, oldest first, as "WinName|OperateContent|UserCode|UserName".
    QStringList logEntries()
    {
        QStringList out;
        QSqlQuery q = db->conn().Select(
            u"SELECT WinName,OperateContent,UserCode,UserName FROM UserLog_tab ORDER BY UserLogID"_s);
        while (q.next())
            out.append(u"%1|%2|%3|%4"_s.arg(q.value(0).toString(), q.value(1).toString(),
                                              q.value(2).toString(), q.value(3).toString()));
        return out;
    }

    QTemporaryDir appDir;
    std::unique_ptr<TTestDb> db;
    std::unique_ptr<TDM1> dm;
};
