#pragma once

// TDM1: the one shared data module of both programs. It owns the connection
// `DurEzeConn`, one named dataset per table or view that windows list or
// edit (with the defaults of new rows and the checks before a row is
// posted), the scratch queries, and the process-wide values set when the
// connection opens: the database kind, its name and server, the base SELECT
// texts and the grid filter marker.

#include "DurEzeConn.h"

#include <QObject>
#include <QString>
#include <QStringList>

class TDataSet;

class TDM1 : public QObject
{
    Q_OBJECT
public:
    explicit TDM1(QObject *parent = nullptr);
    ~TDM1() override;

    // Reads Config.INI (GetConfigPath) and opens the connection. On failure
    // returns false and ConnectError() holds the message to show.
    bool ConnectDatabase();
    // The same with settings already read (tests, the database tool).
    bool ConnectDatabase(const TConnectionSettings &settings);
    QString ConnectError() const { return m_connectError; }

    TDurEzeConn DurEzeConn;

    const TDialect &Dialect() const { return DurEzeConn.Dialect(); }
    QString BaseWhereClause() const { return Dialect().BaseWhereClause(); }

    QString DatabaseKindText;
    QString DatabaseName;    // PostgreSQL database, or the full path of the SQLite file
    QString DatabaseServer;  // PostgreSQL server; empty for SQLite

    QString GridFilterMarker = QStringLiteral("/*FILTER*/");
    QString ReadersBaseSQL;
    QString ReaderCateBaseSQL;
    QString BooksBaseSQL;
    QString BookCateBaseSQL;
    QString LoanListBaseSQL;
    QString PublishersBaseSQL;

    // The datasets, in the order of the module.
    TDataSet *UserQuery = nullptr;
    TDataSet *PubQuery = nullptr;
    TDataSet *FunQuery = nullptr;
    TDataSet *ParQuery = nullptr;
    TDataSet *ItemsQuery = nullptr;
    TDataSet *UserLogQuery = nullptr;
    TDataSet *AccQuery = nullptr;
    TDataSet *ReadersQuery = nullptr;
    TDataSet *BooksQuery = nullptr;
    TDataSet *ReaderCateQuery = nullptr;
    TDataSet *PublishersQuery = nullptr;
    TDataSet *BookCateQuery = nullptr;
    TDataSet *LoanListQuery = nullptr;
    TDataSet *BookLoanStatQuery = nullptr;
    TDataSet *ReaderLoanStatQuery = nullptr;
    TDataSet *BylawQuery = nullptr;
    TDataSet *CopiesQuery = nullptr;
    TDataSet *TempQuery = nullptr;
    TDataSet *BookFindQuery = nullptr;
    TDataSet *CopyListQuery = nullptr;
    TDataSet *PicturesQuery = nullptr;

    QList<TDataSet *> DataSets() const;
    TDataSet *FindDataSet(const QString &name) const;

private:
    void createDataSets();
    void installRules();
    void prepareBaseSql();

    QString m_connectError;
};

// The single instance, created by the program entry before any window.
extern TDM1 *DM1;

// The fields carried into the next new copy, as name=value texts in order
// (kept by the copy dialog, read by the copies' after-insert default).
QStringList &CopyDefaults();

// The message shown when the database cannot be opened, with the error's text.
QString ConnectFailureMessage(const QString &errorText);
