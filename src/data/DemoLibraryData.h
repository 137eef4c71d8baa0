#pragma once

// The sample library's data files and the writes that the sample library and
// the generator share. The files are tab-separated UTF-8 text with one
// header line, compiled in under ":/demo/".

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class TDurEzeConn;

// One line of a data file: column name -> text.
using TDemoRecord = QHash<QString, QString>;
// The values of one row to write, in column order.
using TDemoValues = QList<QPair<QString, QVariant>>;

// The lines of the data file `name` ("books.tsv"). Throws TDbError when the
// file is missing or a line does not match the header.
QList<TDemoRecord> ReadDemoFile(const QString &name);

// Inserts a row and returns its new key. Text is converted to the type its
// column has in the schema; empty text is written as NULL.
int InsertDemoRow(TDurEzeConn &conn, const QString &table, const TDemoValues &values);

// The key of the row whose first `matchCount` values equal those given,
// inserting the row when there is none: entries typed in by hand stay as
// they are and are not doubled.
int EnsureDemoRow(TDurEzeConn &conn, const QString &table, const TDemoValues &values,
                  int matchCount = 1);

// The sample classification tree (BookCate_tab) and publishers
// (Publishers_tab), added where missing.
void LoadDemoCategories(TDurEzeConn &conn);
void LoadDemoPublishers(TDurEzeConn &conn);
