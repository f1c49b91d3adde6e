#pragma once

// The desktop's own pointer, for the tests under a real compositor.

#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "tests/support/fixture.h"

namespace korval::test {

// Under a real compositor (under_compositor.sh starts it): Qt tells no window
// activation there, so the test waits for the window with the keyboard; the
// window may be one that a click still on its way opens.
inline bool WaitFocused(const std::function<const QWidget *()> &window)
{
    return QTest::qWaitFor([&] { return window() && QGuiApplication::focusWindow() == window()->windowHandle(); },
                           kBusyMachineMs);
}

inline bool WaitFocused(const QWidget *window)
{
    return WaitFocused([window] { return window; });
}

// The pointer of the X server that the compositor draws its desktop into:
// moved and pressed there, it reaches the program as the compositor decides,
// as a user's mouse does. What the program hears of it tells where the main
// window is on the desktop, and that a spot of it is in sight.
class Pointer final : public QObject {
    Q_OBJECT

public:
    Pointer(QString display, QString window) : m_display(std::move(display)), m_window(std::move(window))
    {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { ++m_focusChanges; });
    }

    // The window has the keyboard, taken since the last click: a window
    // that had it before may still hold it while the click is on its way.
    bool FocusedSinceClick(const std::function<const QWidget *()> &window) const
    {
        return QTest::qWaitFor([&] { return m_focusChanges > m_focusAtClick; }, kBusyMachineMs)
            && WaitFocused(window);
    }

    // Where the main window's top left corner is, read with the pointer
    // about the desktop's middle, which a window wider and taller than half
    // the desktop always covers.
    bool Locate(const QWidget *main)
    {
        const QPoint middle = main->screen()->geometry().center();
        for (int attempt = 0; attempt < 5; ++attempt)
            if (LocateFrom(main->windowHandle(), middle + QPoint(attempt * 3, attempt * 2)))
                return true;
        return false;
    }

    // A click on `widget` held for `hold`, at the first of `spots` that the
    // pointer is seen over; done when the program has had the release. Where
    // the compositor put another window, or its title bar, over them all,
    // that window is first dragged aside as a user does: Super held, on
    // GNOME, KDE and Weston alike.
    bool Click(const QWidget *widget, const std::vector<QPoint> &spots, std::chrono::milliseconds hold)
    {
        const QWindow *window = widget->window()->windowHandle();
        QPoint at;
        for (int attempt = 0; attempt < 4; ++attempt) {
            std::optional<QPoint> covered;
            bool moved = false;
            for (const QPoint spot : spots) {
                at = widget->mapTo(widget->window(), spot);
                // The pointer comes from a pixel aside: one already there
                // would move nowhere, and nothing would be heard.
                const int seen = m_moves;
                const bool over = MoveOver(m_origin + at + QPoint(1, 0)) && MoveOver(m_origin + at)
                    && QTest::qWaitFor([&] { return m_over == window && Near(m_at, at); }, 10000);
                const int released = m_releases;
                m_focusAtClick = m_focusChanges;
                if (over && !Xdotool(QStringLiteral("mousedown 1 sleep %1 mouseup 1").arg(hold.count() / 1000.0)))
                    return false;
                // Unheard, the click went to the title bar of a window that
                // the compositor put there meanwhile; heard on another
                // window, to that window (a compositor may leave a window it
                // is still showing out of what the pointer is over).
                if (over && QTest::qWaitFor([&] { return m_releases > released; }, 15000)
                    && m_releasedOn == window)
                    return true;
                // Over the window but elsewhere in it: the compositor moved
                // the window, which is found again from where the pointer is.
                moved = !over && m_moves > seen && m_over == window;
                if (moved)
                    break;
                covered = m_origin + at;
            }
            if (moved) {
                LocateFrom(window, m_origin + at);
                continue;
            }
            if (!covered)
                break;
            if (!Xdotool(QStringLiteral("keydown super mousedown 1")
                         + QStringLiteral(" mousemove_relative 100 0 sleep 0.05").repeated(6)
                         + QStringLiteral(" mouseup 1 keyup super")))
                return false;
        }
        ADD_FAILURE() << widget->objectName().toStdString() << " is nowhere under the pointer: wanted at "
                      << at.x() << "," << at.y() << " of " << widget->window()->objectName().toStdString()
                      << ", last heard at " << m_at.x() << "," << m_at.y() << " of "
                      << (m_over ? m_over->objectName().toStdString() : std::string("no window"));
        return false;
    }

    // The middle of a control, and its two ends.
    static std::vector<QPoint> Spots(const QWidget *widget)
    {
        const QRect r = widget->rect();
        return {r.center(), {r.left() + 4, r.center().y()}, {r.right() - 4, r.center().y()}};
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (window && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
            if (m_over != window)
                m_trail.clear();
            m_over = window;
            ++m_moves;
            m_at = static_cast<QSinglePointEvent *>(event)->position();
            m_trail.push_back(m_at);
        }
        if (window && event->type() == QEvent::MouseButtonRelease) {
            ++m_releases;
            m_releasedOn = window;
        }
        return false;
    }

private:
    // Where a compositor that smooths the pointer puts it: within a pixel.
    static bool Near(QPointF at, QPoint to)
    {
        return std::abs(at.x() - to.x()) <= 1 && std::abs(at.y() - to.y()) <= 1;
    }

    // Where `window`'s top left corner is on the desktop, read with the
    // pointer from `from`, a place over it. A compositor may deliver a move
    // as several smoothed ones, at places near the way: the pointer has
    // settled where a second move, a step on, is heard a step on from a
    // place heard before (to a pixel); a third move, heard where that says,
    // confirms it.
    bool LocateFrom(const QWindow *window, QPoint from)
    {
        const QPoint step(10, 10);
        m_trail.clear();
        if (!MoveOver(from) || m_over != window || !MoveOver(from + step))
            return false;
        std::optional<QPoint> origin;
        const auto settled = [&] {
            for (std::size_t i = 0; !origin && m_over == window && i + 1 < m_trail.size(); ++i)
                if (Near(m_trail.back() - m_trail[i], step))
                    origin = from + step - m_trail.back().toPoint();
            return origin.has_value();
        };
        const QPoint check = from - step / 2;
        if (QTest::qWaitFor(settled, 10000) && MoveOver(check)
            && QTest::qWaitFor([&] { return m_over == window && Near(m_at, check - *origin); }, 10000)) {
            m_origin = *origin;
            return true;
        }
        return false;
    }

    // Moves the pointer to `to` on the desktop and waits to hear of it over
    // a window of the program.
    bool MoveOver(QPoint to)
    {
        const int seen = m_moves;
        return Xdotool(QStringLiteral("mousemove --window %1 %2 %3").arg(m_window).arg(to.x()).arg(to.y()))
            && QTest::qWaitFor([&] { return m_moves > seen; }, 10000);
    }

    // The program goes on with its events while xdotool runs.
    bool Xdotool(const QString &command)
    {
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
        const bool ran = QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, kBusyMachineMs)
            && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
        EXPECT_TRUE(ran) << "xdotool " << command.toStdString() << ": "
                         << xdotool.readAllStandardError().toStdString();
        return ran;
    }

    QString m_display;
    QString m_window;
    QPointer<QWindow> m_over;
    QPointer<QWindow> m_releasedOn;
    QPointF m_at;
    std::vector<QPointF> m_trail;  // where it was heard over m_over, in order
    int m_moves = 0;
    int m_releases = 0;
    int m_focusChanges = 0;
    int m_focusAtClick = 0;
    QPoint m_origin;
};

}  // namespace korval::test
