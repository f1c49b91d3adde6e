#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/language.h"

namespace korval {

// Ballast codes stored in a lamp row.
constexpr std::uint8_t kElectronic = 0;
constexpr std::uint8_t kFerromagnetic = 1;

constexpr int kMaxLampRows = 250;
constexpr std::int64_t kNoCombinationCost = 2000000000;

// Each autonomy class offers this many models, numbered 1..kModelsPerClass in
// ascending order of power; slot 0 of a catalogue stays empty.
constexpr int kModelsPerClass = 3;

// One group of identical ceiling light fittings.
struct LampRecord {
    std::int32_t Fittings = 0;
    std::int32_t LampsPerFitting = 0;
    std::int32_t WattsPerLamp = 0;
    double CosPhi = 0.0;
    std::uint8_t Autonomy = 0;  // hours: 1 or 3
    std::uint8_t Ballast = 0;   // kElectronic or kFerromagnetic

    friend bool operator==(const LampRecord &a, const LampRecord &b)
    {
        return a.Fittings == b.Fittings && a.LampsPerFitting == b.LampsPerFitting
            && a.WattsPerLamp == b.WattsPerLamp && a.CosPhi == b.CosPhi && a.Autonomy == b.Autonomy
            && a.Ballast == b.Ballast;
    }
};

struct UpsModel {
    std::int32_t Power = 0;  // W
    std::int32_t Price = 0;  // whole euros
    std::string Code;
    std::string Description;
};

// Models live at indices 1..kModelsPerClass; index 0 stays empty. An empty
// vector means the catalogue has not been created yet.
using Catalogue = std::vector<UpsModel>;

// Everything one run of the program shares between its windows. The windows
// receive it by reference; nothing here is global.
struct State {
    std::uint8_t EditIndex = 0;
    korval::Language Language = korval::Language::Italian;
    // Cost and power are carried in 64 bits: the bulk units of a very large
    // project push euro totals past the 32-bit range.
    std::int64_t BestCost = 0;
    std::int64_t BestPower = 0;
    std::string BestCombination;  // one character per unit, its code the model number
    Catalogue Catalogue1h;
    Catalogue Catalogue3h;
    std::array<LampRecord, kMaxLampRows + 1> LampTable{};  // slot 0 is never used
    std::int16_t LampCount = 0;
};

enum class MessageIcon { None, Warning, Error };

// How the engine shows a message: the caller decides what a message looks like.
using Notify = std::function<void(const std::string &text, MessageIcon icon)>;

// True for a row the lamp dialog could have stored: 1..1000 fittings, 1..100
// lamps, 1..1000 W, cos phi 0.1..1 (as widened from single precision). Any
// autonomy and ballast code passes; the required power reports an unknown
// ballast itself.
bool IsStorableRow(const LampRecord &row);

enum class TableChange { Done, TableFull, RowOutOfRange, NoSuchRow };

// Lamp table operations. Slots above LampCount may keep stale rows; nothing
// reads them. Anything but Done leaves the table as it was.
TableChange AppendRow(State &state, const LampRecord &row);
TableChange OverwriteRow(State &state, int k, const LampRecord &row);
TableChange DeleteRow(State &state, int k);
void EraseAll(State &state);

// The rows in slots 1..LampCount; a LampCount outside 0..250 reads as its
// nearest bound.
int RowCount(const State &state);
std::vector<LampRecord> ReadRows(const State &state);

}  // namespace korval
