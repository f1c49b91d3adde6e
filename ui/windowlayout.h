#pragma once

#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <vector>

#include "ui/twips.h"

class QScreen;
class QWidget;

namespace korval {

// Lays a window out as it was drawn, in twips, at the size the user's font
// asks for; where that would not fit its screen (its frame included), the
// whole window, fonts too, is laid out uniformly smaller until it does.
// Decided when the window is shown, and again when its screen, that
// screen's size or resolution, the desktop font or the window's frame change.
class WindowLayout final : public QObject {
    Q_OBJECT
public:
    // `window`, drawn `width` × `height` twips, fixed at that size.
    WindowLayout(QWidget *window, int width, int height);

    // Places a control of the window where it was drawn, in twips.
    void Place(QWidget *control, const QRect &twips);
    // A control drawn with a font of its own: its size, in points, at the
    // desktop font the layouts were drawn for.
    void SetFont(QWidget *control, qreal pointSize, bool bold);

    const TwipScale &Scale() const { return m_scale; }
    void Fit();
    // The window's texts changed (its language): each fits its room again.
    void FitTexts();

signals:
    // The twip's size changed: whatever else is measured in twips (a list's
    // columns) follows.
    void Rescaled(const TwipScale &scale);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Placed;
    void Apply(qreal shrink);
    void Locate(const Placed &placed) const;
    QFont WindowFont(qreal shrink) const;
    bool Fits(qreal shrink, const QSize &room) const;
    struct OwnFont;
    static QFont Drawn(const OwnFont &own, qreal shrink);
    // A control's font as the layout draws it, before fitting its text.
    QFont DrawnFont(const QWidget *control) const;
    void FitText(QWidget *control);
    QMargins FrameMargins() const;
    void WatchScreen();
    void KeepOnScreen();

    struct Placed {
        QPointer<QWidget> control;
        QRect twips;
    };
    struct OwnFont {
        QPointer<QWidget> control;
        qreal pointSize;
        bool bold;
    };

    QWidget *m_window;
    int m_width;
    int m_height;
    std::vector<Placed> m_placed;
    std::vector<OwnFont> m_fonts;
    TwipScale m_scale;
    qreal m_shrink = 1;
    bool m_applied = false;
    QMargins m_frame;
    // Shown, and not yet placed where the window system put it.
    bool m_placing = false;
    QPointer<QScreen> m_screen;
    QMetaObject::Connection m_screenChanged;
    std::vector<QMetaObject::Connection> m_screenWatch;
};

}  // namespace korval
