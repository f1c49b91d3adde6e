#include "engine/rows.h"

#include <utility>

#include "engine/numbers.h"

namespace korval {

namespace {

constexpr Bilingual kElectronicText{"Elettronico", "Electronic"};
constexpr Bilingual kFerromagneticText{"Ferromagnetico", "Iron magnetic"};
constexpr Bilingual kOneHourText{"1 ora", "1 hour"};
constexpr Bilingual kThreeHoursText{"3 ore", "3 hours"};
constexpr Bilingual kTotalText{"Costo totale:", "Total price:"};

}  // namespace

std::string BallastText(std::uint8_t ballast, Language language)
{
    if (ballast == kElectronic)
        return Pick(kElectronicText, language);
    if (ballast == kFerromagnetic)
        return Pick(kFerromagneticText, language);
    return {};
}

std::string AutonomyText(std::uint8_t hours, Language language)
{
    if (hours == 1)
        return Pick(kOneHourText, language);
    if (hours == 3)
        return Pick(kThreeHoursText, language);
    return "?";
}

namespace {

void Add(CalculationRows &result, ListRow row, const RowSink &onRow)
{
    result.Rows.push_back(std::move(row));
    if (onRow)
        onRow(result.Rows.back());
}

void AppendModelRows(CalculationRows &result, const UnitCounts &counts, const Catalogue &catalogue,
                     std::uint8_t hours, Language language, const RowSink &onRow)
{
    for (std::size_t m = 1; m <= kModelsPerClass; ++m) {
        const std::int64_t n = counts.Units[m];
        if (n <= 0)
            continue;
        const UpsModel &model = catalogue[m];
        const std::int64_t rowCost = model.Price * n;
        Add(result,
            {AutonomyText(hours, language),
             {model.Code, WattsText(model.Power), Digits(n), EuroText(model.Price), EuroText(rowCost)}},
            onRow);
        result.TotalCost += rowCost;
    }
}

// What the shared values say between two searches: nothing found yet.
void ResetSearch(State &state)
{
    state.BestCost = kNoCombinationCost;
    state.BestCombination.clear();
}

// Searches one class, keeps what it found in the shared values and lists its
// model rows. A class that needs no power is not searched.
ClassOutcome ListClass(State &state, CalculationRows &result, AutonomyClass cls, std::int64_t power,
                       const Notify &notify, const RowSink &onRow)
{
    ResetSearch(state);
    if (power == 0)
        return ClassOutcome::NotSearched;
    const bool oneHour = cls == AutonomyClass::OneHour;
    const Catalogue &catalogue = oneHour ? state.Catalogue1h : state.Catalogue3h;
    SearchResult found = FindCheapestCombination(cls, power, catalogue, state.Language, notify);
    if (found.TooDifficult)
        return ClassOutcome::TooDifficult;
    state.BestCost = found.Cost;
    state.BestPower = found.Power;
    state.BestCombination = std::move(found.Combination);
    AppendModelRows(result, found.Counts, catalogue, oneHour ? 1 : 3, state.Language, onRow);
    return ClassOutcome::Found;
}

}  // namespace

CalculationRows CalculateRows(State &state, const RequiredPower &power, const Notify &notify, const RowSink &onRow)
{
    CalculationRows result;
    result.OneHour = ListClass(state, result, AutonomyClass::OneHour, power.OneHour, notify, onRow);
    result.ThreeHours = ListClass(state, result, AutonomyClass::ThreeHours, power.ThreeHours, notify, onRow);
    // After a 3-hour class that was too difficult the run stops here.
    if (result.ThreeHours == ClassOutcome::TooDifficult) {
        result.Finished = false;
        return result;
    }
    Add(result, {" ", {}}, onRow);
    Add(result, {" ", {"", "", "", Pick(kTotalText, state.Language), EuroText(result.TotalCost)}}, onRow);
    return result;
}

ListRow LampListRow(const LampRecord &row, Language language, char decimalSeparator)
{
    return {Digits(row.Fittings),
            {Digits(row.LampsPerFitting), Digits(row.WattsPerLamp), CosPhiText(row.CosPhi, decimalSeparator),
             BallastText(row.Ballast, language), AutonomyText(row.Autonomy, language)}};
}

std::vector<ListRow> PriceListRows(const State &state)
{
    std::vector<ListRow> rows;
    const auto add = [&](const Catalogue &catalogue, std::uint8_t hours) {
        for (std::size_t i = 1; i <= kModelsPerClass && i < catalogue.size(); ++i) {
            const UpsModel &model = catalogue[i];
            rows.push_back({model.Code,
                            {AutonomyText(hours, state.Language), WattsText(model.Power), EuroText(model.Price),
                             model.Description}});
        }
    };
    add(state.Catalogue1h, 1);
    add(state.Catalogue3h, 3);
    return rows;
}

}  // namespace korval
