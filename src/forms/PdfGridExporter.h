#pragma once

// The PDF exporter: the grid laid out as the grid printer prints it, with the
// source's title above it and page numbers below, into a PDF file.

#include "GridExport.h"

class TPdfGridExporter : public TGridExporter
{
public:
    QString Entry() const override;
    void Write(const TGridOutputSource &source, const QString &fileName) const override;
};
