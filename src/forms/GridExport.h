#pragma once

// The grid exporters: Word-readable RTF, an Excel workbook, an HTML page
// (and, with the widgets, a PDF document). Each writes the source's columns
// and rows in the font 宋体 9 points. A file that cannot be written is a
// TDbError with the program's words and the system's reason.

#include "GridOutputSource.h"

#include <QString>

inline constexpr int ExportFontSize = 9;
QString ExportFontName();  // "宋体"

class TGridExporter
{
public:
    virtual ~TGridExporter() = default;
    // "label=pattern", the entry of the export dialog's format list.
    virtual QString Entry() const = 0;
    virtual void Write(const TGridOutputSource &source, const QString &fileName) const = 0;

    QString Label() const;    // the part before "="
    QString Pattern() const;  // the part after "=", such as "*.xlsx"
};

class TRtfGridExporter : public TGridExporter
{
public:
    QString Entry() const override;
    void Write(const TGridOutputSource &source, const QString &fileName) const override;
    // The whole document as text (plain ASCII: other characters are \u escapes).
    static QByteArray Document(const TGridOutputSource &source);
};

class TXlsxGridExporter : public TGridExporter
{
public:
    QString Entry() const override;
    void Write(const TGridOutputSource &source, const QString &fileName) const override;
    // A worksheet holds at most this many rows below its title row.
    static constexpr int MaxRows = 1048575;
};

class THtmlGridExporter : public TGridExporter
{
public:
    QString Entry() const override;
    void Write(const TGridOutputSource &source, const QString &fileName) const override;
    static QString Document(const TGridOutputSource &source);
};
