#pragma once

// The error that the data layer throws. `message` is in the program's own
// words for the user; `detail` carries the driver's text and the SQL, shown
// with it where that helps.

#include <QString>
#include <stdexcept>

class TDbError : public std::runtime_error
{
public:
    explicit TDbError(const QString &message, const QString &detail = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_detail(detail)
    {
    }

    const QString &message() const { return m_message; }
    const QString &detail() const { return m_detail; }

    // Message and detail on separate lines, for a message box.
    QString fullText() const
    {
        return m_detail.isEmpty() ? m_message : m_message + u"\n" + m_detail;
    }

private:
    QString m_message;
    QString m_detail;
};
