#pragma once

#include <string>
#include <vector>

#include "engine/power.h"
#include "engine/search.h"
#include "engine/state.h"

namespace korval {

// One row of a list view: the first column's text and the texts of the
// following columns (SubItems[0] is column 2).
struct ListRow {
    std::string Text;
    std::vector<std::string> SubItems;

    friend bool operator==(const ListRow &a, const ListRow &b)
    {
        return a.Text == b.Text && a.SubItems == b.SubItems;
    }
};

enum class ClassOutcome { NotSearched, Found, TooDifficult };

struct CalculationRows {
    std::vector<ListRow> Rows;  // model rows, then the blank and the total row
    ClassOutcome OneHour = ClassOutcome::NotSearched;
    ClassOutcome ThreeHours = ClassOutcome::NotSearched;
    // False when the 3-hour search was too difficult: the run stops without
    // the blank and the total row.
    bool Finished = true;
    std::int64_t TotalCost = 0;
};

using RowSink = std::function<void(const ListRow &row)>;

// Searches both classes for the given powers and writes the rows of the result
// list in the current language. BestCost, BestPower and BestCombination are
// left describing the last class searched (BestCost 2000000000 and no
// combination when it found none). Each row also goes to `onRow` as soon as it
// exists, so a list shows the 1-hour rows while the 3-hour search may still
// report a message.
CalculationRows CalculateRows(State &state, const RequiredPower &power, const Notify &notify,
                              const RowSink &onRow = {});

// Row n of the lamp list.
ListRow LampListRow(const LampRecord &row, Language language, char decimalSeparator);

// The six rows of the price list: 1-hour models first.
std::vector<ListRow> PriceListRows(const State &state);

// Ballast and autonomy texts shared by the lamp list and the lamp dialog.
// An unknown ballast has no text, an unknown autonomy reads "?".
std::string BallastText(std::uint8_t ballast, Language language);
std::string AutonomyText(std::uint8_t hours, Language language);

}  // namespace korval
