#include "ui/windowlayout.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "ui/listview.h"

namespace korval {
namespace {

// Below this a window would be unreadable anyway; it is laid out no smaller.
constexpr qreal kSmallestShrink = 0.4;

qreal Widest(const QComboBox *combo)
{
    const QFontMetricsF metrics(combo->font(), combo);
    qreal widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
    return widest;
}

// How wide a control's texts are and the room it has for them, in its font
// of the moment: a drop-down list's entries in its field, a label's caption,
// a list's columns. No room for a control of any other kind.
struct TextsAndRoom {
    qreal needed = 0;
    int room = 0;
};
TextsAndRoom TextsIn(const QWidget *control)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.frame = combo->hasFrame();
        return {Widest(combo),
                combo->style()
                    ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                    .width()};
    }
    if (const auto *label = qobject_cast<const QLabel *>(control); label && label->pixmap().isNull())
        return {qreal(label->fontMetrics().size(0, label->text()).width()), label->contentsRect().width()};
    if (const auto *list = qobject_cast<const ListView *>(control))
        return {qreal(list->header()->length()), list->contentsRect().width()};
    return {};
}

}  // namespace

WindowLayout::WindowLayout(QWidget *window, int width, int height)
    : QObject(window), m_window(window), m_width(width), m_height(height)
{
    window->installEventFilter(this);
    Apply(1);
}

void WindowLayout::Place(QWidget *control, const QRect &twips)
{
    m_placed.push_back({control, twips});
    Locate(m_placed.back());
    if (auto *list = qobject_cast<ListView *>(control))
        connect(list, &ListView::TextsChanged, this, [this, list] { FitText(list); });
}

void WindowLayout::Locate(const Placed &placed) const
{
    placed.control->setGeometry(m_scale.Rect(placed.twips));
    if (auto *list = qobject_cast<ListView *>(placed.control))
        list->SetTwipScale(m_scale);
}

void WindowLayout::SetFont(QWidget *control, qreal pointSize, bool bold)
{
    m_fonts.push_back({control, pointSize, bold});
    control->setFont(Drawn(m_fonts.back(), m_shrink));
}

QFont WindowLayout::WindowFont(qreal shrink) const
{
    return LegacyFont(DesktopPointSize() * shrink, false);
}

void WindowLayout::Apply(qreal shrink)
{
    const QFont font = WindowFont(shrink);
    const TwipScale scale = TwipScale::ForFont(font, m_window);
    if (m_applied && shrink == m_shrink && scale == m_scale && font == m_window->font())
        return;
    m_applied = true;
    m_shrink = shrink;
    m_scale = scale;
    m_window->setFont(font);
    for (const OwnFont &own : m_fonts)
        if (own.control)
            own.control->setFont(Drawn(own, shrink));
    for (const Placed &placed : m_placed)
        if (placed.control)
            Locate(placed);
    m_window->setFixedSize(scale.Size(m_width, m_height));
    emit Rescaled(scale);
}

QMargins WindowLayout::FrameMargins() const
{
    // The window system's own figure once it has one (none at all without a
    // window manager, once the window is on screen).
    const QWindow *handle = m_window->windowHandle();
    if (handle && (!handle->frameMargins().isNull() || handle->isExposed()))
        return handle->frameMargins();
    // Before that, the frame the same window manager gave the owner, or
    // room for a title bar.
    if (const QWidget *owner = m_window->parentWidget()) {
        const QWindow *ownerHandle = owner->window()->windowHandle();
        if (ownerHandle && !ownerHandle->frameMargins().isNull())
            return ownerHandle->frameMargins();
    }
    const int title = qCeil(QFontMetricsF(QApplication::font()).height() * 2);
    return {4, title, 4, 4};
}

bool WindowLayout::Fits(qreal shrink, const QSize &room) const
{
    const QSize size = TwipScale::ForFont(WindowFont(shrink), m_window).Size(m_width, m_height);
    return size.width() <= room.width() && size.height() <= room.height();
}

