#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korval {

// Nearest integer, halves to the even neighbour, independent of the FPU mode.
// NaN gives 0; values beyond +-2^62 give +-2^62.
std::int64_t RoundHalfEven(double value);

// Plain decimal digits: no sign for non-negative values, no separators, no padding.
std::string Digits(std::int64_t value);
std::string WattsText(std::int64_t watts);  // "860 W"
std::string EuroText(std::int64_t euros);   // "12000 €"

// Cos phi rounded to five decimals, as the shortest text of the rounded value:
// 0.8500000238 -> "0.85", 1.0 -> "1". The caller passes the locale's separator.
std::string CosPhiText(double cosPhi, char decimalSeparator);

// A text of ASCII digits only (leading zeros allowed) whose value fits a signed
// 32-bit integer; anything else, the empty text included, gives no value.
std::optional<std::int32_t> ParseInt32(const std::string &text);

// True for a text that ParseDecimal can read: ASCII digits, points and commas,
// at most 254 characters.
bool IsDecimalText(const std::string &text);

// Reads a cos phi text in single precision, point and comma alike:
// "0.9", "0,9" and ".9" give 0x3F666667. Every step rounds to float.
float ParseDecimal(const std::string &text);

// Key filters of the lamp dialog's text boxes. keyCode is the typed character's
// code; control characters (below 32) always pass. `text` is the box's whole
// text before the key is inserted.
bool AcceptsIntegerKey(const std::string &text, int keyCode, std::int32_t bound);
bool AcceptsCosPhiKey(const std::string &text, int keyCode);

}  // namespace korval
