#pragma once

// Desktops as users have them, on Qt's offscreen platform: a screen of a
// given size and scale, the desktop font a platform theme sets.

#include <QFont>
#include <QString>

namespace korval::test {

struct Desktop {
    const char *name;
    int width;  // the screen, in device pixels
    int height;
    double scale;    // 1.5 for 150 %
    qreal points;    // the desktop font's size
    int top = 0;     // a panel along the top (GNOME's bar), in device pixels
    int bottom = 0;  // and along the bottom (KDE's panel, the Windows taskbar)
};

// Panels on the current screen, as the desktop reserves them: the screen's
// free area is what they leave, in device pixels.
void UsePanels(int top, int bottom);

// Makes `desktop`'s screen the only screen and its font the application's,
// as a platform theme sets it before the windows exist; the destructor puts
// back the screen and font there were. Offscreen platform only.
class UseDesktop {
public:
    explicit UseDesktop(const Desktop &desktop);
    ~UseDesktop();
    UseDesktop(const UseDesktop &) = delete;
    UseDesktop &operator=(const UseDesktop &) = delete;

private:
    QFont m_font;
};

}  // namespace korval::test
