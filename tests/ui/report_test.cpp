#include "tests/cos_phi.h"
#include "tests/support/fixture.h"
#include "tests/support/pdf_words.h"
#include "tests/support/sample_report.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cmath>

namespace korval::test {
namespace {

class Report : public MainWindowTest {
protected:
    std::vector<PdfWord> Print()
    {
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        EXPECT_TRUE(WriteReportPdf(window->CollectReport(), pdf));
        return ReadPdfWords(pdf);
    }

    // The words of one printed line, by its first word's top.
    static std::vector<QString> Line(const std::vector<PdfWord> &words, int page, double top)
    {
        std::vector<QString> texts;
        for (const PdfWord &w : words)
            if (w.page == page && std::abs(w.y - top) < 20)
                texts.push_back(w.text);
        return texts;
    }

    static const PdfWord *Find(const std::vector<PdfWord> &words, const QString &text, int occurrence = 1)
    {
        for (const PdfWord &w : words)
            if (w.text == text && --occurrence == 0)
                return &w;
        return nullptr;
    }

    static double Spacing(int points)
    {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(points * 20);
        QPdfWriter device(QStringLiteral("/dev/null"));
        return QFontMetricsF(font, &device).lineSpacing();
    }

    void TwoLampsAndAResult()
    {
        Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}, {20, 4, 18, 0.5, 3, kFerromagnetic}});
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    }

    QTemporaryDir dir;
};

TEST_F(Report, lines_sit_where_the_layout_puts_them)
{
    TwoLampsAndAResult();
    const std::vector<PdfWord> words = Print();
    ASSERT_FALSE(words.empty()) << "pdftotext read nothing";
    const double l16 = Spacing(16), l12 = Spacing(12), l10 = Spacing(10);
    const int lamps = 2;
    const double row = 130 + l10;
    const std::tuple<const char *, int, double, double> lines[] = {
        {"Selezione", 1, 2500, 1500},
        {"Dati", 1, 0, 2300 + l16},
        {"N°", 1, 0, 2650 + l16 + l12},
        {"10", 1, 0, 2730 + l16 + l12 + 1 * row},
        {"20", 1, 0, 2730 + l16 + l12 + 2 * row},
        {"Potenza", 1, 0, 3000 + l16 + l12 + l10 + lamps * row},
        {"Potenza", 2, 0, 3150 + l16 + l12 + 2 * l10 + lamps * row},
        {"Risultati", 1, 0, 4150 + l16 + l12 + 3 * l10 + lamps * row},
        {"Autonomia", 2, 0, 4500 + l16 + 2 * l12 + 3 * l10 + lamps * row},
        {"1", 2, 0, 4580 + l16 + 2 * l12 + 3 * l10 + lamps * row + 1 * row},
        {"3", 2, 0, 4580 + l16 + 2 * l12 + 3 * l10 + lamps * row + 2 * row},
    };
    for (const auto &[text, occurrence, x, y] : lines) {
        const PdfWord *w = Find(words, QString::fromUtf8(text), occurrence);
        ASSERT_TRUE(w) << text;
        EXPECT_NEAR(w->x, x, 15) << text;
        EXPECT_NEAR(w->y, y, 15) << text;
    }
}

