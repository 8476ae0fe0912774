#include "VstEntry.h"

namespace kest {

AEffect* VstEntry(audioMasterCallback audioMaster, EffectFactory factory) {
  if (audioMaster == nullptr || factory == nullptr) return nullptr;
  try {
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = factory(audioMaster);
    return effect != nullptr ? effect->Effect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

} // namespace kest
