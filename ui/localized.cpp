#include "ui/localized.h"

#include <QLocale>

namespace korval {

char LocaleDecimalSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

}  // namespace korval
