#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/numbers.h"

#include "tests/cos_phi.h"
#include <cmath>

namespace korval {
namespace {

std::uint32_t Bits(float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

TEST(Numbers, rounds_halves_to_the_even_neighbour)
{
    constexpr std::int64_t kLimit = std::int64_t{1} << 62;  // where it saturates
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0},           {1.5, 2},
        {2.5, 2},           {160.5, 160},
        {161.5, 162},       {856.00004, 856},
        {114.9999976, 115}, {34.4999993, 34},
        {-0.5, 0},          {-1.5, -2},
        {-2.4, -2},         {1e12 + 0.5, 1000000000000},
        {-3.5, -4},         {4503599627370497.0, 4503599627370497},
        {std::nan(""), 0},  {HUGE_VAL, kLimit},
        {-1e300, -kLimit},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(Numbers, writes_plain_digits_with_units)
{
    EXPECT_EQ(WattsText(860), "860 W");
    EXPECT_EQ(WattsText(0), "0 W");
    EXPECT_EQ(EuroText(12000), "12000 \xE2\x82\xAC");
    EXPECT_EQ(EuroText(2394900000LL), "2394900000 \xE2\x82\xAC");
}

TEST(Numbers, shows_cos_phi_rounded_to_five_decimals)
{
    const std::tuple<double, char, const char *> cases[] = {
        {0.8500000238418579, '.', "0.85"},
        {test::kCosPhi09, ',', "0,9"},
        {1.0, '.', "1"},
        {0.100000001490116, '.', "0.1"},
        {0.123455, '.', "0.12346"},
        {0.123465, '.', "0.12346"},
        {0.550000011920929, '.', "0.55"},
        {0.0, '.', "0"},
    };
    for (const auto &[value, separator, text] : cases)
        EXPECT_EQ(CosPhiText(value, separator), text) << value;
}

TEST(Numbers, converts_only_ascii_digit_texts_that_fit_32_bits)
{
    const std::pair<const char *, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"0099", 99},
        {"1000", 1000},
        {"2147483647", 2147483647},
        {"00000000002147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
        {"\xD9\xA1", std::nullopt},  // Arabic-Indic one
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(ParseInt32(text), value) << text;
}

TEST(Numbers, parses_cos_phi_in_single_precision)
{
    const std::pair<const char *, std::uint32_t> cases[] = {
        {"0.9", 0x3F666667}, {"0,9", 0x3F666667},   {".9", 0x3F666667}, {"1", 0x3F800000},
        {"0.1", 0x3DCCCCCD}, {"0.5.5", 0x3F0CCCCD}, {".", 0},           {",", 0},
    };
    for (const auto &[text, bits] : cases)
        EXPECT_EQ(Bits(ParseDecimal(text)), bits) << text;
    EXPECT_DOUBLE_EQ(static_cast<double>(ParseDecimal("0.9")), test::kCosPhi09);
    EXPECT_LT(static_cast<double>(ParseDecimal("0.0999")), 0.1);
    EXPECT_GT(static_cast<double>(ParseDecimal("0.1")), 0.1);
    EXPECT_EQ(Bits(ParseDecimal("0.85")), Bits(ParseDecimal("0,85")));
    EXPECT_TRUE(IsDecimalText("0.5.5"));
    EXPECT_FALSE(IsDecimalText("0.9a"));
    EXPECT_FALSE(IsDecimalText(std::string(255, '1')));
}

// Types a sequence of keys at the end of the text, as the dialog's boxes do.
std::string Type(const std::string &keys, const std::function<bool(const std::string &, int)> &accepts)
{
    std::string text;
    for (char key : keys) {
        if (key == '\b') {
            if (!text.empty())
                text.pop_back();
            continue;
        }
        if (accepts(text, static_cast<unsigned char>(key)))
            text += key;
    }
    return text;
}

TEST(KeyFilters, integer_boxes_stop_by_value_not_by_length)
{
    const auto three = [](const std::string &t, int k) { return AcceptsIntegerKey(t, k, 99); };
    const auto two = [](const std::string &t, int k) { return AcceptsIntegerKey(t, k, 9); };
    const std::tuple<const char *, bool, const char *> cases[] = {
        {"1000", true, "100"},   {"9999", true, "999"},    {"100", false, "10"},      {"00999", true, "00999"},
        {"a1 -.,2", true, "12"}, {"999\b\b5", true, "95"}, {"99\b\b\b7", false, "7"},
    };
    for (const auto &[keys, threeDigits, expected] : cases)
        EXPECT_EQ(Type(keys, threeDigits ? three : two), expected) << keys;
    EXPECT_FALSE(AcceptsIntegerKey("99999999999", '1', 99)) << "too large for 32 bits is above the bound";
    EXPECT_TRUE(AcceptsIntegerKey("99999999999", 8, 99)) << "backspace always passes";
}

TEST(KeyFilters, cos_phi_box_takes_six_characters_and_no_large_first_digit)
{
    const auto cos = [](const std::string &t, int k) { return AcceptsCosPhiKey(t, k); };
    const std::pair<const char *, const char *> cases[] = {
        {"2", ""},           {"9", ""},          {"0", "0"},        {"1", "1"},
        {".", "."},          {",", ","},         {"0.95", "0.95"},  {"0.123456", "0.1234"},
        {"1,", "1,"},        {"0.5.5", "0.5.5"}, {"a0-x.9", "0.9"}, {"0.9\b\b\b5", ""},
        {"0.9\b\b\b0", "0"},
    };
    for (const auto &[keys, expected] : cases)
        EXPECT_EQ(Type(keys, cos), expected) << keys;
    EXPECT_EQ(Type("0.12345", cos), "0.1234") << "the seventh character is refused";
}

}  // namespace
}  // namespace korval
