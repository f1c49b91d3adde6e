#include "ui/print/report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "engine/numbers.h"
#include "ui/artwork.h"
#include "ui/print/printtexts.h"

namespace korval {
namespace {

constexpr float kBottom = 15954.0f;
constexpr int kLampPitch = 1600;
constexpr int kResultPitch = 2667;

// The printer's current position and font. The position is single precision,
// like the page surface the layout was made for.
class ReportWriter {
public:
    ReportWriter(QPainter &painter, std::function<void()> newPage)
        : m_painter(painter), m_newPage(std::move(newPage)), m_font(SansFont(Lettering::Report))
    {
        SetFont(10, false);
        m_tableLine = m_lineSpacing;
    }

    void SetFont(int points, bool bold)
    {
        // A point is 20 report units.
        m_font.setPixelSize(points * 20);
        m_font.setBold(bold);
        m_painter.setFont(m_font);
        const QFontMetricsF metrics(m_font, m_painter.device());
        m_ascent = static_cast<float>(metrics.ascent());
        m_lineSpacing = static_cast<float>(metrics.lineSpacing());
    }

    float x = static_cast<float>(kReportLeft);
    float y = static_cast<float>(kReportTop);

    // The line spacing of the 10-point table font.
    float TableLine() const { return m_tableLine; }

    void NewPage()
    {
        m_newPage();
        y = 0.0f;
    }

    // Starts a new page when `height` more units would not fit entirely.
    bool BreakUnlessFits(float height)
    {
        if (y + height <= kBottom)
            return false;
        NewPage();
        return true;
    }

    void Print(const QString &text)
    {
        m_painter.drawText(QPointF(x, y + m_ascent), text);
        y += m_lineSpacing;
    }

    // A line of its own, `gap` below the last one.
    void Line(float left, float gap, const QString &text)
    {
        x = left;
        y += gap;
        BreakUnlessFits(m_lineSpacing);
        Print(text);
    }

    // A bold 12-point heading, then its table in 10 points. The heading, the
    // captions and the first row under them share a page.
    void Section(const QString &heading, float gap, const ReportTable &table, int columnsLeftOut, int pitch)
    {
        SetFont(12, true);
        x = 0.0f;
        y += gap;
        float together = m_lineSpacing + 350.0f + m_tableLine;
        if (!table.Rows.isEmpty() && Visible(table.Rows.first(), columnsLeftOut))
            together += 80.0f + 130.0f + m_tableLine;
        BreakUnlessFits(together);
        Print(heading);
        SetFont(10, false);
        y += 350.0f;
        PrintTable(table, columnsLeftOut, pitch);
    }

    // Captions of a table, all at one anchor.
    void PrintCaptions(const QStringList &captions, int count, int pitch)
    {
        const std::int64_t anchor = RoundHalfEven(y);
        for (int k = 1; k <= count; ++k) {
            x = static_cast<float>((k - 1) * pitch);
            y = static_cast<float>(anchor);
            Print(captions.value(k - 1));
        }
    }

    // A row whose printed cells are all blank (the blank row and the total
    // row of a result, whose amounts stay off paper) shows nothing.
    static bool Visible(const ReportTable::Row &row, int columnsLeftOut)
    {
        if (!row.Text.trimmed().isEmpty())
            return true;
        const qsizetype printed = row.SubItems.size() - columnsLeftOut;
        for (qsizetype j = 0; j < printed; ++j)
            if (!row.SubItems[j].trimmed().isEmpty())
                return true;
        return false;
    }

    void PrintTable(const ReportTable &table, int columnsLeftOut, int pitch)
    {
        const int columns = static_cast<int>(table.Captions.size()) - columnsLeftOut;
        PrintCaptions(table.Captions, columns, pitch);
        y += 80.0f;
        for (const ReportTable::Row &row : table.Rows) {
            y += 130.0f;
            if (y + m_tableLine > kBottom) {
                // Nothing visible is lost by leaving a blank row off the
                // page, and no page starts with captions over blank rows.
                if (!Visible(row, columnsLeftOut))
                    continue;
                NewPage();
                PrintCaptions(table.Captions, columns, pitch);
                y += 80.0f + 130.0f;
            }
            x = 0.0f;
            const std::int64_t anchor = RoundHalfEven(y);
            Print(row.Text);
            const int subItems = static_cast<int>(row.SubItems.size()) - columnsLeftOut;
            for (int j = 1; j <= subItems; ++j) {
                x = static_cast<float>(j * pitch);
                y = static_cast<float>(anchor);
                Print(row.SubItems.value(j - 1));
            }
        }
    }

private:
    QPainter &m_painter;
    std::function<void()> m_newPage;
    QFont m_font;
    float m_ascent = 0.0f;
    float m_lineSpacing = 0.0f;
    float m_tableLine = 0.0f;
};

}  // namespace

void PaintReport(QPainter &painter, const QSizeF &printableSize, const ReportContent &content,
                 const std::function<void()> &newPage)
{
    // A paged device paints from the top-left corner of its printable area.
    painter.setViewport(QRect(QPoint(0, 0), printableSize.toSize()));
    painter.setWindow(static_cast<int>(kReportLeft), static_cast<int>(kReportTop), static_cast<int>(kReportWidth),
                      static_cast<int>(kReportHeight));
    painter.setPen(Qt::black);

    ReportWriter out(painter, newPage);
    const Language language = content.Language;

    // 250 x 70 pixels at 96 dpi.
    painter.drawImage(QRectF(0, 0, 3750, 1050), content.Logo);

    out.SetFont(16, true);
    out.Line(2500.0f, 1900.0f, printtexts::Text(printtexts::Title, language));
    out.Section(printtexts::Text(printtexts::ProjectHeading, language), 800.0f, content.Lamps, 0, kLampPitch);
    out.Line(0.0f, 270.0f, printtexts::Text(printtexts::Power1hLine, language) + content.Power1h);
    out.Line(0.0f, 150.0f, printtexts::Text(printtexts::Power3hLine, language) + content.Power3h);
    // The unit and total price columns stay off paper.
    out.Section(printtexts::Text(printtexts::ResultsHeading, language), 1000.0f, content.Results, 2, kResultPitch);
}

namespace {

bool PaintPdf(QPdfWriter &writer, const ReportContent &content, const PageGeometry &page)
{
    writer.setResolution(1200);
    writer.setTitle(QStringLiteral("KORVAL"));
    writer.setCreator(QStringLiteral("KORVAL"));
    writer.setPageLayout(QPageLayout(page.Paper, QPageLayout::Portrait, page.Margins, QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRectF area = writer.pageLayout().paintRectPixels(writer.resolution());
    PaintReport(painter, area.size(), content, [&writer] { writer.newPage(); });
    return painter.end();
}

}  // namespace

QByteArray ReportPdf(const ReportContent &content, const PageGeometry &page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    return PaintPdf(writer, content, page) ? buffer.data() : QByteArray();
}

}  // namespace korval
