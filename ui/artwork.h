#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPalette>

#include <initializer_list>

namespace korval {

// The program's own pictures, drawn at run time so that no image file has to
// travel with the binary.

// The colours of paper: black on white.
QPalette PaperPalette();
// The logo, 250 x 70 pixels times `scale`, on a transparent ground: its
// colours are those of its design where they stand out from `ground`'s
// window colour, lighter ones or the palette's own text colour where not.
QImage KorvalLogo(qreal scale = 1, const QPalette &ground = PaperPalette());
QIcon KorvalIcon();
// The emblem alone, `size` pixels square on a transparent ground.
QImage KorvalEmblem(int size);

// The program's sans serif fonts, of the application's size and style: the
// families it writes in are chosen here alone.
enum class Lettering { Layout, Artwork, Report };
QFont SansFont(Lettering use);

// The contrast ratio of two colours (1 to 21), as WCAG 2 measures it.
double Contrast(const QColor &a, const QColor &b);
// The first of `choices` with at least `contrast` against `ground`, else `text`.
QColor Readable(std::initializer_list<QColor> choices, const QColor &ground, const QColor &text, double contrast);

}  // namespace korval
