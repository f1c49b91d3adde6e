#pragma once

#include <QIcon>
#include <QImage>

namespace korval {

// The program's own pictures, drawn at run time so that no image file has to
// travel with the binary.
QImage KorvalLogo();  // 250 x 70 pixels
QIcon KorvalIcon();
// The emblem alone, `size` pixels square on a transparent ground.
QImage KorvalEmblem(int size);

}  // namespace korval
