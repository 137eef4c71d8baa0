#pragma once

// For the time of a bulk write of generated data on SQLite, the connection
// keeps the indexes of a big catalogue in its page cache and does not wait
// for the disk at each commit; the settings it had come back afterwards.
// Only generated benchmark data is written this way: a power cut during
// generation may cost the file, which a benchmark simply makes again. For a
// million titles this more than halves the time. Other kinds are left as
// they are.

#include <QString>

class TDurEzeConn;

class TBulkWriteSettings
{
public:
    explicit TBulkWriteSettings(TDurEzeConn &conn);
    ~TBulkWriteSettings();
    TBulkWriteSettings(const TBulkWriteSettings &) = delete;
    TBulkWriteSettings &operator=(const TBulkWriteSettings &) = delete;

private:
    QString pragma(const QString &name);

    TDurEzeConn &m_conn;
    QString m_cacheSize;    // empty when nothing was changed
    QString m_synchronous;
};
