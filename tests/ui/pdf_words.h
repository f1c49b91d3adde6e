#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>

#include <vector>

#include "ui/report.h"

namespace korval::test {

// One word of a PDF as poppler reads it back, in report units.
struct PdfWord {
    int page;
    QString text;
    double x;    // left edge
    double y;    // top of the line
    QRectF box;  // on the sheet, in points from its top-left corner
};

// The printable area the report is laid out on by default: an A4 sheet less
// 4.25 mm at each edge, where a report unit is a twip (1/20 point).
inline QRectF A4PrintableArea()
{
    const double margin = 4.25 / 25.4 * 72.0;
    return QRectF(margin, margin, 595.2756 - 2 * margin, 841.8898 - 2 * margin);
}

// Reads every word with its box (pdftotext -bbox) and maps points back to
// report units over the given printable area. A missing tool, a failed run or
// a document without words fails the calling test: every report prints words.
inline std::vector<PdfWord> ReadPdfWords(const QString &pdf, const QRectF &printable = A4PrintableArea())
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForStarted(30000)) {
        ADD_FAILURE() << "pdftotext did not start (Debian package poppler-utils): "
                      << pdftotext.errorString().toStdString();
        return {};
    }
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitStatus() != QProcess::NormalExit
        || pdftotext.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << pdf.toStdString() << ": "
                      << pdftotext.readAllStandardError().toStdString();
        return {};
    }
    const QString xml = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const double unitX = printable.width() / kReportWidth, unitY = printable.height() / kReportHeight;
    std::vector<PdfWord> words;
    int page = 0;
    static const char *const kWordOrPage =
        R"re(<page |<word xMin="(-?[\d.]+)" yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" yMax="(-?[\d.]+)">([^<]*)</word>)re";
    static const QRegularExpression pattern(QString::fromLatin1(kWordOrPage));
    for (auto it = pattern.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        words.push_back({page, text, (box.left() - printable.left()) / unitX + kReportLeft,
                         (box.top() - printable.top()) / unitY + kReportTop, box});
    }
    if (words.empty())
        ADD_FAILURE() << "pdftotext read no words from " << pdf.toStdString();
    return words;
}

}  // namespace korval::test
