#include "GridExport.h"

#include "data/DbError.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include <xlsxwriter.h>

using namespace Qt::StringLiterals;

namespace {

// Rows are written to the file as they are read, so a long list never sits
// in memory whole.
constexpr int FlushEvery = 512;

[[noreturn]] void cannotWrite(const QString &fileName, const QString &reason)
{
    throw TDbError(u"无法写入文件“%1”。"_s.arg(fileName), reason);
}

void openForWriting(QSaveFile &file)
{
    if (!file.open(QIODevice::WriteOnly))
        cannotWrite(file.fileName(), file.errorString());
}

void commit(QSaveFile &file)
{
    if (!file.commit())
        cannotWrite(file.fileName(), file.errorString());
}

void put(QIODevice &out, const QByteArray &bytes)
{
    if (out.write(bytes) != bytes.size())
        throw TDbError(u"写入文件失败。"_s, out.errorString());
}

// --- RTF ------------------------------------------------------------------------

// Text for an RTF document: ASCII as it is, every other character as a
// Unicode escape with "?" for readers that know none.
QByteArray rtfText(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\n') {
            out += "\\line ";
        } else if (u == u'\r') {
            continue;
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

// The font's name as the font table wants it: in the document's code page.
QByteArray rtfFontName()
{
    QStringEncoder gbk("GBK");
    if (!gbk.isValid())
        return "SimSun";
    const QByteArray bytes = gbk.encode(ExportFontName());
    QByteArray out;
    for (const char b : bytes)
        out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
    return out;
}

// The right edges of the columns in twips, fitted into the width of an A4
// page between its margins.
QList<int> rtfCellEdges(const TGridOutputSource &source)
{
    constexpr int pageWidth = 9638;
    constexpr int twipsPerPixel = 15;
    qint64 total = 0;
    for (int c = 0; c < source.ColumnCount(); ++c)
        total += std::max(source.ColumnWidth(c), 1) * twipsPerPixel;
    const double scale = total > pageWidth ? double(pageWidth) / double(total) : 1.0;
    QList<int> edges;
    double x = 0;
    for (int c = 0; c < source.ColumnCount(); ++c) {
        x += std::max(source.ColumnWidth(c), 1) * twipsPerPixel * scale;
        edges.append(int(x));
    }
    return edges;
}

QByteArray rtfRow(const TGridOutputSource &source, const QList<int> &edges, int row)
{
    QByteArray out = "\\trowd\\trgaph70\\trleft0";
    if (row < 0)
        out += "\\trhdr";
    for (const int edge : edges)
        out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
               "\\clbrdrr\\brdrs\\brdrw10\\cellx" + QByteArray::number(edge);
    out += '\n';
    for (int c = 0; c < source.ColumnCount(); ++c) {
        const bool right = row >= 0 && source.IsNumeric(c);
        out += right ? "\\pard\\intbl\\qr " : "\\pard\\intbl\\ql ";
        if (row < 0)
            out += "{\\b " + rtfText(source.Caption(c)) + "}";
        else
            out += rtfText(source.Cell(row, c));
        out += "\\cell\n";
    }
    out += "\\row\n";
    return out;
}

void writeRtf(QIODevice &out, const TGridOutputSource &source)
{
    put(out, "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052\n{\\fonttbl{\\f0\\fnil\\fcharset134 "
                 + rtfFontName() + ";}}\n"
                 "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt850\\margb850\n"
                 "\\uc1\\pard\\plain\\f0\\fs" + QByteArray::number(ExportFontSize * 2) + "\n");
    if (!source.Title().isEmpty())
        put(out, "{\\pard\\qc\\b\\fs28 " + rtfText(source.Title()) + "\\par}\n");
    const QList<int> edges = rtfCellEdges(source);
    QByteArray chunk = rtfRow(source, edges, -1);
    for (int r = 0; r < source.RowCount(); ++r) {
        chunk += rtfRow(source, edges, r);
        if (r % FlushEvery == 0) {
            put(out, chunk);
            chunk.clear();
        }
    }
    put(out, chunk + "\\pard\\par\n}\n");
}

// --- HTML -----------------------------------------------------------------------

QString htmlHead(const QString &title)
{
    const QString font = u"font-family:\""_s + ExportFontName() + u"\",SimSun,serif;font-size:"_s
                         + QString::number(ExportFontSize) + u"pt"_s;
    return u"<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>"_s
           + title.toHtmlEscaped() + u"</title>\n<style>\nbody,table{"_s + font
           + u"}\ntable{border-collapse:collapse}\n"
             "th,td{border:1px solid #808080;padding:2px 4px;vertical-align:top}\n"
             "th{background:#e8e8e8}\ntd.n{text-align:right}\n</style>\n</head>\n<body>\n"_s;
}

QString htmlRow(const TGridOutputSource &source, int row)
{
    QString out = u"<tr>"_s;
    for (int c = 0; c < source.ColumnCount(); ++c) {
        if (row < 0)
            out += u"<th>"_s + source.Caption(c).toHtmlEscaped() + u"</th>"_s;
        else
            out += (source.IsNumeric(c) ? u"<td class=\"n\">"_s : u"<td>"_s)
                   + source.Cell(row, c).toHtmlEscaped() + u"</td>"_s;
    }
    return out + u"</tr>\n"_s;
}

void writeHtml(QIODevice &out, const TGridOutputSource &source)
{
    QString chunk = htmlHead(source.Title());
    if (!source.Title().isEmpty())
        chunk += u"<h2>"_s + source.Title().toHtmlEscaped() + u"</h2>\n"_s;
    chunk += u"<table>\n<thead>\n"_s + htmlRow(source, -1) + u"</thead>\n<tbody>\n"_s;
    for (int r = 0; r < source.RowCount(); ++r) {
        chunk += htmlRow(source, r);
        if (r % FlushEvery == 0) {
            put(out, chunk.toUtf8());
            chunk.clear();
        }
    }
    put(out, (chunk + u"</tbody>\n</table>\n</body>\n</html>\n"_s).toUtf8());
}

// --- XLSX -----------------------------------------------------------------------

// Owns the workbook until it is closed (written) or dropped on an error.
class TWorkbook
{
public:
    explicit TWorkbook(const QString &fileName) : m_fileName(fileName)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go to a temporary file as they come
        m_book = workbook_new_opt(QFile::encodeName(fileName).constData(), &options);
        if (!m_book)
            cannotWrite(fileName, u"libxlsxwriter"_s);
    }
    ~TWorkbook()
    {
        if (m_book) {
            workbook_close(m_book);  // frees it; the half-written file goes
            QFile::remove(m_fileName);
        }
    }
    TWorkbook(const TWorkbook &) = delete;
    TWorkbook &operator=(const TWorkbook &) = delete;

    lxw_workbook *book() const { return m_book; }
    void close()
    {
        const lxw_error error = workbook_close(std::exchange(m_book, nullptr));
        if (error != LXW_NO_ERROR)
            cannotWrite(m_fileName, QString::fromUtf8(lxw_strerror(error)));
    }

private:
    QString m_fileName;
    lxw_workbook *m_book = nullptr;
};

void check(lxw_error error, const QString &fileName)
{
    if (error != LXW_NO_ERROR)
        cannotWrite(fileName, QString::fromUtf8(lxw_strerror(error)));
}

lxw_format *xlsxFormat(lxw_workbook *book, bool bold, bool right)
{
    static const QByteArray font = ExportFontName().toUtf8();
    lxw_format *f = workbook_add_format(book);
    format_set_font_name(f, font.constData());
    format_set_font_size(f, ExportFontSize);
    format_set_border(f, LXW_BORDER_THIN);
    if (bold)
        format_set_bold(f);
    if (right)
        format_set_align(f, LXW_ALIGN_RIGHT);
    return f;
}

void writeXlsxCell(lxw_worksheet *sheet, int row, int column, const QString &text,
                   bool numeric, lxw_format *format, const QString &fileName)
{
    if (numeric) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok) {
            check(worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(column), value, format),
                  fileName);
            return;
        }
    }
    // A cell holds at most 32767 characters.
    const QByteArray utf8 = text.left(32767).toUtf8();
    check(worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), utf8.constData(), format),
          fileName);
}

} // namespace

