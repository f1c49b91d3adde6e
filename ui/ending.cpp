#include "ui/ending.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace korval {

bool TeardownMayHang()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
#else
    return false;
#endif
}

void LeaveAtOnce(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace korval
