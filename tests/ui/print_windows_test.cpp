#include <QDir>
#include <QFileDialog>

#include <algorithm>

#include <windows.h>

#include "tests/support/print_fixtures.h"
#include "tests/support/sample_report.h"
#include "tests/support/sheets.h"
#include "ui/print/question.h"

namespace korval::test {
namespace {

// The printer of a Windows PC without one, on the port FILE:, whose question
// where to save is answered as a user answers it: at once, by Cancel, and
// after longer than a job's bound, which measures the print service alone.
TEST_F(Printing, a_printer_that_asks_where_to_save_is_asked_by_the_window)
{
    struct Case {
        const char *name;
        int answerAfterMs;
        bool save;
    };
    const Case cases[] = {{"answered", 0, true},
                          {"cancelled", 0, false},
                          {"answered-after-20-s", 20000, true},
                          // Qt's dialog takes a folder typed that is not there.
                          {"no-such-folder/answered", 0, true}};
    const std::vector<UserQueue> queues = UserQueues({QStringLiteral("file-port")});
    const auto queue =
        std::find_if(queues.begin(), queues.end(), [](const UserQueue &q) { return q.needs == "file-port"; });
    ASSERT_NE(queue, queues.end()) << "no printer on a FILE: port in the queue table";
    ASSERT_TRUE(printService->AddDefaultQueue(queue->name)) << printService->Log().toStdString();
    Calculate(3);
    const QString laidOut = printService->Path("laid-out.pdf");
    ASSERT_TRUE(WriteReportPdf(window->CollectReport(), laidOut));
    QTemporaryDir folder;
    QStringList saved;

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // The last question, closed, is deleted later: it must not be taken
        // for the next one.
        const auto asking = [this] { return window->findChild<QFileDialog *>(QStringLiteral("SaveQuestion")); };
        ASSERT_TRUE(QTest::qWaitFor([&] { return !asking(); }, kBusyMachineMs)) << "the last question stays";
        QTest::mouseClick(Button("Command2"), Qt::LeftButton);
        QFileDialog *question = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (question = asking()) != nullptr; }, kBusyMachineMs))
            << "no question where to save";
        EXPECT_EQ(question->windowTitle(), QStringLiteral("Salva output di stampa con nome"));
        auto *name = question->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        EXPECT_EQ(name->text(), QStringLiteral("KORVAL.prn"));
        QTest::qWait(c.answerAfterMs);
        const QString file = folder.filePath(QLatin1String(c.name) + QStringLiteral(".prn"));
        if (c.save) {
            name->selectAll();
            QTest::keyClicks(name, QDir::toNativeSeparators(file));
            QTest::keyClick(name, Qt::Key_Return);
        } else {
            QTest::keyClick(name, Qt::Key_Escape);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !JobOnItsWay(); }, kBusyMachineMs)) << "the job never came back";
        if (c.save && !QFileInfo(file).dir().exists()) {
            ASSERT_EQ(messages.shown.size(), 1u) << "a report not written, and nothing said";
            EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Errore di stampa")));
            EXPECT_TRUE(messages.shown[0].text.contains(QDir::toNativeSeparators(file)));
            messages.shown.clear();
            continue;
        }
        EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
        if (!c.save) {
            EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.prn")}, QDir::Files), saved)
                << "a file written after all";
            // Wine's own question, cancelled, writes to a file named after the port.
            EXPECT_TRUE(RunTool(QStringLiteral("test"),
                                {QStringLiteral("!"), QStringLiteral("-e"),
                                 HostPath(QDir::currentPath()) + QStringLiteral("/FILE:")})
                            .ok)
                << "a file named FILE: in " << QDir::currentPath().toStdString();
            continue;
        }
        saved << QFileInfo(file).fileName();
        const QRectF printable = QRectF(QPointF(), queue->paper).marginsRemoved(queue->margins);
        const Sheet sheet = ReadSheet(file, printable);
        EXPECT_NEAR(sheet.paper.width(), queue->paper.width(), 1);
        EXPECT_NEAR(sheet.paper.height(), queue->paper.height(), 1);
        ExpectLaidOutAs(sheet, printable, ReadPdfSheet(laidOut, PrintableArea(), true));
    }
}

// Windows' own question cancelled makes StartDoc fail, which Qt only tells in
// a message ending in the system's words for the error.
TEST(SpoolerStarts, a_start_the_user_cancelled_is_told_from_a_failure)
{
    WatchSpooler();
    for (const DWORD error : {DWORD(ERROR_CANCELLED), DWORD(ERROR_ACCESS_DENIED)}) {
        SetLastError(error);
        qErrnoWarning("QWin32PrintEngine::begin: StartDoc failed, document \"KORVAL\"");
        EXPECT_EQ(SpoolerStartCancelled(), error == ERROR_CANCELLED) << "error " << error;
        EXPECT_FALSE(SpoolerStartCancelled()) << "told twice";
    }
}

}  // namespace
}  // namespace korval::test