TEST_F(Report, columns_start_at_their_pitch)
{
    TwoLampsAndAResult();
    const std::vector<PdfWord> words = Print();
    const PdfWord *first = Find(words, QStringLiteral("20"));
    ASSERT_TRUE(first);
    const char *cells[] = {"20", "4", "18", "0.5", "Ferromagnetico", "3"};
    for (int k = 0; k < 6; ++k) {
        const PdfWord *w = nullptr;
        for (const PdfWord &candidate : words)
            if (candidate.text == QString::fromUtf8(cells[k]) && std::abs(candidate.y - first->y) < 20)
                w = &candidate;
        ASSERT_TRUE(w) << cells[k];
        EXPECT_NEAR(w->x, k * 1600, 15) << cells[k];
    }
    const PdfWord *result = Find(words, QStringLiteral("QX10014"));
    ASSERT_TRUE(result);
    EXPECT_EQ(Line(words, 1, result->y),
              (std::vector<QString>{QStringLiteral("3"), QStringLiteral("ore"), QStringLiteral("QX10014"),
                                    QStringLiteral("2000"), QStringLiteral("W"), QStringLiteral("2")}));
    const PdfWord *caption = Find(words, QStringLiteral("Autonomia"), 2);
    ASSERT_TRUE(caption) << "the result captions";
    const double xs[] = {0, 2667, 5334, 8001};
    const char *captions[] = {"Autonomia", "Codice", "Potenza", "Quantità"};
    std::vector<const PdfWord *> line;
    for (const PdfWord &w : words)
        if (w.page == caption->page && std::abs(w.y - caption->y) < 20)
            line.push_back(&w);
    ASSERT_EQ(line.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(line[k]->text, QString::fromUtf8(captions[k]));
        EXPECT_NEAR(line[k]->x, xs[k], 15) << captions[k];
    }
}

TEST_F(Report, prices_and_totals_stay_off_paper)
{
    TwoLampsAndAResult();
    const std::vector<PdfWord> words = Print();
    ASSERT_TRUE(Find(words, QStringLiteral("QX10014"))) << "the result rows are there";
    for (const PdfWord &w : words) {
        EXPECT_FALSE(w.text.contains(QStringLiteral("€"))) << w.text.toStdString();
        EXPECT_NE(w.text, QStringLiteral("Costo"));
        EXPECT_NE(w.text, QStringLiteral("Prezzo"));
    }
}

TEST_F(Report, fixed_texts_follow_the_language)
{
    TwoLampsAndAResult();
    PickLanguage(1);
    const std::vector<PdfWord> words = Print();
    const PdfWord *label = Find(words, QStringLiteral("requred"));
    ASSERT_TRUE(label) << "the English 1 h label keeps its spelling";
    EXPECT_EQ(Line(words, 1, label->y),
              (std::vector<QString>{QStringLiteral("1h"), QStringLiteral("requred"), QStringLiteral("power:"),
                                    QStringLiteral("860"), QStringLiteral("W")}));
    const QString fixedTexts = QStringLiteral("UPS model and quantity Selection") + QLatin1Char(' ')
        + QStringLiteral("Project specification") + QStringLiteral(" 3h required power: Calculation results");
    for (const QString &text : fixedTexts.split(QLatin1Char(' ')))
        EXPECT_TRUE(Find(words, text)) << text.toStdString();
    // Captions and rows are printed as the lists show them: the rows are still Italian.
    EXPECT_TRUE(Find(words, QStringLiteral("Elettronico")));
    EXPECT_TRUE(Find(words, QStringLiteral("Ceil.Lights")));
}

TEST_F(Report, an_empty_result_list_prints_only_its_captions)
{
    Seed({{10, 2, 36, kCosPhi09, 1, kElectronic}});
    const std::vector<PdfWord> words = Print();
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.back().text, QStringLiteral("Quantità"));
    EXPECT_EQ(Line(words, 1, words.back().y).size(), 4u);
}

