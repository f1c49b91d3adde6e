#include "ui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

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

QImage KorvalLogo()
{
    QImage image(250, 70, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    DrawEmblem(p, QRectF(6, 7, 56, 56));

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(title);
    p.setPen(QColor(0x1b, 0x4f, 0x8a));
    p.drawText(QRectF(72, 4, 176, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KORVAL"));

    QFont tag(QStringLiteral("Sans Serif"));
    tag.setPixelSize(11);
    p.setFont(tag);
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.drawText(QRectF(73, 44, 176, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("emergency lighting UPS"));

    p.setPen(QPen(QColor(0x2e, 0x9b, 0x4f), 2));
    p.drawLine(QPointF(73, 64), QPointF(244, 64));
    return image;
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

QIcon KorvalIcon()
{
    // The same picture as the icon theme's (data/), which the desktop finds
    // through the desktop file name.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(KorvalEmblem(size)));
    return icon;
}

}  // namespace korval
