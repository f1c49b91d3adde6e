#include "engine/catalogue.h"

namespace korval {
namespace {

struct Entry {
    std::int32_t power;
    std::int32_t price;
    const char *code;
    Bilingual description;
};

// The texts differ between languages on purpose ("kg"/"Kg", the blank before
// the slash of the third 1-hour model): they are the manufacturer's wording.
constexpr Entry kOneHour[kModelsPerClass] = {
    {1000,
     12000,
     "QX10011",
     {"UPS Orvane Monofase/Monofase, Peso 91 kg", "UPS Orvane Monophase/Monophase, Weight 91 Kg, 1 piece"}},
    {2000,
     14000,
     "QX10013",
     {"UPS Orvane Monofase/Monofase, Peso 43+130 kg",
      "UPS Orvane Monophase/Monophase, Weight 43+130 Kg, 1 piece"}},
    {3000,
     16000,
     "QX10015",
     {"UPS Orvane Monofase-Trifase /Monofase, Peso 44+130 kg",
      "UPS Orvane Monophase/Monophase, Weight 44+130 Kg, 1 piece"}},
};

constexpr Entry kThreeHours[kModelsPerClass] = {
    {1000,
     16000,
     "QX10012",
     {"UPS Orvane Monofase/Monofase, Peso 43+130 kg",
      "UPS Orvane Monophase/Monophase, Weight 43+130 Kg, 1 piece"}},
    {2000,
     19000,
     "QX10014",
     {"UPS Orvane Monofase/Monofase, Peso 43+2x130 kg",
      "UPS Orvane Monophase/Monophase, Weight 43+2x130 Kg, 1 piece"}},
    {3000,
     25000,
     "QX10016",
     {"UPS Orvane Monofase-Trifase/Monofase, Peso 44+3x130 kg",
      "UPS Orvane Monophase/Monophase, Weight 44+3x130 Kg, 1 piece"}},
};

void FillFixedFields(Catalogue &catalogue, const Entry (&entries)[kModelsPerClass])
{
    for (int i = 0; i < kModelsPerClass; ++i) {
        UpsModel &model = catalogue[static_cast<std::size_t>(i + 1)];
        model.Power = entries[i].power;
        model.Price = entries[i].price;
        model.Code = entries[i].code;
    }
}

void FillDescriptions(Catalogue &catalogue, const Entry (&entries)[kModelsPerClass], Language language)
{
    for (int i = 0; i < kModelsPerClass; ++i)
        catalogue[static_cast<std::size_t>(i + 1)].Description = Pick(entries[i].description, language);
}

}  // namespace

void CreateCatalogues(State &state)
{
    state.Catalogue1h.assign(kModelsPerClass + 1, UpsModel{});
    state.Catalogue3h.assign(kModelsPerClass + 1, UpsModel{});
    FillCatalogues(state);
}

void FillCatalogues(State &state)
{
    constexpr std::size_t kSlots = kModelsPerClass + 1;
    if (state.Catalogue1h.size() < kSlots || state.Catalogue3h.size() < kSlots)
        return;
    FillFixedFields(state.Catalogue1h, kOneHour);
    FillFixedFields(state.Catalogue3h, kThreeHours);
    if (!IsKnown(state.Language))
        return;
    FillDescriptions(state.Catalogue1h, kOneHour, state.Language);
    FillDescriptions(state.Catalogue3h, kThreeHours, state.Language);
}

}  // namespace korval