QString ExportFontName()
{
    return u"宋体"_s;
}

QString TGridExporter::Label() const
{
    return Entry().section(u'=', 0, 0);
}

QString TGridExporter::Pattern() const
{
    return Entry().section(u'=', 1);
}

QString TRtfGridExporter::Entry() const
{
    return u"Microsoft Word 文件=*.doc"_s;
}

QByteArray TRtfGridExporter::Document(const TGridOutputSource &source)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeRtf(buffer, source);
    return buffer.data();
}

void TRtfGridExporter::Write(const TGridOutputSource &source, const QString &fileName) const
{
    QSaveFile file(fileName);
    openForWriting(file);
    writeRtf(file, source);
    commit(file);
}

QString THtmlGridExporter::Entry() const
{
    return u"HTML 网页文件=*.html"_s;
}

QString THtmlGridExporter::Document(const TGridOutputSource &source)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeHtml(buffer, source);
    return QString::fromUtf8(buffer.data());
}

void THtmlGridExporter::Write(const TGridOutputSource &source, const QString &fileName) const
{
    QSaveFile file(fileName);
    openForWriting(file);
    writeHtml(file, source);
    commit(file);
}

QString TXlsxGridExporter::Entry() const
{
    return u"Microsoft Excel 文件=*.xlsx"_s;
}

void TXlsxGridExporter::Write(const TGridOutputSource &source, const QString &fileName) const
{
    if (source.RowCount() > MaxRows)
        throw TDbError(u"Excel 工作表最多容纳 %1 行，要导出的 %2 行太多了。请先筛选，或选中要导出的行。"_s
                           .arg(MaxRows)
                           .arg(source.RowCount()));
    TWorkbook workbook(fileName);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.book(), nullptr);
    lxw_format *title = xlsxFormat(workbook.book(), true, false);
    lxw_format *text = xlsxFormat(workbook.book(), false, false);
    lxw_format *number = xlsxFormat(workbook.book(), false, true);
    for (int c = 0; c < source.ColumnCount(); ++c) {
        // Screen pixels to character widths, roughly.
        const double width = std::clamp(source.ColumnWidth(c) / 7.0, 4.0, 80.0);
        check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr), fileName);
    }
    for (int c = 0; c < source.ColumnCount(); ++c)
        writeXlsxCell(sheet, 0, c, source.Caption(c), false, title, fileName);
    for (int r = 0; r < source.RowCount(); ++r) {
        for (int c = 0; c < source.ColumnCount(); ++c) {
            const bool numeric = source.IsNumeric(c);
            const QString cell = source.Cell(r, c);
            if (!cell.isEmpty())
                writeXlsxCell(sheet, r + 1, c, cell, numeric, numeric ? number : text, fileName);
        }
    }
    workbook.close();
}
