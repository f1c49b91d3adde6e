#include "ui/qttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace korval {

void QtTexts::Use(Language language)
{
    if (m_installed)
        m_installed = !QCoreApplication::removeTranslator(&m_translator);
    if (language != Language::Italian)
        return;
    // Debian's qt6-translations-l10n; a bundle keeps them beside the program.
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (m_translator.load(QStringLiteral("qtbase_it"), folder)) {
            m_installed = QCoreApplication::installTranslator(&m_translator);
            return;
        }
    }
}

}  // namespace korval
