#include "rows.h"

#include "numbers.h"

namespace korval {

std::string BallastText(std::uint8_t ballast, std::uint8_t language)
{
    const bool italian = language == kItalian;
    if (ballast == kElectronic)
        return italian ? "Elettronico" : "Electronic";
    if (ballast == kFerromagnetic)
        return italian ? "Ferromagnetico" : "Iron magnetic";
    return {};
}

std::string AutonomyText(std::uint8_t hours, std::uint8_t language)
{
    const bool italian = language == kItalian;
    if (hours == 1)
        return italian ? "1 ora" : "1 hour";
    if (hours == 3)
        return italian ? "3 ore" : "3 hours";
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
                     std::uint8_t hours, std::uint8_t language, const RowSink &onRow)
{
    for (std::size_t m = 1; m <= 3; ++m) {
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

void ResetSearch(State &state)
{
    state.BestCost = kNoCombinationCost;
    state.BestCombination.clear();
}

}  // namespace

CalculationRows CalculateRows(State &state, const RequiredPower &power, const Notify &notify,
                              const RowSink &onRow)
{
    CalculationRows result;

    ResetSearch(state);
    if (power.OneHour != 0) {
        const auto counts = FindCheapestCombination(state, AutonomyClass::OneHour, power.OneHour,
                                                    state.Catalogue1h, notify);
        result.OneHour = counts ? ClassOutcome::Found : ClassOutcome::TooDifficult;
        if (counts)
            AppendModelRows(result, *counts, state.Catalogue1h, 1, state.Language, onRow);
    }

    ResetSearch(state);
    if (power.ThreeHours != 0) {
        const auto counts = FindCheapestCombination(state, AutonomyClass::ThreeHours, power.ThreeHours,
                                                    state.Catalogue3h, notify);
        result.ThreeHours = counts ? ClassOutcome::Found : ClassOutcome::TooDifficult;
        if (!counts) {
            result.Finished = false;
            return result;
        }
        AppendModelRows(result, *counts, state.Catalogue3h, 3, state.Language, onRow);
    }

    Add(result, {" ", {}}, onRow);
    Add(result,
        {" ", {"", "", "", state.Language == kItalian ? "Costo totale:" : "Total price:", EuroText(result.TotalCost)}},
        onRow);
    return result;
}

ListRow LampListRow(const LampRecord &row, std::uint8_t language, char decimalSeparator)
{
    return {Digits(row.Fittings),
            {Digits(row.LampsPerFitting), Digits(row.WattsPerLamp), CosPhiText(row.CosPhi, decimalSeparator),
             BallastText(row.Ballast, language), AutonomyText(row.Autonomy, language)}};
}

std::vector<ListRow> PriceListRows(const State &state)
{
    std::vector<ListRow> rows;
    const auto add = [&](const Catalogue &catalogue, std::uint8_t hours) {
        for (std::size_t i = 1; i <= 3 && i < catalogue.size(); ++i) {
            const UpsModel &model = catalogue[i];
            rows.push_back({model.Code,
                            {AutonomyText(hours, state.Language), WattsText(model.Power),
                             EuroText(model.Price), model.Description}});
        }
    };
    add(state.Catalogue1h, 1);
    add(state.Catalogue3h, 3);
    return rows;
}

}  // namespace korval
