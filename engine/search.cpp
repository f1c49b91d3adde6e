#include "engine/search.h"

#include <cmath>

namespace korval {
namespace {

constexpr std::size_t kSlots = kModelsPerClass + 1;

// Depth-first walk of the ordered sequences of one length, in lexicographic
// order. Subtrees that can neither cover the power nor undercut the best price
// are skipped; this cannot change which sequence wins, because only a strictly
// cheaper covering sequence replaces the best one.
class SequenceSearch {
public:
    SequenceSearch(const Catalogue &catalogue, std::int64_t remaining) : m_remaining(remaining)
    {
        for (std::size_t m = 1; m < kSlots; ++m) {
            m_power[m] = catalogue[m].Power;
            m_price[m] = catalogue[m].Price;
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

    bool Found() const { return m_bestCost != kNoCombinationCost; }
    std::int64_t Cost() const { return m_bestCost; }
    std::int64_t Power() const { return m_bestPower; }
    const std::string &Combination() const { return m_best; }

private:
    void Visit(int depth, std::int64_t power, std::int64_t price)
    {
        if (depth == m_length) {
            if (power >= m_remaining && price < m_bestCost) {
                m_bestCost = price;
                m_bestPower = power;
                m_best.assign(m_sequence, m_sequence + depth);
            }
            return;
        }
        const int left = m_length - depth;
        if (power + left * m_maxPower < m_remaining)
            return;
        if (price + left * m_minPrice >= m_bestCost)
            return;
        for (std::size_t m = 1; m < kSlots; ++m) {
            m_sequence[depth] = static_cast<char>(m);
            Visit(depth + 1, power + m_power[m], price + m_price[m]);
        }
    }

    std::int64_t m_remaining;
    std::int64_t m_power[kSlots] = {};
    std::int64_t m_price[kSlots] = {};
    std::int64_t m_maxPower = 0;
    std::int64_t m_minPrice = 0;
    int m_length = 0;
    char m_sequence[kExhaustiveUnitLimit] = {};
    std::int64_t m_bestCost = kNoCombinationCost;
    std::int64_t m_bestPower = 0;
    std::string m_best;
};

constexpr Bilingual kTooDifficult1h{"Calcolo per 1 ora troppo difficile...",
                                    "1 hour calculation too difficult..."};
constexpr Bilingual kTooDifficult3h{"Calcolo per 3 ore troppo difficile...",
                                    "3 hours calculation too difficult..."};

SearchResult TooDifficult(AutonomyClass cls, Language language, const Notify &notify)
{
    if (notify)
        notify(Pick(cls == AutonomyClass::OneHour ? kTooDifficult1h : kTooDifficult3h, language),
               MessageIcon::None);
    SearchResult result;
    result.TooDifficult = true;
    return result;
}

// Models 1..3 with power, in ascending order, and prices that cannot wrap.
bool Searchable(const Catalogue &catalogue)
{
    if (catalogue.size() < kSlots)
        return false;
    for (std::size_t m = 1; m < kSlots; ++m) {
        if (catalogue[m].Power <= 0 || catalogue[m].Price < 0)
            return false;
        if (m > 1 && catalogue[m].Power < catalogue[m - 1].Power)
            return false;
    }
    return true;
}

}  // namespace

int ChooseBulkModel(const Catalogue &catalogue)
{
    int best = 1;
    float bestRatio = 0.0f;
    for (int m = 1; m <= kModelsPerClass && static_cast<std::size_t>(m) < catalogue.size(); ++m) {
        const UpsModel &model = catalogue[static_cast<std::size_t>(m)];
        if (model.Power <= 0)
            continue;
        const float ratio = static_cast<float>(model.Price) / static_cast<float>(model.Power);
        if (m == 1 || ratio < bestRatio) {
            best = m;
            bestRatio = ratio;
        }
    }
    return best;
}

SearchResult FindCheapestCombination(AutonomyClass cls, std::int64_t requiredPower, const Catalogue &catalogue,
                                     Language language, const Notify &notify)
{
    if (!Searchable(catalogue))
        return TooDifficult(cls, language, notify);

    const int bulkModel = ChooseBulkModel(catalogue);
    const std::int64_t bulkPower = catalogue[static_cast<std::size_t>(bulkModel)].Power;

    // The bulk phase adds one unit while more than the threshold remains;
    // counting the units at once gives the same result without a long loop.
    std::int64_t bulkUnits = 0;
    if (requiredPower > kBulkThreshold) {
        if ((requiredPower - kBulkThreshold) / bulkPower >= kMostBulkUnits)
            return TooDifficult(cls, language, notify);
        bulkUnits = (requiredPower - kBulkThreshold + bulkPower - 1) / bulkPower;
    }
    const std::int64_t remaining = requiredPower - bulkUnits * bulkPower;

    const double smallest = catalogue[1].Power;
    const double largest = catalogue[kModelsPerClass].Power;
    const auto lower = static_cast<std::int64_t>(std::floor((static_cast<double>(remaining) - 9.0) / largest)) + 1;
    const auto upper = static_cast<std::int64_t>(std::floor(static_cast<double>(remaining) / smallest)) + 1;

    SequenceSearch search(catalogue, remaining);
    for (std::int64_t k = lower < 1 ? 1 : lower; k <= upper; ++k) {
        if (k <= kExhaustiveUnitLimit) {
            search.EnumerateLength(static_cast<int>(k));
            continue;
        }
        if (static_cast<double>(remaining) > kExhaustiveUnitLimit * largest)
            return TooDifficult(cls, language, notify);
        break;  // every later count is skipped as well
    }
    if (!search.Found())
        return TooDifficult(cls, language, notify);

    SearchResult result;
    result.Cost = search.Cost();
    result.Power = search.Power();
    const std::string &sequence = search.Combination();
    for (char unit : sequence)
        ++result.Counts.Units[static_cast<std::size_t>(unit)];
    result.Counts.Units[static_cast<std::size_t>(bulkModel)] += bulkUnits;
    // Tens of thousands of bulk units for the largest projects: the text is
    // built once, at its full length, and moved from here on.
    result.Combination.reserve(sequence.size() + static_cast<std::size_t>(bulkUnits));
    result.Combination.append(sequence).append(static_cast<std::size_t>(bulkUnits), static_cast<char>(bulkModel));
    return result;
}

}  // namespace korval
