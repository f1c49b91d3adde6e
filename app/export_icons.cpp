// Writes the emblem's PNG sizes for the icon theme, drawn by the code that
// draws the window's icon: <folder>/<n>x<n>/apps/<application id>.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "korval/about.h"
#include "ui/artwork.h"

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: korval_export_icons <hicolor folder>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder)
            || !korval::KorvalEmblem(size).save(folder + QStringLiteral("/" KORVAL_APP_ID ".png")))
            return 1;
    }
    return 0;
}
