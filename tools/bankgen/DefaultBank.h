#pragma once
// The presets of the default bank, built in memory; the generator writes them
// to resources/KEST_DEFAULT.kst and a test checks the committed file against it.
#include <array>
#include <memory>

#include "BankFile.h"
#include "TParamList.h"

namespace kest {

std::array<std::unique_ptr<TParamList>, kNumPresets> BuildDefaultBank();

} // namespace kest
