#pragma once

// TGridPrinter: the grid printer of the data module (`PubPrintGrid`). It
// puts a grid on paper: a rich-text block before the grid (the title and the
// top information), the grid with its titles repeated on every page and its
// columns fitted to the page width, rows as tall as their text, a block
// after the grid (print date and record count), and a page footer with a
// line above it. The blocks and footers carry tags ("%[Title]", "&[Page]")
// that the print command fills.
//
// Pages are laid out one at a time, so printing a long list never holds all
// of it; Layout() collects them for a look at what would be printed.

#include <QHash>
#include <QList>
#include <QPageLayout>
#include <QPointer>
#include <QRectF>
#include <QString>

class QPaintDevice;
class QPrinter;
class TDataGrid;
class TGridOutputSource;

class TGridPrinter
{
public:
    TGridPrinter();

    // Rich text before and after the grid (HTML), with %[...] tags.
    QString BeforeGridText;
    QString AfterGridText;
    // Page footer texts; "&[Page]" is the page number.
    QString PageFooterLeft;
    QString PageFooterCenter;
    QString PageFooterRight;
    // Tag -> text, such as "%[Title]" -> "出版单位设置".
    QHash<QString, QString> Substitutions;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QString FontName;
    int FontSize = 9;
    double MarginTopMm = 15;
    double MarginBottomMm = 15;
    double MarginSideMm = 10;
    // The grid printed by Print(printer) and Preview().
    QPointer<TDataGrid> DBGridEh;

    QString Substituted(const QString &text) const;
    QString PageFooterText(const QString &pattern, int page) const;

    struct TPrintItem {
        enum Kind { Html, Title, Cell, Footer, Line };
        Kind kind = Cell;
        QRectF rect;
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    struct TPrintPage {
        int number = 0;
        QList<TPrintItem> items;
        QStringList texts(TPrintItem::Kind kind) const;
    };

    // Every page of the source laid out on `device` within `page` (device
    // pixels, origin at the printable area's corner).
    QList<TPrintPage> Layout(QPaintDevice *device, const QRectF &page,
                             const TGridOutputSource &source) const;
    // Prints the source; returns the number of pages.
    int Print(QPrinter *printer, const TGridOutputSource &source) const;
    // Prints the grid's rows: the selected rows when there are, else all.
    int Print(QPrinter *printer) const;
    // Paper, orientation and margins of this printer.
    void ConfigurePrinter(QPrinter *printer) const;
    // The preview window on the grid, from which the user prints.
    void Preview();

private:
    class TPager;
};

// The one grid printer of the program, with the settings every print uses.
TGridPrinter &PubPrintGrid();
