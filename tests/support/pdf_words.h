#pragma once

#include <QRectF>
#include <QString>

#include <vector>

#include "ui/print/report.h"

namespace korval::test {

// One word of a PDF as poppler reads it back, in report units.
struct PdfWord {
    int page;
    QString text;
    double x;    // left edge
    double y;    // top of the line
    QRectF box;  // on the sheet, in points from its top-left corner
};

// The printable area of a page, in points from the sheet's top left corner:
// by default the one the report is laid out on, where a unit is a twip.
QRectF PrintableArea(const PageGeometry &page = {});

// Reads every word of a PDF or PostScript document with its box (pdftotext
// -bbox, after ps2pdf) and maps points back to report units over the given
// printable area. A missing tool, a failed run or a document without words
// fails the calling test: every report prints words.
std::vector<PdfWord> ReadPdfWords(const QString &document, const QRectF &printable = PrintableArea());

}  // namespace korval::test
