#pragma once

#include "engine/state.h"

namespace korval {

// Creates both catalogues with indices 0..kModelsPerClass (all empty) and fills them.
void CreateCatalogues(State &state);

// Writes powers, prices and codes, then the descriptions in the current language.
// An unknown language leaves the descriptions as they were.
void FillCatalogues(State &state);

}  // namespace korval
