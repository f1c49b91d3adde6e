#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QLocale>

#include <cstdio>

#include "tests/support/busy_machine.h"
#include "ui/print/job.h"
#include "ui/windows.h"

int main(int argc, char *argv[])
{
    // Real widgets, no display needed.
    // Wine passes no QT_ variable to a Windows program: the tests choose
    // here. On Windows the offscreen platform reads fonts from one folder
    // only, Qt's own unless told: the system's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", qgetenv("SystemRoot") + "/Fonts");
#endif
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
#ifdef Q_OS_WIN
    // The desktops the layout tests pin are Linux's, whose fonts are hinted
    // only vertically; FreeType's full hinting widens the text by a pixel
    // in a hundred.
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    // Print jobs left on their way end before the application does.
    if (!korval::WaitForAbandonedJobs(korval::test::kBusyMachine)) {
        std::fputs("a print thread still runs at the end\n", stderr);
        korval::LeaveAtOnce(1);
    }
    if (korval::TeardownMayHang())
        korval::LeaveAtOnce(failed);
    return failed;
}
