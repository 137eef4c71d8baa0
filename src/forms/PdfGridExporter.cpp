#include "PdfGridExporter.h"

#include "GridPrinter.h"

#include "data/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

using namespace Qt::StringLiterals;

QString TPdfGridExporter::Entry() const
{
    return u"PDF 文件=*.pdf"_s;
}

void TPdfGridExporter::Write(const TGridOutputSource &source, const QString &fileName) const
{
    // QPrinter says nothing when it cannot write: try the file first.
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly))
            throw TDbError(u"无法写入文件“%1”。"_s.arg(fileName), probe.errorString());
    }
    TGridPrinter printer;
    printer.BeforeGridText = source.Title().isEmpty()
                                 ? QString()
                                 : u"<p align=\"center\" style=\"font-family:'黑体'; font-size:16pt;\">"_s
                                       + source.Title().toHtmlEscaped() + u"</p>"_s;
    printer.AfterGridText.clear();
    printer.PageFooterRight.clear();
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fileName);
    pdf.setDocName(source.Title().isEmpty() ? QFileInfo(fileName).completeBaseName() : source.Title());
    printer.ConfigurePrinter(&pdf);
    if (printer.Print(&pdf, source) == 0)
        throw TDbError(u"无法写入文件“%1”。"_s.arg(fileName));
}
