// The shipped module: the VST 2.4 entry point, creating the engine, exported
// under each name hosts look it up by: VSTPluginMain, VstPluginMain and (for
// older hosts) main.
#include "TSynth.h"
#include "VstEntry.h"

namespace {
AudioEffect* CreateSynth(audioMasterCallback audioMaster) {
  return new TSynth(audioMaster);
}
} // namespace

#if defined(_WIN32)
#define KEST_EXPORT __declspec(dllexport)
#else
#define KEST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KEST_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster) {
  return kest::VstEntry(audioMaster, &CreateSynth);
}

extern "C" KEST_EXPORT AEffect* VSTCALLBACK VstPluginMain(audioMasterCallback audioMaster) {
  return kest::VstEntry(audioMaster, &CreateSynth);
}

// Older hosts look for "main"; C++ reserves that name, so the symbol is given
// by its assembler name.
extern "C" KEST_EXPORT AEffect* VSTCALLBACK
VstMainAlias(audioMasterCallback audioMaster) __asm__("main");
extern "C" AEffect* VSTCALLBACK VstMainAlias(audioMasterCallback audioMaster) {
  return kest::VstEntry(audioMaster, &CreateSynth);
}
