#include "tests/support/desktop.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qwindowsysteminterface.h>

#include <stdexcept>

namespace korval::test {
namespace {

// Qt's offscreen platform takes its screens from a configuration that can
// be replaced while the program runs (Qt 6.1 and later); a screen of
// another name is a new screen. The new one comes in beside the old one,
// which then goes: there is always a screen for the windows to be on.
void UseScreen(const QJsonObject &screen)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        throw std::runtime_error("desktops are made on the offscreen platform only");
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    using Getter = QJsonObject (*)(QPlatformNativeInterface *);
    using Setter = void (*)(const QJsonObject &, QPlatformNativeInterface *);
    auto get = reinterpret_cast<Getter>(native->nativeResourceForIntegration("configuration"));
    auto set = reinterpret_cast<Setter>(native->nativeResourceForIntegration("setConfiguration"));
    if (!get || !set)
        throw std::runtime_error("the offscreen platform takes no configuration");
    QJsonObject configuration = get(native);
    QJsonArray screens = configuration[QStringLiteral("screens")].toArray();
    if (!screens.isEmpty() && screens.first()[QStringLiteral("name")] == screen[QStringLiteral("name")])
        return;
    screens.append(screen);
    configuration[QStringLiteral("screens")] = screens;
    set(configuration, native);
    configuration[QStringLiteral("screens")] = QJsonArray{screen};
    set(configuration, native);
}

QJsonObject Screen(const QString &name, int width, int height, double scale)
{
    // An X11 desktop's way of scaling: a logical resolution of 96 dpi times
    // the scale, which Qt turns into the device pixel ratio.
    return {{QStringLiteral("name"), name},
            {QStringLiteral("x"), 0},
            {QStringLiteral("y"), 0},
            {QStringLiteral("width"), width},
            {QStringLiteral("height"), height},
            {QStringLiteral("logicalDpi"), qRound(96 * scale)},
            {QStringLiteral("logicalBaseDpi"), 96},
            {QStringLiteral("dpr"), 1.0}};
}

}  // namespace

void UsePanels(int top, int bottom)
{
    // The offscreen platform knows no panels; Qt takes a screen's free area
    // from the window system's word, which is given here.
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect whole = screen->handle()->geometry();
    QWindowSystemInterface::handleScreenGeometryChange(screen, whole, whole.adjusted(0, top, 0, -bottom));
    QWindowSystemInterface::flushWindowSystemEvents();
}

UseDesktop::UseDesktop(const Desktop &desktop) : m_font(QApplication::font())
{
    UseScreen(Screen(QString::fromLatin1(desktop.name), desktop.width, desktop.height, desktop.scale));
    if (desktop.top || desktop.bottom)
        UsePanels(desktop.top, desktop.bottom);
    QFont font = m_font;
    font.setPointSizeF(desktop.points);
    QApplication::setFont(font);
}

UseDesktop::~UseDesktop()
{
    QApplication::setFont(m_font);
    UseScreen(Screen(QString(), 800, 800, 1));
}

}  // namespace korval::test
