#include "tests/support/pdf_words.h"
#include "tests/support/print_fixtures.h"
#include "tests/support/sample_report.h"
#include "tests/support/sheets.h"

#include <algorithm>
#include <vector>

namespace korval::test {
namespace {

TEST_F(Printing, stampa_sends_the_report_to_the_default_printer)
{
    ASSERT_TRUE(printService->AddDefaultPdfQueue()) << printService->Log().toStdString();
    Calculate(1);
    PressPrint();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));

    const QString job = printService->WaitForJob();
    ASSERT_FALSE(job.isEmpty()) << "no job reached the printer\n" << printService->Log().toStdString();
    std::vector<QString> texts;
    for (const PdfWord &w : ReadPdfWords(job))
        texts.push_back(w.text);
    const std::vector<QString> expected = {
        QStringLiteral("Selezione"), QStringLiteral("modello"), QStringLiteral("e"),  QStringLiteral("quantità"),
        QStringLiteral("UPS"),       QStringLiteral("Dati"),    QStringLiteral("di"), QStringLiteral("progetto")};
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(std::vector<QString>(texts.begin(), texts.begin() + 8), expected);
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("QX10011")), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), QStringLiteral("90")), texts.end())
        << "1 x 2 x 36 W needs 90 W";
}

TEST_F(Printing, a_long_report_reaches_the_printer_whole)
{
    ASSERT_TRUE(printService->AddDefaultPdfQueue());
    Calculate(kMaxLampRows);
    PressPrint();
    const QString job = printService->WaitForJob();
    ASSERT_FALSE(job.isEmpty());
    const std::vector<PdfWord> words = ReadPdfWords(job);
    // Every lamp row reaches the paper (each has 36 W lamps)...
    EXPECT_GE(std::count_if(words.begin(), words.end(), [](const PdfWord &w) { return w.text == "36"; }),
              kMaxLampRows);
    // ...and every page carries the words KORVAL laid out on it, in order.
    const QString laidOut = printService->Path("long-report.pdf");
    ASSERT_TRUE(WriteReportPdf(window->CollectReport(), laidOut));
    const std::vector<PdfWord> expected = ReadPdfWords(laidOut);
    EXPECT_GE(expected.back().page, 7);
    ASSERT_EQ(words.size(), expected.size());
    const auto differs =
        std::mismatch(words.begin(), words.end(), expected.begin(),
                      [](const auto &a, const auto &b) { return a.text == b.text && a.page == b.page; });
    EXPECT_TRUE(differs.first == words.end())
        << "\"" << differs.first->text.toStdString() << "\" on page " << differs.first->page << " where \""
        << differs.second->text.toStdString() << "\" on page " << differs.second->page << " was laid out";
}

TEST_F(Printing, no_default_printer_is_a_warning)
{
    for (int language : {0, 1}) {
        messages.shown.clear();
        PickLanguage(language);
        Calculate(1);
        PressPrint();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  language ? QStringLiteral("No default printer is installed")
                           : QStringLiteral("Nessuna stampante predefinita installata"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    }
}

TEST_F(Printing, every_queue_a_user_adds_prints_on_its_own_paper_with_every_word_on_the_sheet)
{
    // What this build offers beyond what every queue needs (cups/queues.tsv).
    const std::vector<UserQueue> queues =
        UserQueues(QString::fromLatin1(KORVAL_PRINT_OFFERS).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    ASSERT_GE(queues.size(), 4u);
    // The driverless printer starts once the program runs: Wine would never see it.
    QString driverless;
    if (std::any_of(queues.begin(), queues.end(), [](const UserQueue &q) { return q.needs == "driverless"; })) {
        driverless = printService->StartDriverless();
        ASSERT_FALSE(driverless.isEmpty()) << "ippeveprinter (Debian package cups-ipp-utils) did not start\n"
                                           << printService->Log().toStdString();
    }
    Calculate(3);
    // The page as KORVAL lays it out, on A4 less 4.25 mm.
    const QString laidOut = printService->Path("laid-out.pdf");
    ASSERT_TRUE(WriteReportPdf(window->CollectReport(), laidOut));
    const Sheet expected = ReadPdfSheet(laidOut, PrintableArea(), true);
    ASSERT_GT(BandsOf(expected, PrintableArea()).size(), 10u);

    for (const UserQueue &queue : queues) {
        SCOPED_TRACE(queue.name.toStdString());
        const bool isDriverless = queue.needs == "driverless";
        ASSERT_TRUE(printService->AddDefaultQueue(queue.name, isDriverless ? driverless : QString()))
            << printService->Log().toStdString();
        if (isDriverless) {
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return QFile::exists(printService->Path("conf/ppd/") + queue.name + QLatin1String(".ppd"));
                },
                kBusyMachineMs))
                << "CUPS made no driver for the driverless printer\n"
                << printService->Log().toStdString();
        }
        printService->SetUserOptions(queue.name, queue.userOptions);
        PressPrint();
        ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        const QString output = isDriverless ? printService->WaitForDriverlessJob() : printService->WaitForJob();
        ASSERT_FALSE(output.isEmpty()) << "nothing came out\n" << printService->Log().toStdString();
        const QRectF printable = QRectF(QPointF(), queue.paper).marginsRemoved(queue.margins);
        const Sheet sheet = ReadSheet(output, printable);
        printService->ClearJobs();

        EXPECT_NEAR(sheet.paper.width(), queue.paper.width(), 1);
        EXPECT_NEAR(sheet.paper.height(), queue.paper.height(), 1);
        ExpectLaidOutAs(sheet, printable, expected);
    }
}

}  // namespace
}  // namespace korval::test
