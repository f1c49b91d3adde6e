#include "engine/numbers.h"

#include <cmath>
#include <limits>

namespace korval {

std::int64_t RoundHalfEven(double value)
{
    // Out of range, a float-to-integer conversion is undefined: saturate.
    // One test keeps NaN out as well, on a path every row of a project takes.
    constexpr double kLimit = 4611686018427387904.0;  // 2^62
    if (!(std::fabs(value) < kLimit))
        return std::isnan(value) ? 0
            : value > 0          ? static_cast<std::int64_t>(kLimit)
                                 : -static_cast<std::int64_t>(kLimit);
    // Truncated, then floored: exact, as every double this large or larger is
    // a whole number and every smaller fraction is representable.
    std::int64_t below = static_cast<std::int64_t>(value);
    if (static_cast<double>(below) > value)
        --below;
    const double fraction = value - static_cast<double>(below);
    if (fraction > 0.5 || (fraction == 0.5 && (below & 1) != 0))
        ++below;
    return below;
}

std::string Digits(std::int64_t value)
{
    return std::to_string(value);
}

std::string WattsText(std::int64_t watts)
{
    return Digits(watts) + " W";
}

std::string EuroText(std::int64_t euros)
{
    return Digits(euros) + " \u20AC";
}

std::string CosPhiText(double cosPhi, char decimalSeparator)
{
    const std::int64_t scaled = RoundHalfEven(cosPhi * 100000.0);
    const std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string text = scaled < 0 ? "-" : "";
    text += std::to_string(magnitude / 100000);
    std::string fraction = std::to_string(magnitude % 100000);
    fraction.insert(0, 5 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    if (!fraction.empty())
        text += decimalSeparator + fraction;
    return text;
}

std::optional<std::int32_t> ParseInt32(const std::string &text)
{
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

bool IsDecimalText(const std::string &text)
{
    if (text.size() > 254)
        return false;
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.' && c != ',')
            return false;
    }
    return true;
}

float ParseDecimal(const std::string &text)
{
    float value = 0.0f;
    float weight = 0.1f;
    bool fraction = false;
    for (char c : text) {
        if (c == '.' || c == ',') {
            fraction = true;
            continue;
        }
        if (c < '0' || c > '9')
            continue;
        const float digit = static_cast<float>(c - '0');
        if (!fraction) {
            const float shifted = value * 10.0f;
            value = shifted + digit;
        } else {
            const float part = digit * weight;
            value = value + part;
            weight = weight / 10.0f;
        }
    }
    return value;
}

bool AcceptsIntegerKey(const std::string &text, int keyCode, std::int32_t bound)
{
    if (keyCode < 32)
        return true;
    if (keyCode < '0' || keyCode > '9')
        return false;
    if (text.empty())
        return true;
    // A value too large for 32 bits is simply larger than the bound.
    const std::optional<std::int32_t> value = ParseInt32(text);
    return value && *value <= bound;
}

bool AcceptsCosPhiKey(const std::string &text, int keyCode)
{
    if (keyCode < 32)
        return true;
    const bool digit = keyCode >= '0' && keyCode <= '9';
    if (!digit && keyCode != ',' && keyCode != '.')
        return false;
    if (text.size() > 5)
        return false;
    if (text.empty() && keyCode > '1')
        return false;
    return true;
}

}  // namespace korval
