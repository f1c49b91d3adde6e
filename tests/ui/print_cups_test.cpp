// What only a build that speaks to CUPS itself reads: Qt's printer support
// drops the print service's answer to a job, reads a queue's paper from its
// driver alone and cannot cut short a wait on the print service.

#include "tests/support/pdf_words.h"
#include "tests/support/print_fixtures.h"
#include "tests/support/sheets.h"
#include "ui/print/cups_media.h"

#include <QTimer>

#include <optional>
#include <vector>

namespace korval::test {
namespace {

// Qt's printer support drops the print service's answer to a job.
TEST_F(Printing, a_refused_job_is_reported_in_the_program_s_language_with_the_spooler_s_reason)
{
    ASSERT_TRUE(printService->AddDefaultPdfQueue());
    ASSERT_TRUE(RunTool(QStringLiteral("cupsreject"), {kTestQueue}).ok);
    Calculate(1);
    const QString expected[] = {QStringLiteral("Errore di stampa\nil servizio di stampa ha rifiutato il lavoro\n"),
                                QStringLiteral("Printing failed\nthe print service refused the job\n")};
    for (int language : {0, 1}) {
        messages.shown.clear();
        PickLanguage(language);
        PressPrint();
        ASSERT_EQ(messages.shown.size(), 1u);
        const QString text = messages.shown[0].text;
        EXPECT_TRUE(text.startsWith(expected[language])) << text.toStdString();
        EXPECT_GT(text.size(), expected[language].size()) << "the spooler says why, on a line of its own";
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    }
}

// Qt reads a queue's paper from its driver alone; these queues have none.
TEST_F(Printing, the_report_goes_on_the_default_printer_s_own_paper)
{
    struct Paper {
        const char *media;
        QSizeF points;
    };
    // A queue that names no paper at all gets an upright A4 sheet.
    const Paper papers[] = {{kA4Media, Points(QPageSize::A4)},
                            {"na_letter_8.5x11in", Points(QPageSize::Letter)},
                            {nullptr, Points(QPageSize::A4)}};
    Calculate(3);
    std::vector<std::vector<PdfWord>> printed;
    for (const Paper &paper : papers) {
        ASSERT_TRUE(printService->AddDefaultPdfQueue(paper.media)) << printService->Log().toStdString();
        PressPrint();
        ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        const QString job = printService->WaitForJob();
        ASSERT_FALSE(job.isEmpty()) << printService->Log().toStdString();
        const QSizeF size = PageSize(job);
        const std::string media = paper.media ? paper.media : "no media";
        EXPECT_NEAR(size.width(), paper.points.width(), 1) << media << "\n" << printService->Log().toStdString();
        EXPECT_NEAR(size.height(), paper.points.height(), 1) << media;
        printed.push_back(ReadPdfWords(job));
        printService->ClearJobs();
    }
    // Every word in the same place relative to the printable area: the title
    // (x 2500, y 1500), the project heading (x 0) and the last word anchor
    // each paper's stretch.
    ASSERT_EQ(printed[0].size(), printed[1].size());
    ASSERT_GT(printed[0].size(), 10u);
    const auto relative = [](const std::vector<PdfWord> &words, const PdfWord &w) {
        const PdfWord &title = words[0], &heading = words[5], &last = words.back();
        return QPointF((w.x - heading.x) / (title.x - heading.x), (w.y - title.y) / (last.y - title.y));
    };
    for (std::size_t i = 0; i < printed[0].size(); ++i) {
        EXPECT_EQ(printed[0][i].text, printed[1][i].text);
        const QPointF a4 = relative(printed[0], printed[0][i]), letter = relative(printed[1], printed[1][i]);
        EXPECT_NEAR(a4.x(), letter.x(), 0.01) << printed[0][i].text.toStdString();
        EXPECT_NEAR(a4.y(), letter.y(), 0.002) << printed[0][i].text.toStdString();
    }
}

// A printer's media collection, as a driverless printer describes its paper
// (no queue CUPS makes passes one with margins to the program).
TEST(MediaCollection, gives_the_printer_s_own_size_and_margins)
{
    // Letter with a printer's own margins (a larger one at the foot, as
    // many keep), and one that names no margins (the usual ones then); the
    // queue table pins a borderless one.
    const double usual = PageGeometry().Margins.left();
    const std::pair<std::vector<int>, QMarginsF> cases[] = {
        {{300, 500, 400, 1270}, QMarginsF(3, 5, 4, 12.7)},
        {{}, QMarginsF(usual, usual, usual, usual)},
    };
    for (const auto &[given, millimetres] : cases) {
        SCOPED_TRACE(given.size());
        ipp_t *size = ippNew();
        ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "x-dimension", 21590);
        ippAddInteger(size, IPP_TAG_ZERO, IPP_TAG_INTEGER, "y-dimension", 27940);
        ipp_t *collection = ippNew();
        ippAddCollection(collection, IPP_TAG_ZERO, "media-size", size);
        const char *edges[] = {"media-left-margin", "media-top-margin", "media-right-margin",
                               "media-bottom-margin"};
        for (std::size_t i = 0; i < given.size(); ++i)
            ippAddInteger(collection, IPP_TAG_ZERO, IPP_TAG_INTEGER, edges[i], given[i]);
        const std::optional<Paper> paper = PaperOfCollection(collection);
        ippDelete(collection);
        ippDelete(size);
        ASSERT_TRUE(paper.has_value());
        EXPECT_NEAR(paper->Page.Paper.size(QPageSize::Millimeter).width(), 215.9, 0.01);
        EXPECT_NEAR(paper->Page.Paper.size(QPageSize::Millimeter).height(), 279.4, 0.01);
        EXPECT_EQ(paper->Page.Margins, millimetres);
    }
}

// What a print server answers is taken for what it means.
TEST_F(Printing, a_print_server_slow_to_connect_substituting_or_losing_the_document)
{
    struct Case {
        const char *name;
        Relay::Answer answer;
        bool slow;
        const char *message;  // none: printed
    } const cases[] = {
        {"slow to take the connection", Relay::Faithful, true, nullptr},
        {"substituting attributes", Relay::Substituting, false, nullptr},
        {"conflicting attributes", Relay::Conflicting, false, nullptr},
        {"losing the document", Relay::LosingDocuments, false,
         "Errore di stampa\nil lavoro non è arrivato alla stampante\n"},
    };
    ASSERT_TRUE(printService->AddDefaultPdfQueue());
    Calculate(1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        printService->ClearJobs();
        Relay relay(printService->Path("cups.sock"), c.answer);
        ASSERT_TRUE(relay.Listening());
        ASSERT_TRUE(!c.slow || relay.Hold());
        {
            const auto server = SetForScope("CUPS_SERVER", relay.Server());
            QTest::mouseClick(Button("Command2"), Qt::LeftButton);
            if (c.slow)
                QTimer::singleShot(300, &relay, &Relay::Release);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !JobOnItsWay(); }, kBusyMachineMs));
        }
        if (!c.message) {
            EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
            EXPECT_FALSE(printService->WaitForJob().isEmpty()) << printService->Log().toStdString();
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].text.startsWith(QString::fromUtf8(c.message)))
            << messages.shown[0].text.toStdString();
        // Nothing of it is left waiting in the queue.
        const ToolRun waiting = RunTool(QStringLiteral("lpstat"), {QStringLiteral("-o")});
        EXPECT_TRUE(waiting.ok && waiting.output.isEmpty()) << waiting.output.toStdString();
    }
}
// Making the connection is the one wait CUPS's client does not cut short.
TEST_F(UnhelpfulPrintService, closing_the_window_while_the_connection_is_made_hands_the_job_over)
{
    Relay relay(Socket(), Relay::Faithful);
    ASSERT_TRUE(relay.Listening() && relay.Hold());
    const auto slow = SetForScope("CUPS_SERVER", relay.Server());
    ASSERT_NO_FATAL_FAILURE(Open(std::chrono::minutes(10)));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    window->close();
    window.reset();
    EXPECT_FALSE(WaitForAbandonedJobs(std::chrono::milliseconds(0)))
        << "the window waited for the job, or lost it";
    relay.Release();
    EXPECT_TRUE(
        QTest::qWaitFor([] { return WaitForAbandonedJobs(std::chrono::milliseconds(0)); }, kBusyMachineMs));
    EXPECT_TRUE(messages.shown.empty());
}

