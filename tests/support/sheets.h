#pragma once

// Reading back what a printer was given: its paper, its ink, its words.

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

#include "tests/support/pdf_words.h"

namespace korval::test {

// The printed size of a PDF's first page, in points.
QSizeF PageSize(const QString &pdf);

// What a printer was given, read as a sheet: its paper, its first page as
// dots (a dot `dot` points wide, the first `origin` points from the sheet's
// top-left corner) and, where it is a PDF with text, its words.
struct Sheet {
    QSizeF paper;
    QImage dots;
    double dot = 0;
    QPointF origin;
    std::vector<PdfWord> words;
};

// A PCL raster as CUPS's rastertohp writes it: page size, resolution, raster
// origin and uncompressed rows. Anything else in it fails the calling test.
Sheet ReadPclSheet(const QByteArray &pcl);

// A PDF's paper, its first page as poppler renders it, and its words.
Sheet ReadPdfSheet(const QString &pdf, const QRectF &printable, bool withWords);

// What left the filter chain, whatever its form: PDF, PostScript (turned
// into PDF by Ghostscript's ps2pdf; its text comes back as pictures of
// glyphs, so only its dots are read) or a PCL raster.
Sheet ReadSheet(const QString &output, const QRectF &printable);

// A line of ink across the page (a line of text, the logo), in report units
// over the given printable area: its top, bottom and left end.
struct Band {
    double top, bottom, left;
};

std::vector<Band> BandsOf(const Sheet &sheet, const QRectF &printable);

// Every line of `sheet` where KORVAL put it on the page it laid out
// (`laidOut`, on A4 less 4.25 mm) relative to the printable area, none of it
// cut off; and where the words can be read, each of them on the sheet and in
// its place. Fails the calling test otherwise.
void ExpectLaidOutAs(const Sheet &sheet, const QRectF &printable, const Sheet &laidOut);

}  // namespace korval::test
