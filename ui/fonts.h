#pragma once

// The families the program writes in, chosen here alone.

#include <QFont>

namespace korval {

enum class Lettering {
    Layout,   // the windows' fixed layouts
    Artwork,  // the logo
    Report,   // the printed page
};

// A sans serif font for `use`, of the application's size and style.
QFont SansFont(Lettering use);

}  // namespace korval