// Only CUPS itself tells a connection that breaks from one never made.
TEST_F(UnhelpfulPrintService, one_that_hangs_up_or_is_not_there_is_a_failure_with_a_reason)
{
    QLocalServer hangsUp;
    ASSERT_TRUE(hangsUp.listen(Socket()));
    QObject::connect(&hangsUp, &QLocalServer::newConnection, &hangsUp, [&] {
        while (QLocalSocket *peer = hangsUp.nextPendingConnection())
            peer->abort();
    });
    ASSERT_NO_FATAL_FAILURE(Open(kPrintBound));
    PickLanguage(1);
    PressPrint();
    hangsUp.close();
    PressPrint();
    // The program's words for the kind of failure, then the system's.
    const QString expected[] = {QStringLiteral("Printing failed\nthe job did not reach the printer\n"),
                                QStringLiteral("Printing failed\nthe print service cannot be reached\n")};
    ASSERT_EQ(messages.shown.size(), 2u);
    for (int i : {0, 1}) {
        const QString &text = messages.shown[i].text;
        EXPECT_TRUE(text.startsWith(expected[i])) << text.toStdString();
        EXPECT_GT(text.size(), expected[i].size()) << "with the reason";
        EXPECT_FALSE(text.endsWith(QLatin1String("Success"))) << "a reason that says nothing";
    }
}
}  // namespace
}  // namespace korval::test
