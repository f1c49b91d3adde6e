#pragma once

#include <string>

#include "engine/state.h"

namespace korval {

// What the lamp dialog holds when "OK" is pressed.
struct LampForm {
    std::string Fittings;
    std::string LampsPerFitting;
    std::string WattsPerLamp;
    std::string CosPhi;
    int BallastIndex = 0;   // 0 electronic, 1 ferromagnetic
    int AutonomyIndex = 0;  // 0 one hour, 1 three hours
};

// The checks in the order they run; the first failing one is reported.
enum class LampCheck {
    Ok,
    MissingFittings,
    MissingLampsPerFitting,
    MissingWattsPerLamp,
    MissingCosPhi,
    BadFittings,
    BadLampsPerFitting,
    BadWattsPerLamp,
    BadCosPhi,
    OverOneMegawatt,
};

// Texts that are not plain digits, or too large for 32 bits, fail the range
// check of their field.
LampCheck CheckLampForm(const LampForm &form);

std::string LampCheckMessage(LampCheck check, Language language);

// The row a form that passed every check stands for.
LampRecord ToLampRecord(const LampForm &form);

}  // namespace korval
