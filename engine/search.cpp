#include "search.h"

#include <cmath>

namespace korval {
namespace {

// Depth-first walk of the ordered sequences of one length, in lexicographic
// order. Subtrees that can neither cover the power nor undercut the best price
// are skipped; this cannot change which sequence wins, because only a strictly
// cheaper covering sequence replaces the best one.
class SequenceSearch {
public:
    SequenceSearch(State &state, const Catalogue &catalogue, std::int64_t remaining)
        : m_state(state), m_remaining(remaining)
    {
        for (int m = 1; m <= 3; ++m) {
            m_power[m] = catalogue[static_cast<std::size_t>(m)].Power;
            m_price[m] = catalogue[static_cast<std::size_t>(m)].Price;
            if (m == 1 || m_power[m] > m_maxPower)
                m_maxPower = m_power[m];
            if (m == 1 || m_price[m] < m_minPrice)
                m_minPrice = m_price[m];
        }
    }

    void EnumerateLength(int length)
    {
        m_length = length;
        Visit(0, 0, 0);
    }

private:
    void Visit(int depth, std::int64_t power, std::int64_t price)
    {
        if (depth == m_length) {
            if (power >= m_remaining && price < m_state.BestCost) {
                m_state.BestCost = price;
                m_state.BestPower = power;
                m_state.BestCombination.assign(m_sequence, m_sequence + depth);
            }
            return;
        }
        const int left = m_length - depth;
        if (power + left * m_maxPower < m_remaining)
            return;
        if (price + left * m_minPrice >= m_state.BestCost)
            return;
        for (int m = 1; m <= 3; ++m) {
            m_sequence[depth] = static_cast<char>(m);
            Visit(depth + 1, power + m_power[m], price + m_price[m]);
        }
    }

    State &m_state;
    std::int64_t m_remaining;
    std::int64_t m_power[4] = {};
    std::int64_t m_price[4] = {};
    std::int64_t m_maxPower = 0;
    std::int64_t m_minPrice = 0;
    int m_length = 0;
    char m_sequence[kExhaustiveUnitLimit] = {};
};

const char *TooDifficultText(AutonomyClass cls, std::uint8_t language)
{
    if (cls == AutonomyClass::OneHour)
        return language == kItalian ? "Calcolo per 1 ora troppo difficile..."
                                    : "1 hour calculation too difficult...";
    return language == kItalian ? "Calcolo per 3 ore troppo difficile..."
                                : "3 hours calculation too difficult...";
}

}  // namespace

int ChooseBulkModel(const Catalogue &catalogue)
{
    int best = 1;
    float bestRatio = 0.0f;
    for (int m = 1; m <= 3; ++m) {
        const UpsModel &model = catalogue[static_cast<std::size_t>(m)];
        const float ratio = static_cast<float>(model.Price) / static_cast<float>(model.Power);
        if (m == 1 || ratio < bestRatio) {
            best = m;
            bestRatio = ratio;
        }
    }
    return best;
}

std::optional<UnitCounts> FindCheapestCombination(State &state, AutonomyClass cls,
                                                  std::int64_t requiredPower,
                                                  const Catalogue &catalogue, const Notify &notify)
{
    const int bulkModel = ChooseBulkModel(catalogue);
    const std::int64_t bulkPower = catalogue[static_cast<std::size_t>(bulkModel)].Power;

    // The bulk phase adds one unit while more than the threshold remains;
    // counting the units at once gives the same result without a long loop.
    std::int64_t bulkUnits = 0;
    if (requiredPower > kBulkThreshold && bulkPower > 0)
        bulkUnits = (requiredPower - kBulkThreshold + bulkPower - 1) / bulkPower;
    const std::int64_t remaining = requiredPower - bulkUnits * bulkPower;

    const double smallest = catalogue[1].Power;
    const double largest = catalogue[3].Power;
    const auto lower =
        static_cast<std::int64_t>(std::floor((static_cast<double>(remaining) - 9.0) / largest)) + 1;
    const auto upper = static_cast<std::int64_t>(std::floor(static_cast<double>(remaining) / smallest)) + 1;

    SequenceSearch search(state, catalogue, remaining);
    for (std::int64_t k = lower < 0 ? 0 : lower; k <= upper; ++k) {
        if (k <= kExhaustiveUnitLimit) {
            search.EnumerateLength(static_cast<int>(k));
            continue;
        }
        if (static_cast<double>(remaining) > kExhaustiveUnitLimit * largest) {
            if (notify)
                notify(TooDifficultText(cls, state.Language), MessageIcon::None);
            return std::nullopt;
        }
        break;  // every later count is skipped as well
    }

    UnitCounts counts;
    for (char unit : state.BestCombination)
        ++counts.Units[static_cast<std::size_t>(unit)];
    if (bulkUnits > 0) {
        state.BestCombination.append(static_cast<std::size_t>(bulkUnits), static_cast<char>(bulkModel));
        counts.Units[static_cast<std::size_t>(bulkModel)] += bulkUnits;
    }
    return counts;
}

}  // namespace korval
