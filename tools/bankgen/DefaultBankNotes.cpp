#include "DefaultBankNotes.h"

#include "KestRandom.h"
#include "ParamTable.h"
#include "uKestUtils.h"
#include "uRandomSeq.h"

namespace kest {

// Each preset's rows come from the random generator with that preset's root
// note, range and style. The generator is reseeded per preset so that the
// notes of one preset do not depend on the presets before it.
void FillDefaultNotes(TParamList& preset, int index) {
  RandomSeed(0x4B455354u + static_cast<std::uint64_t>(index));
  const int root = RoundEven(preset[kRandomRootNote].Value());
  const int range = RoundEven(preset[kRandomRange].Value());
  const int style = RoundEven(preset[kRandomStyle].Value());
  FillStyle(style, root, range, [&](int param, int note) { preset[param].SetValue(note); });
}

} // namespace kest
