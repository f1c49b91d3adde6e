#include "tests/support/pdf_words.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPageLayout>
#include <QRegularExpression>

#include "tests/support/print_service.h"

namespace korval::test {

QRectF PrintableArea(const PageGeometry &page)
{
    return QPageLayout(page.Paper, QPageLayout::Portrait, page.Margins, QPageLayout::Millimeter)
        .paintRect(QPageLayout::Point);
}

std::vector<PdfWord> ReadPdfWords(const QString &document, const QRectF &printable)
{
    // Wine's printer driver writes PostScript whose text survives Ghostscript.
    QString pdf = document;
    QFile file(document);
    if (file.open(QIODevice::ReadOnly) && file.read(2) == "%!") {
        pdf += QStringLiteral(".pdf");
        if (!RunTool(QStringLiteral("ps2pdf"), {HostPath(document), HostPath(pdf)}).ok) {
            ADD_FAILURE() << "ps2pdf (Debian package ghostscript) failed on " << document.toStdString();
            return {};
        }
    }
    const ToolRun pdftotext =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), HostPath(pdf), QStringLiteral("-")});
    if (!pdftotext.ok) {
        ADD_FAILURE() << "pdftotext (Debian package poppler-utils) failed on " << pdf.toStdString() << ": "
                      << pdftotext.errors.toStdString();
        return {};
    }
    const QString xml = QString::fromUtf8(pdftotext.output);
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
