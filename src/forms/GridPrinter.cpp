#include "GridPrinter.h"

#include "DataGrid.h"
#include "DataGridSource.h"
#include "GridOutputSource.h"

#include "shell/ModalSeam.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

#include <functional>

using namespace Qt::StringLiterals;

// Lays out pages one after another and hands each over when it is full.
class TGridPrinter::TPager
{
public:
    TPager(const TGridPrinter &printer, QPaintDevice *device, const QRectF &page,
           const TGridOutputSource &source, std::function<void(const TPrintPage &)> emitPage)
        : m_printer(printer), m_device(device), m_page(page), m_source(source),
          m_emit(std::move(emitPage)),
          m_font(printer.FontName, printer.FontSize),
          m_metrics(m_font, device)
    {
        m_pad = m_metrics.height() * 0.25;
        m_footerHeight = m_metrics.height() * 2;
        m_bottom = m_page.bottom() - m_footerHeight;
        fitColumns();
    }

    void run()
    {
        startPage();
        placeHtml(m_printer.Substituted(m_printer.BeforeGridText));
        placeTitles();
        for (int r = 0; r < m_source.RowCount(); ++r)
            placeRow(r);
        placeHtml(m_printer.Substituted(m_printer.AfterGridText));
        finishPage();
    }

private:
    void fitColumns()
    {
        double total = 0;
        for (int c = 0; c < m_source.ColumnCount(); ++c)
            total += std::max(m_source.ColumnWidth(c), 1);
        double x = m_page.left();
        for (int c = 0; c < m_source.ColumnCount(); ++c) {
            const double w = m_page.width() * std::max(m_source.ColumnWidth(c), 1) / total;
            m_columns.append({x, w});
            x += w;
        }
    }

    double textHeight(const QString &text, double width) const
    {
        const QRectF box = m_metrics.boundingRect(QRectF(0, 0, std::max(width - 2 * m_pad, 1.0), 1e6),
                                                  Qt::TextWordWrap, text);
        return std::max(box.height(), m_metrics.height()) + 2 * m_pad;
    }

    double rowHeight(const std::function<QString(int)> &text) const
    {
        double h = 0;
        for (int c = 0; c < m_columns.size(); ++c)
            h = std::max(h, textHeight(text(c), m_columns[c].second));
        return h;
    }

    void startPage()
    {
        m_current = TPrintPage();
        m_current.number = ++m_pageNumber;
        m_y = m_page.top();
    }

    void finishPage()
    {
        const double lineY = m_page.bottom() - m_footerHeight + m_pad;
        m_current.items.append({TPrintItem::Line, QRectF(m_page.left(), lineY, m_page.width(), 0), {}});
        const QRectF footer(m_page.left(), lineY + m_pad, m_page.width(), m_metrics.height() * 1.2);
        const QList<QPair<QString, Qt::Alignment>> parts{
            {m_printer.PageFooterLeft, Qt::AlignLeft},
            {m_printer.PageFooterCenter, Qt::AlignHCenter},
            {m_printer.PageFooterRight, Qt::AlignRight}};
        for (const auto &[pattern, align] : parts) {
            const QString text = m_printer.PageFooterText(pattern, m_current.number);
            if (!text.isEmpty())
                m_current.items.append({TPrintItem::Footer, footer, text, align});
        }
        m_emit(m_current);
    }

    void newPage(bool repeatTitles)
    {
        finishPage();
        startPage();
        if (repeatTitles)
            placeTitles();
    }

    void placeHtml(const QString &html)
    {
        if (html.trimmed().isEmpty())
            return;
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(m_device);
        doc.setDefaultFont(m_font);
        doc.setDocumentMargin(0);
        doc.setHtml(html);
        doc.setTextWidth(m_page.width());
        const double h = doc.size().height();
        if (m_y + h > m_bottom && m_y > m_page.top())
            newPage(false);
        m_current.items.append({TPrintItem::Html, QRectF(m_page.left(), m_y, m_page.width(), h), html});
        m_y += h + m_pad;
    }

    void placeTitles()
    {
        const double h = rowHeight([this](int c) { return m_source.Caption(c); });
        for (int c = 0; c < m_columns.size(); ++c)
            m_current.items.append({TPrintItem::Title,
                                    QRectF(m_columns[c].first, m_y, m_columns[c].second, h),
                                    m_source.Caption(c), Qt::AlignCenter});
        m_y += h;
    }

    void placeRow(int r)
    {
        QStringList cells;
        for (int c = 0; c < m_columns.size(); ++c)
            cells.append(m_source.Cell(r, c));
        const double h = rowHeight([&cells](int c) { return cells[c]; });
        if (m_y + h > m_bottom)
            newPage(true);
        for (int c = 0; c < m_columns.size(); ++c)
            m_current.items.append({TPrintItem::Cell,
                                    QRectF(m_columns[c].first, m_y, m_columns[c].second, h), cells[c],
                                    m_source.IsNumeric(c) ? Qt::AlignRight : Qt::AlignLeft});
        m_y += h;
    }

