// Printing through Qt's own printer support on Linux, as on Windows and
// macOS: its hand-over cannot be cancelled and waits on the print service.

#include "tests/support/print_fixtures.h"

namespace korval::test {
namespace {

TEST_F(UnhelpfulPrintService, closing_the_window_leaves_qt_s_hand_over_to_end_on_its_own)
{
    SilentSpooler spooler(Socket());
    ASSERT_NO_FATAL_FAILURE(CloseWhileAJobWaits(spooler));
    EXPECT_FALSE(WaitForAbandonedJobs(std::chrono::milliseconds(0))) << "the window waited for the job";
    spooler.Close();
    EXPECT_TRUE(WaitForAbandonedJobs(kBusyMachine)) << "the job does not end on its own";
}

}  // namespace
}  // namespace korval::test
