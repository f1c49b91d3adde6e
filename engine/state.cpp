#include "state.h"

namespace korval {

bool AppendRow(State &state, const LampRecord &row)
{
    if (state.LampCount >= kMaxLampRows)
        return false;
    ++state.LampCount;
    state.LampTable[static_cast<std::size_t>(state.LampCount)] = row;
    return true;
}

void OverwriteRow(State &state, int k, const LampRecord &row)
{
    if (k < 1 || k > state.LampCount)
        return;
    state.LampTable[static_cast<std::size_t>(k)] = row;
}

void DeleteRow(State &state, int k)
{
    if (k < 1 || k > state.LampCount)
        return;
    for (int j = k + 1; j <= state.LampCount; ++j)
        state.LampTable[static_cast<std::size_t>(j - 1)] = state.LampTable[static_cast<std::size_t>(j)];
    --state.LampCount;
}

void EraseAll(State &state)
{
    state.LampCount = 0;
}

std::vector<LampRecord> ReadRows(const State &state)
{
    return {state.LampTable.begin() + 1, state.LampTable.begin() + 1 + state.LampCount};
}

}  // namespace korval
