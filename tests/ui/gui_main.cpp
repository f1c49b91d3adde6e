#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

#include <cstdio>

#include "ui/ending.h"
#include "ui/printing.h"

int main(int argc, char *argv[])
{
    // Real widgets, no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    // Print jobs left on their way end before the application does.
    if (!korval::WaitForAbandonedJobs(std::chrono::seconds(60))) {
        std::fputs("a print thread still runs at the end\n", stderr);
        korval::LeaveAtOnce(1);
    }
    if (korval::TeardownMayHang())
        korval::LeaveAtOnce(failed);
    return failed;
}
