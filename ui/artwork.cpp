#include "ui/artwork.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace korval {
namespace {

// An emergency luminaire: a lamp housing with a lightning bolt, the sign of a
// battery-backed supply.
void DrawEmblem(QPainter &p, const QRectF &box)
{
    const qreal w = box.width();
    const qreal h = box.height();
    QLinearGradient body(box.topLeft(), box.bottomLeft());
    body.setColorAt(0, QColor(0x2e, 0x9b, 0x4f));
    body.setColorAt(1, QColor(0x1b, 0x6b, 0x35));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(box, w * 0.16, h * 0.16);

    QPainterPath bolt;
    bolt.moveTo(box.left() + w * 0.58, box.top() + h * 0.12);
    bolt.lineTo(box.left() + w * 0.30, box.top() + h * 0.56);
    bolt.lineTo(box.left() + w * 0.49, box.top() + h * 0.56);
    bolt.lineTo(box.left() + w * 0.40, box.top() + h * 0.88);
    bolt.lineTo(box.left() + w * 0.72, box.top() + h * 0.42);
    bolt.lineTo(box.left() + w * 0.53, box.top() + h * 0.42);
    bolt.closeSubpath();
    p.setBrush(QColor(0xff, 0xe0, 0x4a));
    p.drawPath(bolt);
}

}  // namespace

QImage KorvalLogo(qreal scale, const QPalette &ground)
{
    QImage image(qCeil(250 * scale), qCeil(70 * scale), QImage::Format_ARGB32_Premultiplied);
    // The window's own ground shows through.
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    DrawEmblem(p, QRectF(6, 7, 56, 56));

    const QColor window = ground.color(QPalette::Window);
    const QColor text = ground.color(QPalette::WindowText);
    QFont title = SansFont(Lettering::Artwork);
    title.setPixelSize(34);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(title);
    p.setPen(Readable({QColor(0x1b, 0x4f, 0x8a), QColor(0x8c, 0xb8, 0xe8)}, window, text, 4.5));
    p.drawText(QRectF(72, 4, 176, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KORVAL"));

    QFont tag = SansFont(Lettering::Artwork);
    tag.setPixelSize(11);
    p.setFont(tag);
    p.setPen(Readable({QColor(0x55, 0x55, 0x55), QColor(0xb4, 0xb4, 0xb4)}, window, text, 4.5));
    p.drawText(QRectF(73, 44, 176, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("emergency lighting UPS"));

    p.setPen(QPen(Readable({QColor(0x2e, 0x9b, 0x4f), QColor(0x5c, 0xc8, 0x7c)}, window, text, 3), 2));
    p.drawLine(QPointF(73, 64), QPointF(244, 64));
    return image;
}

QPalette PaperPalette()
{
    return QPalette(Qt::black, Qt::white);
}

double Contrast(const QColor &a, const QColor &b)
{
    // Relative luminance and contrast ratio as WCAG 2 defines them.
    const auto luminance = [](const QColor &c) {
        const auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Readable(std::initializer_list<QColor> choices, const QColor &ground, const QColor &text, double contrast)
{
    for (const QColor &choice : choices)
        if (Contrast(choice, ground) >= contrast)
            return choice;
    return text;
}

QImage KorvalEmblem(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawEmblem(p, QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    return image;
}

namespace {

// The emblem drawn at whatever size and device pixel ratio it is asked for.
class EmblemEngine final : public QIconEngine {
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        DrawEmblem(*painter, QRectF(rect.x() + 0.5, rect.y() + 0.5, side - 1.0, side - 1.0));
        painter->restore();
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        QPixmap pixmap = QPixmap::fromImage(KorvalEmblem(qRound(std::min(size.width(), size.height()) * scale)));
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }

    QIconEngine *clone() const override { return new EmblemEngine; }
};

}  // namespace

QIcon KorvalIcon()
{
    // The same picture as the icon theme's (data/), which the desktop finds
    // through the desktop file name.
    return QIcon(new EmblemEngine);
}

// The layouts: Liberation Sans keeps the narrow metrics they need; Windows
// has its UI fonts (not the old bitmap "MS Sans Serif"); the desktop's own
// sans font stands in where all are missing. The artwork: Windows' UI fonts
// (Qt's last resort there is the alphabetically first family, often a
// serif), on Linux the family its font configuration knows as "Sans Serif"
// (Windows' serif bitmap font). The report: the page it has always been laid
// out for, which Linux's font configuration gives Arial's metric twin.
QFont SansFont(Lettering use)
{
    const QString windows[] = {QStringLiteral("Segoe UI"), QStringLiteral("Tahoma")};
    QFont font = use == Lettering::Layout ? QGuiApplication::font() : QFont();
    font.setFamilies(use == Lettering::Layout
                         ? QStringList{QStringLiteral("Liberation Sans"), windows[0], windows[1], font.family()}
                         : use == Lettering::Artwork
                         ? QStringList{windows[0], windows[1], QStringLiteral("Sans Serif")}
                         : QStringList{QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace korval
