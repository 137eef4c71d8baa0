#pragma once

// A library database of both kinds with the data module connected to it and
// a handful of titles whose names try the framework: quotes, "%", a long
// name, Chinese text.

#include "support/Answers.h"
#include "support/TestDb.h"

#include "data/DMPas.h"

#include <QDate>
#include <memory>

struct TSampleBook {
    QString name;
    QString author;
    QString type;
    int total;
    QString price;
    QDate regDate;
};

// The titles every forms test starts with, in key order.
const QList<TSampleBook> &SampleBooks();

class FormsDbTest : public ::testing::TestWithParam<DatabaseKind>
{
protected:
    void SetUp() override;
    void TearDown() override;

    void exec(const QString &sql);
    void insertBook(const TSampleBook &book);
    // The number of titles the SQL condition selects, asked of the database.
    int countWhere(const QString &condition);

    std::unique_ptr<TTestDb> db;
    std::unique_ptr<TDM1> dm;
};
