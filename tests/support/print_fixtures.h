#pragma once

// The main window with a print service: the tests' own scheduler, or none
// that helps.

#include <QFile>
#include <QTemporaryDir>

#include "tests/cos_phi.h"
#include "tests/support/fixture.h"
#include "tests/support/print_servers.h"
#include "tests/support/print_service.h"

namespace korval::test {

class Printing : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(printService->Running()) << "the print service did not start\n"
                                             << printService->Log().toStdString();
        MainWindowTest::SetUp();
    }

    void Calculate(int rows)
    {
        for (int i = 1; i <= rows; ++i)
            AppendRow(state, {i, 2, 36, kCosPhi09, 1, kElectronic});
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
        ASSERT_TRUE(Button("Command2")->isEnabled());
    }

    std::unique_ptr<PrintService> printService = OpenPrintService();
};

// The window opens, with the bound the test gives, onto a result to print.
class UnhelpfulPrintService : public MainWindowTest {
protected:
    void SetUp() override { }

    void Open(std::chrono::milliseconds bound)
    {
        printBound = bound;
        MainWindowTest::SetUp();
        AppendRow(state, {10, 2, 36, kCosPhi09, 1, kElectronic});
        window->RefreshMainWindow();
        QTest::mouseClick(Button("Command5"), Qt::LeftButton);
    }

    // Closes the window while its job waits on a silent print service.
    void CloseWhileAJobWaits(SilentSpooler &spooler)
    {
        ASSERT_TRUE(spooler.Listening());
        ASSERT_NO_FATAL_FAILURE(Open(std::chrono::minutes(10)));
        QTest::mouseClick(Button("Command2"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return spooler.Reached(); }, kBusyMachineMs)) << "the job never set out";
        window->close();
        window.reset();
        EXPECT_TRUE(messages.shown.empty());
    }

    QString Socket() const { return dir.filePath(QStringLiteral("cups.sock")); }

    QTemporaryDir dir;
    EnvironmentGuard server =
        SetForScope("CUPS_SERVER", QFile::encodeName(dir.filePath(QStringLiteral("cups.sock"))));
    EnvironmentGuard home = SetForScope("HOME", QFile::encodeName(dir.path()));
};

}  // namespace korval::test
