#pragma once

// A library database of both kinds with the data module connected to it and
// a handful of titles whose names try the framework: quotes, "%", a long
// name, Chinese text.

#include "support/Answers.h"
#include "support/TestDb.h"

#include "data/DMPas.h"

#include <QDate>
#include <QHash>
#include <memory>

struct TSampleBook {
    QString name;
    QString author;
    QString type;
    int total;
    QString price;
    QDate regDate;
};

// A column of the given type and label, for datasets that are never opened.
Schema::Column column(const QString &name, Schema::ColumnType type, const QString &label);

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

// --- reading exported files back ------------------------------------------------

// One member of a zip file (a workbook is one), read by the unzip tool.
QByteArray zipEntry(const QString &zipFile, const QString &entry);
// The cells of a workbook's first worksheet by reference ("A1"): strings as
// they are, numbers with a leading "#".
QHash<QString, QString> workbookCells(const QString &fileName);
// The text of an RTF document with its \uN escapes decoded.
QString rtfPlainText(const QByteArray &rtf);
// A file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString &fileName);
