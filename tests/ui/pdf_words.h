#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <vector>

#include "ui/report.h"

namespace korval::test {

// One word of a PDF as poppler reads it back, in report units.
struct PdfWord {
    int page;
    QString text;
    double x;  // left edge
    double y;  // top of the line
};

// Reads every word with its box (pdftotext -bbox) and maps points back to
// report units: the printable area starts 4.25 mm inside the A4 sheet and a
// unit is a twip, 1/20 point. A missing tool, a failed run or a document
// without words fails the calling test: every report prints words.
inline std::vector<PdfWord> ReadPdfWords(const QString &pdf)
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
    const double margin = 4.25 / 25.4 * 72.0;
    const double unit = (595.2756 - 2 * margin) / kReportWidth;
    std::vector<PdfWord> words;
    int page = 0;
    static const char *const kWordOrPage =
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re";
    static const QRegularExpression pattern(QString::fromLatin1(kWordOrPage));
    for (auto it = pattern.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(3);
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.push_back({page, text, (m.captured(1).toDouble() - margin) / unit + kReportLeft,
                         (m.captured(2).toDouble() - margin) / unit + kReportTop});
    }
    if (words.empty())
        ADD_FAILURE() << "pdftotext read no words from " << pdf.toStdString();
    return words;
}

}  // namespace korval::test
