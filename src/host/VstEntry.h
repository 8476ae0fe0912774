#pragma once
// The logic behind the exported entry point, independent of which effect the
// module creates.
#include "AudioEffect.h"

namespace kest {

using EffectFactory = AudioEffect* (*)(audioMasterCallback);

// Asks the host for its version (null when it answers 0), then creates the
// effect. Any failure during construction is answered with null: nothing may
// be thrown into the host.
AEffect* VstEntry(audioMasterCallback audioMaster, EffectFactory factory);

} // namespace kest
