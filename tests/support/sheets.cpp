#include "tests/support/sheets.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cctype>

#include "tests/support/print_service.h"
#include "ui/print/report.h"

namespace korval::test {

QSizeF PageSize(const QString &pdf)
{
    const ToolRun pdfinfo = RunTool(QStringLiteral("pdfinfo"), {HostPath(pdf)});
    if (!pdfinfo.ok) {
        ADD_FAILURE() << "pdfinfo (Debian package poppler-utils) failed on " << pdf.toStdString();
        return {};
    }
    static const QRegularExpression size(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"));
    const auto m = size.match(QString::fromUtf8(pdfinfo.output));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

Sheet ReadPclSheet(const QByteArray &pcl)
{
    Sheet sheet;
    int resolution = 0, width = 0, height = 0, row = 0;
    double originX = 0, originY = 0;  // decipoints
    for (qsizetype i = 0; i < pcl.size() && pcl[i] != '\f';) {
        if (pcl[i] != '\x1b' || i + 2 >= pcl.size() || pcl[i + 1] == 'E') {
            i += pcl[i] == '\x1b' ? 2 : 1;
            continue;
        }
        const QByteArray group = pcl.mid(i + 1, 2);
        i += 3;
        // The parameters of a group: a value and a letter each, the last one upper case.
        for (bool more = true; more && i < pcl.size(); ++i) {
            const qsizetype start = i;
            while (i < pcl.size() && (std::isdigit(static_cast<unsigned char>(pcl[i])) || pcl[i] == '.'))
                ++i;
            if (i >= pcl.size())
                break;
            const int value = pcl.mid(start, i - start).toInt();
            const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(pcl[i])));
            more = std::islower(static_cast<unsigned char>(pcl[i]));
            const QByteArray command = group + letter;
            if (command == "&lA")
                sheet.paper = value == 2 ? Points(QPageSize::Letter)
                    : value == 26        ? Points(QPageSize::A4)
                                         : QSizeF();
            else if (command == "*tR")
                resolution = value;
            else if (command == "*rS")
                width = value;
            else if (command == "*rT")
                height = value;
            else if (command == "&aH")
                originX = value;
            else if (command == "&aV")
                originY = value;
            else if (command == "*rA")
                sheet.dots = QImage(width, height, QImage::Format_Grayscale8), sheet.dots.fill(255);
            else if (command == "*bM" && value != 0)
                ADD_FAILURE() << "compressed PCL raster rows (mode " << value << ")";
            else if (command == "*bY")
                row += value;
            else if (command == "*bW") {
                for (int b = 0; b < value && i + 1 + b < pcl.size(); ++b)
                    for (int bit = 0; bit < 8; ++bit)
                        if ((static_cast<unsigned char>(pcl[i + 1 + b]) & (0x80 >> bit)) && b * 8 + bit < width
                            && row < height)
                            sheet.dots.setPixel(b * 8 + bit, row, 0);
                i += value;
                ++row;
            }
        }
    }
    if (resolution <= 0 || sheet.dots.isNull() || sheet.paper.isEmpty()) {
        ADD_FAILURE() << "no page size, resolution or raster in the PCL";
        return {};
    }
    // PCL's logical page starts a quarter inch in from the left edge.
    sheet.dot = 72.0 / resolution;
    sheet.origin = QPointF(18 + originX / 10, originY / 10);
    return sheet;
}

Sheet ReadPdfSheet(const QString &pdf, const QRectF &printable, bool withWords)
{
    Sheet sheet{PageSize(pdf), {}, 0.5, {}, {}};
    const ToolRun pdftoppm = RunTool(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("144"),
                                      QStringLiteral("-singlefile"), HostPath(pdf)});
    if (!pdftoppm.ok || !sheet.dots.loadFromData(pdftoppm.output, "PGM"))
        ADD_FAILURE() << "pdftoppm (Debian package poppler-utils) could not render " << pdf.toStdString();
    if (withWords)
        sheet.words = ReadPdfWords(pdf, printable);
    return sheet;
}

Sheet ReadSheet(const QString &output, const QRectF &printable)
{
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << output.toStdString();
        return {};
    }
    const QByteArray data = file.readAll();
    if (data.startsWith("\x1b"))
        return ReadPclSheet(data);
    if (data.startsWith("%PDF"))
        return ReadPdfSheet(output, printable, true);
    if (!data.startsWith("%!")) {
        ADD_FAILURE() << output.toStdString() << " is neither PDF, PostScript nor PCL";
        return {};
    }
    const QString pdf = output + QStringLiteral(".pdf");
    if (!RunTool(QStringLiteral("ps2pdf"), {HostPath(output), HostPath(pdf)}).ok) {
        ADD_FAILURE() << "ps2pdf (Debian package ghostscript) failed on " << output.toStdString();
        return {};
    }
    return ReadPdfSheet(pdf, printable, false);
}

std::vector<Band> BandsOf(const Sheet &sheet, const QRectF &printable)
{
    const auto x = [&](int dot) {
        return (sheet.origin.x() + dot * sheet.dot - printable.left()) / printable.width() * kReportWidth
            + kReportLeft;
    };
    const auto y = [&](int dot) {
        return (sheet.origin.y() + dot * sheet.dot - printable.top()) / printable.height() * kReportHeight
            + kReportTop;
    };
    std::vector<Band> bands;
    int lastInked = -1000;
    for (int row = 0; row < sheet.dots.height(); ++row) {
        const uchar *line = sheet.dots.constScanLine(row);
        int left = -1;
        for (int column = 0; column < sheet.dots.width() && left < 0; ++column)
            if (line[column] < 128)
                left = column;
        if (left < 0)
            continue;
        // Rows less than about a millimetre apart belong to one band.
        if (y(row) - y(lastInked) > 60)
            bands.push_back({y(row), y(row + 1), x(left)});
        bands.back().bottom = y(row + 1);
        bands.back().left = std::min(bands.back().left, x(left));
        lastInked = row;
    }
    return bands;
}

void ExpectLaidOutAs(const Sheet &sheet, const QRectF &printable, const Sheet &laidOut)
{
    const std::vector<Band> bands = BandsOf(sheet, printable);
    const std::vector<Band> expected = BandsOf(laidOut, PrintableArea());
    ASSERT_EQ(bands.size(), expected.size());
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_NEAR(bands[i].top, expected[i].top, 40) << "line " << i;
        EXPECT_NEAR(bands[i].bottom, expected[i].bottom, 40) << "line " << i;
        EXPECT_NEAR(bands[i].left, expected[i].left, 40) << "line " << i;
    }
    if (sheet.words.empty())
        return;
    ASSERT_EQ(sheet.words.size(), laidOut.words.size());
    for (std::size_t i = 0; i < sheet.words.size(); ++i) {
        const PdfWord &w = sheet.words[i];
        EXPECT_TRUE(QRectF(QPointF(), sheet.paper).contains(w.box)) << w.text.toStdString() << " off the sheet";
        EXPECT_EQ(w.text, laidOut.words[i].text);
        EXPECT_NEAR(w.x, laidOut.words[i].x, 40) << w.text.toStdString();
        EXPECT_NEAR(w.y, laidOut.words[i].y, 40) << w.text.toStdString();
    }
}

}  // namespace korval::test
