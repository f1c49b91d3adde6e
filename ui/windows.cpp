#include "ui/windows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QVersionNumber>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace korval {

void PeerDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->ignore();
    else
        QDialog::keyPressEvent(event);
}

void PeerDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Qt makes a parented window transient for its parent, which window
    // managers and compositors keep above the parent. By the time it is shown
    // the window's handle exists, and what is cleared here stays cleared
    // through hide and show.
    if (QWindow *handle = windowHandle())
        handle->setTransientParent(nullptr);
}

void BringToFront(QWidget *window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    // A Wayland compositor may refuse a program's own request to activate or
    // raise a window (it only marks it urgent), and no client can bring a
    // minimised window back; but every compositor shows and focuses a window
    // that is mapped anew. Hiding keeps the window and what it holds.
    // The window may still count as active: the main window's click that
    // asks for it can come before the compositor's word that the main
    // window took the keyboard, and then the main window would end in front.
    if (window->isVisible() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window->hide();
    window->show();
    window->raise();
    window->activateWindow();
}

void TakeBackFocus(QWidget *owner)
{
    for (const PeerDialog *peer : owner->findChildren<PeerDialog *>())
        if (peer->isVisible())
            return;
    owner->activateWindow();
}

ActivationWatch::ActivationWatch(QWidget *main, std::function<void()> activated)
    : QObject(main), m_main(main), m_activated(std::move(activated))
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (window && window == m_main->windowHandle())
            Activated();
        for (const PeerDialog *peer : m_main->findChildren<PeerDialog *>())
            if (window && window == peer->windowHandle())
                m_lastActive = window;
    });
    qApp->installEventFilter(this);
}

void ActivationWatch::Activated()
{
    if (m_lastActive == m_main->windowHandle())
        return;
    m_lastActive = m_main->windowHandle();
    m_activated();
}

bool ActivationWatch::eventFilter(QObject *watched, QEvent *event)
{
    // The first show counts as the first activation, which keeps the real
    // one, where there is one, from counting a second time.
    if (event->type() == QEvent::Show && watched == m_main && !m_shown) {
        m_shown = true;
        Activated();
    }
    // Under Wayland the click that brings the main window back comes before
    // the news that it is active (after it on X11 and Windows), and what the
    // activation does would cancel a button or row already pressed: the
    // press is taken as the activation, which runs before the press goes on.
    if (event->type() == QEvent::MouseButtonPress && m_shown) {
        const auto *widget = qobject_cast<QWidget *>(watched);
        if (watched == m_main->windowHandle() || (widget && widget->window() == m_main))
            Activated();
    }
    return false;
}

bool TeardownMayHang(const QString &platform, const char *qt)
{
    return QVersionNumber::fromString(QLatin1String(qt)) < QVersionNumber(6, 5)
        && platform.startsWith(QLatin1String("wayland"));
}

void LeaveAtOnce(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace korval
