#include "engine/state.h"

#include <algorithm>
#include <cmath>

namespace korval {

bool IsStorableRow(const LampRecord &row)
{
    // 0.1f widened: the smallest cos phi the dialog's reader can produce from "0.1".
    constexpr double kLowestCosPhi = static_cast<double>(0.1f);
    return row.Fittings >= 1 && row.Fittings <= 1000 && row.LampsPerFitting >= 1 && row.LampsPerFitting <= 100
        && row.WattsPerLamp >= 1 && row.WattsPerLamp <= 1000 && std::isfinite(row.CosPhi)
        && row.CosPhi >= kLowestCosPhi && row.CosPhi <= 1.0;
}

int RowCount(const State &state)
{
    return std::clamp<int>(state.LampCount, 0, kMaxLampRows);
}

TableChange AppendRow(State &state, const LampRecord &row)
{
    if (!IsStorableRow(row))
        return TableChange::RowOutOfRange;
    const int count = RowCount(state);
    if (count >= kMaxLampRows)
        return TableChange::TableFull;
    state.LampCount = static_cast<std::int16_t>(count + 1);
    state.LampTable[static_cast<std::size_t>(state.LampCount)] = row;
    return TableChange::Done;
}

TableChange OverwriteRow(State &state, int k, const LampRecord &row)
{
    if (k < 1 || k > RowCount(state))
        return TableChange::NoSuchRow;
    if (!IsStorableRow(row))
        return TableChange::RowOutOfRange;
    state.LampTable[static_cast<std::size_t>(k)] = row;
    return TableChange::Done;
}

TableChange DeleteRow(State &state, int k)
{
    const int count = RowCount(state);
    if (k < 1 || k > count)
        return TableChange::NoSuchRow;
    for (int j = k + 1; j <= count; ++j)
        state.LampTable[static_cast<std::size_t>(j - 1)] = state.LampTable[static_cast<std::size_t>(j)];
    state.LampCount = static_cast<std::int16_t>(count - 1);
    return TableChange::Done;
}

void EraseAll(State &state)
{
    state.LampCount = 0;
}

std::vector<LampRecord> ReadRows(const State &state)
{
    return {state.LampTable.begin() + 1, state.LampTable.begin() + 1 + RowCount(state)};
}

}  // namespace korval
