// Print services that do not help: Linux's alone, since Wine's CUPS client
// looks for the print service at the CUPS_SERVER the program started with,
// on a Unix socket that a Windows program cannot open.

#include <QTimer>

#include "tests/support/print_fixtures.h"

namespace korval::test {
namespace {

TEST_F(UnhelpfulPrintService, a_silent_one_neither_freezes_the_windows_nor_passes_for_no_printer)
{
    SilentSpooler spooler(Socket());
    ASSERT_TRUE(spooler.Listening());
    ASSERT_NO_FATAL_FAILURE(Open(kPrintBound / 3));
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);
    ASSERT_TRUE(JobOnItsWay());
    // The job keeps the window's bound: its own backstop, a timer of this
    // thread set earlier for less, ends it before this one fires.
    QObject scope;
    bool outlived = false;
    QTimer::singleShot(kPrintBound / 2, &scope, [&] { outlived = JobOnItsWay(); });
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor) << "the user sees something is going on";
    QTest::mouseClick(Button("Command2"), Qt::LeftButton);  // a second press sends nothing
    // The windows go on answering while the job is out; how long they may
    // stall is the print benchmark's figure.
    bool answered = false;
    QTimer::singleShot(0, window.get(), [&] { answered = JobOnItsWay(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, kBusyMachineMs)) << "the windows wait for the job";
    PickLanguage(1);  // the verdict speaks the language of its moment
    ASSERT_TRUE(QTest::qWaitFor([&] { return !JobOnItsWay(); }, kBusyMachineMs));
    EXPECT_FALSE(outlived) << "the job took another bound than its window's";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Printing failed\nthe print service does not answer"));
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::focusWidget(), Button("Command3"));
    spooler.Close();
}

TEST_F(UnhelpfulPrintService, closing_the_window_while_a_job_waits_ends_it)
{
    SilentSpooler spooler(Socket());
    ASSERT_NO_FATAL_FAILURE(CloseWhileAJobWaits(spooler));
    spooler.Close();
    EXPECT_TRUE(WaitForAbandonedJobs(kBusyMachine)) << "the job does not end on its own";
}

}  // namespace
}  // namespace korval::test
