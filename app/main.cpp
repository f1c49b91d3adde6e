#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "ui/form1.h"

namespace {

// Without a display Qt would abort with a message about platform plugins;
// say plainly what is missing instead.
bool DisplayAvailable()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char *x11 = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char *argv[])
{
    if (!DisplayAvailable()) {
        std::fputs("KORVAL needs a graphical display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                   "Start it from a desktop session (or under Xvfb).\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));

    korval::State state;
    korval::QtMessageBoxes messages;
    korval::Form1 window(state, messages);
    window.show();
    return app.exec();
}
