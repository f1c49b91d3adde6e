// Writes the emblem's PNG sizes for the icon theme, drawn by the code that
// draws the window's icon: <folder>/<n>x<n>/apps/<application id>.png; and
// the same sizes as one Windows icon file.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>

#include <cstdio>

#include "korval/about.h"
#include "ui/artwork.h"

namespace {

// An .ico file whose images are PNGs, as Windows reads them since Vista.
bool WriteIco(const QString &path, const QList<QByteArray> &pngs, const QList<int> &sizes)
{
    QByteArray ico;
    const auto put = [&ico](auto value) {
        value = qToLittleEndian(value);
        ico.append(reinterpret_cast<const char *>(&value), sizeof value);
    };
    const auto put16 = [&put](quint16 value) { put(value); };
    const auto put32 = [&put](quint32 value) { put(value); };
    put16(0);
    put16(1);  // an icon
    put16(static_cast<quint16>(pngs.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(pngs.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        const auto side = static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);  // 0 says 256
        ico.append(side).append(side).append('\0').append('\0');
        put16(1);   // planes
        put16(32);  // bits per pixel
        put32(static_cast<quint32>(pngs[i].size()));
        put32(offset);
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray &png : pngs)
        ico.append(png);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: korval_export_icons <hicolor folder> <icon file>\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QList<int> sizes{16, 24, 32, 48, 64, 128, 256};
    QList<QByteArray> pngs;
    for (int size : sizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QImage emblem = korval::KorvalEmblem(size);
        QByteArray png;
        QBuffer buffer(&png);
        if (!QDir().mkpath(folder) || !emblem.save(folder + QStringLiteral("/" KORVAL_APP_ID ".png"))
            || !buffer.open(QIODevice::WriteOnly) || !emblem.save(&buffer, "PNG"))
            return 1;
        pngs.append(png);
    }
    return WriteIco(QString::fromLocal8Bit(argv[2]), pngs, sizes) ? 0 : 1;
}