    const TGridPrinter &m_printer;
    QPaintDevice *m_device;
    QRectF m_page;
    const TGridOutputSource &m_source;
    std::function<void(const TPrintPage &)> m_emit;
    QFont m_font;
    QFontMetricsF m_metrics;
    QList<QPair<double, double>> m_columns;  // left, width
    double m_pad = 0;
    double m_footerHeight = 0;
    double m_bottom = 0;
    double m_y = 0;
    int m_pageNumber = 0;
    TPrintPage m_current;
};

namespace {

void paintItem(QPainter &p, const TGridPrinter::TPrintItem &item, const QFont &font, double pad)
{
    using Item = TGridPrinter::TPrintItem;
    switch (item.kind) {
    case Item::Html: {
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(p.device());
        doc.setDefaultFont(font);
        doc.setDocumentMargin(0);
        doc.setHtml(item.text);
        doc.setTextWidth(item.rect.width());
        p.save();
        p.translate(item.rect.topLeft());
        doc.drawContents(&p);
        p.restore();
        break;
    }
    case Item::Title:
    case Item::Cell: {
        p.save();
        if (item.kind == Item::Title)
            p.fillRect(item.rect, QColor(0xe8, 0xe8, 0xe8));
        p.setPen(QPen(Qt::gray, 0));
        p.drawRect(item.rect);
        QFont f = font;
        f.setBold(item.kind == Item::Title);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(item.rect.adjusted(pad, pad, -pad, -pad),
                   int(item.alignment | Qt::AlignVCenter) | Qt::TextWordWrap, item.text);
        p.restore();
        break;
    }
    case Item::Footer:
        p.setFont(font);
        p.drawText(item.rect, int(item.alignment | Qt::AlignVCenter), item.text);
        break;
    case Item::Line:
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(item.rect.topLeft(), item.rect.topRight());
        break;
    }
}

} // namespace

QStringList TGridPrinter::TPrintPage::texts(TPrintItem::Kind kind) const
{
    QStringList out;
    for (const TPrintItem &item : items) {
        if (item.kind != kind)
            continue;
        if (kind == TPrintItem::Html) {
            QTextDocument doc;
            doc.setHtml(item.text);
            out.append(doc.toPlainText());
        } else {
            out.append(item.text);
        }
    }
    return out;
}

TGridPrinter::TGridPrinter() : FontName(u"宋体"_s)
{
    BeforeGridText =
        u"<p align=\"center\" style=\"font-family:'黑体'; font-size:20pt;\">%[Title]</p>"
        "<p style=\"font-family:'宋体'; font-size:9pt;\">%[TopInfoText]</p>"_s;
    AfterGridText = u"<div style=\"font-family:'宋体'; font-size:9pt;\"><p>&nbsp;</p>"
                    "<p>打印日期：%[PrintDate]</p><p>记录总数：%[RecCount]</p></div>"_s;
    PageFooterCenter = u"第&[Page]页"_s;
    PageFooterRight = u"- Orvella图书馆管理系统 -"_s;
}

QString TGridPrinter::Substituted(const QString &text) const
{
    QString out = text;
    for (auto it = Substitutions.cbegin(); it != Substitutions.cend(); ++it)
        out.replace(it.key(), it.value().toHtmlEscaped());
    return out;
}

QString TGridPrinter::PageFooterText(const QString &pattern, int page) const
{
    QString out = pattern;
    return out.replace(u"&[Page]"_s, QString::number(page));
}

QList<TGridPrinter::TPrintPage> TGridPrinter::Layout(QPaintDevice *device, const QRectF &page,
                                                     const TGridOutputSource &source) const
{
    QList<TPrintPage> pages;
    TPager(*this, device, page, source, [&pages](const TPrintPage &p) { pages.append(p); }).run();
    return pages;
}

void TGridPrinter::ConfigurePrinter(QPrinter *printer) const
{
    printer->setPageOrientation(Orientation);
    printer->setPageMargins(QMarginsF(MarginSideMm, MarginTopMm, MarginSideMm, MarginBottomMm),
                            QPageLayout::Millimeter);
}

int TGridPrinter::Print(QPrinter *printer, const TGridOutputSource &source) const
{
    QPainter painter;
    if (!painter.begin(printer))
        return 0;
    const QRectF page(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size());
    const QFont font(FontName, FontSize);
    const double pad = QFontMetricsF(font, printer).height() * 0.25;
    int count = 0;
    TPager(*this, printer, page, source, [&](const TPrintPage &p) {
        if (count++ > 0)
            printer->newPage();
        for (const TPrintItem &item : p.items)
            paintItem(painter, item, font, pad);
    }).run();
    painter.end();
    return count;
}

int TGridPrinter::Print(QPrinter *printer) const
{
    if (!DBGridEh)
        return 0;
    const TDataGridSource source(DBGridEh, DBGridEh->HasRowSelection());
    return Print(printer, source);
}

void TGridPrinter::Preview()
{
    if (!DBGridEh)
        return;
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(&printer);
    QPrintPreviewDialog preview(&printer, DBGridEh->window());
    preview.setObjectName(u"PrintPreview"_s);
    preview.setWindowTitle(u"打印预览"_s);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter *p) { Print(p); });
    ExecModal(preview);
}

TGridPrinter &PubPrintGrid()
{
    static TGridPrinter printer;
    return printer;
}
