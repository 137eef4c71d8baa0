#pragma once

// TDM1: the one shared data module of both programs. It owns the connection
// `DurEzeConn` and the process-wide values set when the connection opens:
// the database kind, its name and server, the base SELECT texts and the
// grid filter marker.

#include "DurEzeConn.h"

#include <QObject>
#include <QString>

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

private:
    void prepareBaseSql();

    QString m_connectError;
};

// The single instance, created by the program entry before any window.
extern TDM1 *DM1;

// The message shown when the database cannot be opened, with the error's text.
QString ConnectFailureMessage(const QString &errorText);
