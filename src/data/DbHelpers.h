#pragma once

// The helpers every window uses for SQL: transient queries, one-value and
// one-column reads, the two field checks run before a row is posted, and the
// database's date and time. All SQL goes through DM1's connection.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

class TDataSet;
class TField;
class TDurEzeConn;

TDurEzeConn &GetConnection();

// A new dataset on the shared connection, freed with FreeQuery.
TDataSet *NewQuery();
void FreeQuery(TDataSet *&query);
// Closes the dataset, replaces its SQL, clears its client filter and opens it.
void OpenQuery(TDataSet *dataSet, const QString &sql);
void ReopenQuery(TDataSet *query, const QString &sql);

// The first column of the first row as text: empty when there is no row or
// the value is NULL; "1" or "0" for a boolean.
QString GetSingleValue(const QString &sql);
// Appends the named column (or the first) of every row to the list.
void LoadList(QStringList &list, const QString &sql, const QString &column = {});
// True when the table has a row whose column equals the value (and that
// meets the extra condition). With `quote` the value is an SQL string;
// without it the value must be a number.
bool ValueExists(const QString &value, const QString &column, const QString &table,
                 const QString &extraCondition, bool quote);

// The checks of the data module: on failure they show "%s不能为空。" or
// "您输入的%s已存在。" (the caption, or the field's label), ask the window
// to focus the field, and abort silently.
void CheckFieldNotEmpty(TField *field, const QString &caption = {});
// How every check fails: shows the message, asks the window to focus the
// field, and aborts silently.
[[noreturn]] void FailFieldCheck(TField *field, const QString &message);
void CheckFieldUnique(TField *field, const QString &table, const QString &extraCondition = {},
                      const QString &caption = {});
// Both values as text, trimmed, equal without regard to letter case.
bool SameTrimmedText(const QVariant &a, const QVariant &b);

// The database's current date and time (PostgreSQL asks the server; SQLite
// uses the workstation clock).
QDateTime GetServerNow();
// "YYYY-MM-DD HH:MM:SS" with the time, "YYYY-MM-DD" without.
QString GetServerNowText(bool withTime);
// A date (with its time of day when that is not midnight) as an SQL literal.
QString DateLiteral(const QDateTime &value);
QString DateLiteral(const QDate &value);
// Today's date from GetServerNow, as an SQL literal.
QString TodayLiteral();

// Tests pin the clock; an invalid value lets time run again.
void SetServerNowOverride(const QDateTime &now);
