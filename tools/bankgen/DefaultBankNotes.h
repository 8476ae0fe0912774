#pragma once
#include "TParamList.h"

namespace kest {
// Writes the 48 step notes of default preset `index` (3..31).
void FillDefaultNotes(TParamList& preset, int index);
} // namespace kest