void WindowLayout::Fit()
{
    QScreen *screen = m_window->screen();
    m_frame = FrameMargins();
    qreal shrink = 1;
    if (screen) {
        const QSize room = screen->availableGeometry().size().shrunkBy(m_frame);
        // Fonts do not shrink in proportion at every size: the largest
        // layout that fits is looked for, not computed.
        if (!Fits(1, room)) {
            qreal small = kSmallestShrink;
            qreal large = 1;
            for (int step = 0; step < 12 && Fits(small, room); ++step) {
                const qreal middle = (small + large) / 2;
                (Fits(middle, room) ? small : large) = middle;
            }
            shrink = small;
        }
    }
    Apply(shrink);
    FitTexts();
    WatchScreen();
    KeepOnScreen();
}

QFont WindowLayout::Drawn(const OwnFont &own, qreal shrink)
{
    return LegacyFont(own.pointSize * DesktopPointSize() / kDrawnPointSize * shrink, own.bold);
}

QFont WindowLayout::DrawnFont(const QWidget *control) const
{
    for (const OwnFont &own : m_fonts)
        if (own.control == control)
            return Drawn(own, m_shrink);
    return m_window->font();
}

void WindowLayout::FitTexts()
{
    for (const Placed &placed : m_placed)
        if (placed.control)
            FitText(placed.control);
}

void WindowLayout::FitText(QWidget *control)
{
    // Fonts do not keep their proportions at every size (hinted fonts come
    // in whole pixels, and each platform's fonts are shaped their own way),
    // nor does a drop-down list's arrow: a text that would be cut in its
    // room gets a smaller font where needed, measured again each step.
    TextsAndRoom texts = TextsIn(control);
    if (texts.room <= 0)
        return;
    const QFont drawn = DrawnFont(control);
    if (control->font() != drawn)
        control->setFont(drawn);
    for (int step = 0; step < 10 && (texts = TextsIn(control)).needed > texts.room; ++step) {
        QFont smaller = control->font();
        smaller.setPointSizeF(smaller.pointSizeF() * std::min(0.95, texts.room / texts.needed));
        control->setFont(smaller);
    }
}

void WindowLayout::WatchScreen()
{
    QWindow *handle = m_window->windowHandle();
    if (handle && !m_screenChanged) {
        m_screenChanged = connect(handle, &QWindow::screenChanged, this, &WindowLayout::Fit);
        // Its first exposure tells a window without a window manager that
        // it has no frame.
        handle->installEventFilter(this);
    }
    QScreen *screen = m_window->screen();
    if (screen == m_screen)
        return;
    for (const QMetaObject::Connection &connection : m_screenWatch)
        disconnect(connection);
    m_screenWatch.clear();
    m_screen = screen;
    if (!screen)
        return;
    m_screenWatch.push_back(connect(screen, &QScreen::availableGeometryChanged, this, &WindowLayout::Fit));
    m_screenWatch.push_back(connect(screen, &QScreen::logicalDotsPerInchChanged, this, &WindowLayout::Fit));
}

void WindowLayout::KeepOnScreen()
{
    // Before it is on screen the window manager places it; afterwards a
    // window that reaches past the screen comes back inside, as far as the
    // window system lets a program place its windows.
    const QWindow *handle = m_window->windowHandle();
    if (!m_screen || !handle || !handle->isExposed())
        return;
    const QRect area = m_screen->availableGeometry();
    const QRect frame = m_window->frameGeometry();
    if (area.contains(frame))
        return;
    const int x = std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    m_window->move(x, y);
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window->windowHandle() && event->type() == QEvent::Expose) {
        // On screen at last: where the window system put it is known (Qt
        // centres an owned window on its owner, which may reach past the
        // screen's edge).
        if (FrameMargins() != m_frame)
            Fit();
        else if (m_placing)
            KeepOnScreen();
        m_placing = !m_window->windowHandle()->isExposed();
    } else if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
            m_placing = true;
            Fit();
            break;
        case QEvent::ApplicationFontChange:
            Fit();
            break;
        case QEvent::Move:
            // The window manager framed the window: its frame is known now.
            if (FrameMargins() != m_frame)
                Fit();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korval
