#include "ui/windows.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWindow>

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

}  // namespace korval
