#include "engine/lampform.h"

#include <iterator>
#include <optional>

#include "engine/numbers.h"

namespace korval {
namespace {

bool InRange(const std::string &text, std::int32_t low, std::int32_t high)
{
    const std::optional<std::int32_t> value = ParseInt32(text);
    return value && *value >= low && *value <= high;
}

}  // namespace

LampCheck CheckLampForm(const LampForm &form)
{
    if (form.Fittings.empty())
        return LampCheck::MissingFittings;
    if (form.LampsPerFitting.empty())
        return LampCheck::MissingLampsPerFitting;
    if (form.WattsPerLamp.empty())
        return LampCheck::MissingWattsPerLamp;
    if (form.CosPhi.empty())
        return LampCheck::MissingCosPhi;
    // 1000 and 100 are accepted although typing stops at 999 and 99.
    if (!InRange(form.Fittings, 1, 1000))
        return LampCheck::BadFittings;
    if (!InRange(form.LampsPerFitting, 1, 100))
        return LampCheck::BadLampsPerFitting;
    if (!InRange(form.WattsPerLamp, 1, 1000))
        return LampCheck::BadWattsPerLamp;
    if (!IsDecimalText(form.CosPhi))
        return LampCheck::BadCosPhi;
    const float cosPhi = ParseDecimal(form.CosPhi);
    if (static_cast<double>(cosPhi) < 0.1 || static_cast<double>(cosPhi) > 1.0)
        return LampCheck::BadCosPhi;

    // Single precision throughout, each step rounded: the 1 MW boundary is
    // judged on these values.
    const float fittings = static_cast<float>(*ParseInt32(form.Fittings));
    const float lamps = static_cast<float>(*ParseInt32(form.LampsPerFitting));
    const float watts = static_cast<float>(*ParseInt32(form.WattsPerLamp));
    const float perFitting = fittings * lamps;
    const float product = perFitting * watts;
    const float apparent = product / cosPhi;
    if (static_cast<double>(apparent) > 1000000.0)
        return LampCheck::OverOneMegawatt;
    return LampCheck::Ok;
}

std::string LampCheckMessage(LampCheck check, Language language)
{
    // In the order of LampCheck, Ok first.
    static constexpr Bilingual kMessages[] = {
        {"", ""},
        {"Inserire il numero di plafoniere", "Insert number of ceiling lights"},
        {"Inserire il numero di lampade per plafoniera", "Insert number of lamps for every ceiling light"},
        {"Inserire la potenza nominale della singola lampada", "Insert nominal power of single lamp"},
        {"Inserire il cos.fi delle lampade", "Insert cos.fi of lamps"},
        {"Inserire un numero corretto di plafoniere", "Insert a correct number of ceiling lamps"},
        {"Inserire un numero corretto di lampade per plafoniera",
         "Insert a correct number of lamps for every ceiling light"},
        {"Inserire un numero corretto di potenza per singola lampada",
         "Insert a correct number of power of single lamp"},
        {"Inserire un valore accettabile di cos.fi (tra 0.1 e 1)",
         "Insert an accettable value of cos.fi (between 0.1 and 1)"},
        {"Potenza richiesta superiore ad 1 MegaWatt, ridurre i dati impostati",
         "Required power is greater than 1 MegaWatt, please decrease the inserted values"},
    };
    static_assert(std::size(kMessages) == static_cast<std::size_t>(LampCheck::OverOneMegawatt) + 1);
    return Pick(kMessages[static_cast<std::size_t>(check)], language);
}

LampRecord ToLampRecord(const LampForm &form)
{
    LampRecord row;
    row.Fittings = ParseInt32(form.Fittings).value_or(0);
    row.LampsPerFitting = ParseInt32(form.LampsPerFitting).value_or(0);
    row.WattsPerLamp = ParseInt32(form.WattsPerLamp).value_or(0);
    row.CosPhi = static_cast<double>(ParseDecimal(form.CosPhi));
    row.Ballast = form.BallastIndex == 1 ? kFerromagnetic : kElectronic;
    row.Autonomy = form.AutonomyIndex == 1 ? 3 : 1;
    return row;
}

}  // namespace korval
