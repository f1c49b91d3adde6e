#pragma once

// The program's windows among the desktop's: single-instance windows that come
// to the front when asked for, peers of the main window, when the main window
// counts as activated, and how the program leaves the desktop.

#include <QDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace korval {

// The window in `slot` if it is open. A closed window may linger until the
// event loop deletes it; it no longer counts.
template<typename Window> Window *OpenWindow(const QPointer<Window> &slot)
{
    return slot && slot->isVisible() ? slot.data() : nullptr;
}

// A dialog of the program, owned by another window (for its lifetime) that
// the window manager still treats as an independent window: the main window
// may come in front of it. Escape and Enter keep the meaning they have in the
// main window (none): neither closes it.
class PeerDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// Shows the window un-minimised, raised and active.
void BringToFront(QWidget *window);

// Gives `owner` the focus back once a peer dialog of its has gone, unless
// another one is open: the window system need not hand it back.
void TakeBackFocus(QWidget *owner);

// Modeless single-instance peer dialogs of their parent: brings the open one
// to the front, or creates one (destroyed when closed) and shows it. A
// minimised window is restored: a window the user asks for must come into
// sight.
template<typename Window, typename Create> Window *ShowSingle(QPointer<Window> &slot, Create create)
{
    if (!OpenWindow(slot)) {
        slot = create();
        slot->setAttribute(Qt::WA_DeleteOnClose);
        QWidget *owner = slot->parentWidget();
        QObject::connect(
            slot, &QDialog::finished, owner, [owner] { TakeBackFocus(owner); }, Qt::QueuedConnection);
    }
    BringToFront(slot);
    return slot;
}

// Calls `activated` when `main` is first shown (without a window manager
// nothing activates it) and each time it takes the keyboard back from one of
// its peer dialogs; not on coming back from another application, a message
// box or a drop-down list. Made before the dialogs, it goes before them.
class ActivationWatch : public QObject {
    Q_OBJECT

public:
    ActivationWatch(QWidget *main, std::function<void()> activated);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Activated();

    QWidget *m_main;
    std::function<void()> m_activated;
    QPointer<QWindow> m_lastActive;
    bool m_shown = false;
};

// Whether taking the application down may hang for good: the Wayland plugin
// of a Qt before 6.5, any patch release, can leave its event thread waiting
// on the compositor while the display waits for the thread.
bool TeardownMayHang(const QString &platform = QGuiApplication::platformName(), const char *qt = qVersion());

// Leaves at once with `code`, output flushed, without destroying what a print
// job still on its way or a hung connection holds.
[[noreturn]] void LeaveAtOnce(int code);

}  // namespace korval
