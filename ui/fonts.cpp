#include "ui/fonts.h"

#include <QGuiApplication>

namespace korval {

QFont SansFont(Lettering use)
{
    QFont font = use == Lettering::Layout ? QGuiApplication::font() : QFont();
    switch (use) {
    case Lettering::Layout:
        // Liberation Sans keeps the narrow metrics the fixed layouts need;
        // Windows has its UI fonts (not the old bitmap "MS Sans Serif"), and
        // the desktop's own sans font stands in where all are missing.
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Segoe UI"), QStringLiteral("Tahoma"),
                          QGuiApplication::font().family()});
        break;
    case Lettering::Artwork:
        // Windows' UI fonts (Qt's last resort there is the alphabetically
        // first family, often a serif); on Linux the family its font
        // configuration knows by that name (which Windows would take for
        // its serif bitmap font).
        font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Tahoma"), QStringLiteral("Sans Serif")});
        break;
    case Lettering::Report:
        // The page the report has always been laid out for; Linux's font
        // configuration gives Arial's metric twin.
        font.setFamilies({QStringLiteral("Arial")});
        break;
    }
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace korval