TEST_F(Report, a_long_lamp_list_continues_on_further_pages)
{
    for (int i = 1; i <= kMaxLampRows; ++i)
        AppendRow(state, {i, 1, 1, 1.0, 1, kElectronic});
    window->RefreshMainWindow();
    QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    const std::vector<PdfWord> words = Print();
    if (qEnvironmentVariableIsSet("KORVAL_KEEP_PDF"))
        QFile::copy(dir.filePath(QStringLiteral("report.pdf")), qEnvironmentVariable("KORVAL_KEEP_PDF"));
    std::vector<int> rows;
    int lastPage = 0;
    for (const PdfWord &w : words) {
        lastPage = std::max(lastPage, w.page);
        EXPECT_LE(w.y, 15954 - 150) << w.text.toStdString() << " runs off page " << w.page;
        if (std::abs(w.x) < 15 && !w.text.isEmpty() && w.text[0].isDigit() && w.page >= 1)
            rows.push_back(w.text.toInt());
    }
    EXPECT_GE(lastPage, 3);
    // Every lamp row once, in order (the result rows "1 ora" follow at the end).
    ASSERT_GE(rows.size(), static_cast<std::size_t>(kMaxLampRows));
    std::vector<int> lampRows(rows.begin(), rows.begin() + std::min<std::size_t>(rows.size(), kMaxLampRows));
    for (int i = 1; i <= kMaxLampRows; ++i)
        ASSERT_EQ(lampRows[static_cast<std::size_t>(i - 1)], i);
    // Each continued page starts with the captions at the top.
    for (int page = 2; page <= lastPage; ++page) {
        const PdfWord *top = nullptr;
        for (const PdfWord &w : words)
            if (w.page == page && (!top || w.y < top->y))
                top = &w;
        ASSERT_TRUE(top);
        EXPECT_NEAR(top->y, 0, 15) << "page " << page;
        EXPECT_TRUE(top->text == QStringLiteral("N°") || top->text == QStringLiteral("Autonomia")
                    || top->text == QStringLiteral("Potenza") || top->text == QStringLiteral("Risultati"))
            << top->text.toStdString();
    }
}

}  // namespace
}  // namespace korval::test

namespace korval::test {
namespace {

enum class LineKind { Title, Heading, Captions, Row, Power };

struct PrintedLine {
    int page;
    LineKind kind;
    QString first;
};

std::vector<PrintedLine> LinesOf(const std::vector<PdfWord> &words)
{
    std::vector<PrintedLine> lines;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const PdfWord &w = words[i];
        if (i > 0 && words[i - 1].page == w.page && std::abs(words[i - 1].y - w.y) < 20)
            continue;  // the same line
        const QString next = i + 1 < words.size() ? words[i + 1].text : QString();
        LineKind kind = LineKind::Row;
        if (w.text == QStringLiteral("Selezione"))
            kind = LineKind::Title;
        else if (w.text == QStringLiteral("Dati") || w.text == QStringLiteral("Risultati"))
            kind = LineKind::Heading;
        else if (w.text == QStringLiteral("N°")
                 || (w.text == QStringLiteral("Autonomia") && next == QStringLiteral("Codice")))
            kind = LineKind::Captions;
        else if (w.text == QStringLiteral("Potenza"))
            kind = LineKind::Power;
        lines.push_back({w.page, kind, w.text});
    }
    return lines;
}

TEST_F(Report, headings_and_captions_never_end_a_page_at_any_length)
{
    const QString pdf = dir.filePath(QStringLiteral("sweep.pdf"));
    for (int lamps = 1; lamps <= kMaxLampRows; ++lamps) {
        ASSERT_TRUE(WriteReportPdf(ReportOf(lamps), pdf));
        const std::vector<PrintedLine> lines = LinesOf(ReadPdfWords(pdf));
        ASSERT_FALSE(lines.empty());
        int lampRows = 0;
        bool inLamps = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const PrintedLine &line = lines[i];
            const bool lastOnPage = i + 1 == lines.size() || lines[i + 1].page != line.page;
            if (line.kind == LineKind::Heading) {
                ASSERT_FALSE(lastOnPage) << lamps << " rows: a heading ends page " << line.page;
                EXPECT_EQ(lines[i + 1].kind, LineKind::Captions) << lamps << " rows, page " << line.page;
                inLamps = line.first == QStringLiteral("Dati");
            }
            if (line.kind == LineKind::Captions) {
                ASSERT_FALSE(lastOnPage) << lamps << " rows: captions without a row end page " << line.page;
                EXPECT_EQ(lines[i + 1].kind, LineKind::Row) << lamps << " rows, page " << line.page;
            }
            if (line.kind == LineKind::Power)
                inLamps = false;
            if (inLamps && line.kind == LineKind::Row) {
                EXPECT_EQ(line.first.toInt(), ++lampRows) << lamps << " rows: every lamp row once, in order";
            }
        }
        EXPECT_EQ(lampRows, lamps);
    }
}

}  // namespace
}  // namespace korval::test
