#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "korval/about.h"
#include "ui/form1.h"
#include "ui/messageboxes.h"
#include "ui/print/job.h"
#include "ui/windows.h"

namespace {

// What Qt says while it opens the display; shown only if that fails.
QStringList g_startupMessages;
QtMessageHandler g_qtHandler = nullptr;

std::string Environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

// Where the program tried to open its windows, in the user's terms.
std::string DisplayTried()
{
    const std::string platform = Environment("QT_QPA_PLATFORM");
    if (!platform.empty() && platform.rfind("xcb", 0) != 0)
        return "the window system '" + platform + "' (QT_QPA_PLATFORM)";
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    const std::string x11 = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    if (x11.empty() && wayland.empty())
        return "a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set";
    return x11.empty() ? "the Wayland display '" + wayland + "'" : "the X display '" + x11 + "'";
#else
    return "the desktop";
#endif
}

// Qt ends the program when no window system can be opened (an X server that
// is not there, a host that does not resolve, an unknown platform plugin):
// say so plainly instead of aborting.
void StartupMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_startupMessages << message;
        return;
    }
    std::fprintf(stderr, "KORVAL cannot open its window: it tried %s.\n", DisplayTried().c_str());
    for (const QString &line : std::as_const(g_startupMessages))
        std::fprintf(stderr, "  %s\n", qPrintable(line));
    std::fputs("Start KORVAL from a desktop session, or point DISPLAY at a running X server (Xvfb will do).\n",
               stderr);
    std::fflush(stderr);
    (void)context;
    std::_Exit(2);
}

}  // namespace

int main(int argc, char *argv[])
{
    g_qtHandler = qInstallMessageHandler(StartupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    // The display opened: what Qt said on the way is ordinary output again.
    for (const QString &line : std::as_const(g_startupMessages))
        qWarning("%s", qPrintable(line));
    g_startupMessages.clear();

    QApplication::setApplicationName(QStringLiteral("KORVAL"));
    QApplication::setApplicationVersion(QStringLiteral(KORVAL_VERSION));
    // The window manager matches the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVAL_APP_ID));

    korval::State state;
    korval::QtMessageBoxes messages;
    int code = 0;
    {
        korval::Form1 window(state, messages);
        window.show();
        code = app.exec();
    }
    // A print job the window left on its way may finish unseen for a moment;
    // one that still hangs is not torn down under its feet. With the windows
    // gone and nothing to save, a teardown that could hang is left to the
    // system too.
    if (!korval::WaitForAbandonedJobs(std::chrono::seconds(5)) || korval::TeardownMayHang())
        korval::LeaveAtOnce(code);
    return code;
}
