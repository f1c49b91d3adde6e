#include "ui/twips.h"

#include "ui/artwork.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>

#include <cmath>

namespace korval {
namespace {

// The font the layouts were drawn for, Liberation Sans at kDrawnPointSize on
// a 96 dpi screen: the advance of the 52 Latin letters and the line height,
// in logical pixels.
constexpr double kDrawnLettersWidth = 363.84375;
constexpr double kDrawnLineHeight = 13.40625;
const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

// Within half a percent of the drawn font is the drawn font: hinting alone
// must not move a control by a pixel.
double Ratio(double measured, double drawn)
{
    const double ratio = measured / drawn;
    return std::abs(ratio - 1) < 0.005 ? 1 : ratio;
}

}  // namespace

QFont LegacyFont(qreal pointSize, bool bold)
{
    QFont font = SansFont(Lettering::Layout);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

qreal DesktopPointSize()
{
    const QFont font = QApplication::font();
    return font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
}

TwipScale TwipScale::ForFont(const QFont &font, const QPaintDevice *device)
{
    const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    TwipScale scale;
    scale.m_x = Ratio(metrics.horizontalAdvance(kLetters), kDrawnLettersWidth);
    scale.m_y = Ratio(metrics.height(), kDrawnLineHeight);
    return scale;
}

int TwipScale::X(int twips) const
{
    return qRound(twips * m_x / 15.0);
}

int TwipScale::Y(int twips) const
{
    return qRound(twips * m_y / 15.0);
}

QRect TwipScale::Rect(int left, int top, int width, int height) const
{
    return {X(left), Y(top), X(width), Y(height)};
}

}  // namespace korval
