#pragma once

#include <QTranslator>

#include "engine/language.h"

namespace korval {

// Qt's own texts (the standard buttons of a message box, a text box's menu)
// in the program's language. Qt's default is English.
class QtTexts {
public:
    void Use(Language language);

private:
    QTranslator m_translator;
    bool m_installed = false;
};

}  // namespace korval
