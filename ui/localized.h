#pragma once

// The program's texts are pairs, Italian first, chosen by the language at the
// moment they are written.

#include <QLocale>
#include <QString>

#include "engine/language.h"

namespace korval {

// A text of the program in the language given.
inline QString Localized(const Bilingual &text, Language language)
{
    return QString::fromUtf8(Pick(text, language));
}

// The separator the user's locale writes decimals with, as long as the cos phi
// reader understands it ('.' otherwise).
inline char LocaleDecimalSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

}  // namespace korval
