#pragma once

// Geometry as the layouts were drawn: in twips, 1/15 logical pixel at the font
// they were drawn for, and in proportion to the window's font elsewhere, the
// way a dialog's units follow the dialog's font.

#include <QFont>
#include <QRect>
#include <QSize>

class QPaintDevice;

namespace korval {

// The desktop font size the layouts were drawn at (Qt's own default).
constexpr qreal kDrawnPointSize = 9;

// The windows were laid out for "MS Sans Serif", a bitmap font Linux lacks
// and Windows keeps only for old programs: a font of similar width.
QFont LegacyFont(qreal pointSize, bool bold);

// The point size of the user's desktop font, however the desktop gave it
// (in points or in pixels).
qreal DesktopPointSize();

// What a twip is in one window.
class TwipScale {
public:
    // The size the layouts were drawn at: 1/15 logical pixel.
    TwipScale() = default;
    // For a window whose font is `font`, measured where `device` shows it:
    // the drawn size times the ratio of the font's average character width
    // and line height to those of the font the layouts were drawn for.
    static TwipScale ForFont(const QFont &font, const QPaintDevice *device);

    int X(int twips) const;
    int Y(int twips) const;
    QRect Rect(int left, int top, int width, int height) const;
    QRect Rect(const QRect &twips) const { return Rect(twips.x(), twips.y(), twips.width(), twips.height()); }
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }
    // Horizontal and vertical ratio to the drawn size.
    double Horizontal() const { return m_x; }
    double Vertical() const { return m_y; }

    bool operator==(const TwipScale &o) const { return m_x == o.m_x && m_y == o.m_y; }
    bool operator!=(const TwipScale &o) const { return !(*this == o); }

private:
    double m_x = 1;
    double m_y = 1;
};

}  // namespace korval
