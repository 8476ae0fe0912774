// kestrelphon-info MODULE: opens a VST 2.4 module as a host does and prints
// what the host sees: names, version, flags, programs and parameters.
#include <cstdio>
#include <exception>

#include "VstHost.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s MODULE.so\n", argv[0]);
    return 2;
  }
  try {
    kest::host::PluginModule module(argv[1]);
    kest::host::VstHost host;
    host.SetStrictTexts(false); // any plug-in may be shown, even one that overruns buffers
    AEffect* e = host.Open(module.Entry());
    if (e == nullptr) {
      std::fprintf(stderr, "%s: the entry point created no effect\n", argv[1]);
      return 1;
    }
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(512);
    const int32_t id = e->uniqueID;
    std::printf("Module:     %s\n", argv[1]);
    std::printf("Effect:     %s\n", host.EffectName().c_str());
    std::printf("Vendor:     %s (version %ld)\n", host.VendorString().c_str(),
                static_cast<long>(host.Dispatch(effGetVendorVersion)));
    std::printf("Product:    %s\n", host.ProductString().c_str());
    std::printf("Unique ID:  %c%c%c%c, VST version %ld\n", (id >> 24) & 0xFF, (id >> 16) & 0xFF,
                (id >> 8) & 0xFF, id & 0xFF, static_cast<long>(host.Dispatch(effGetVstVersion)));
    std::printf("I/O:        %d in, %d out; flags 0x%x%s%s%s\n", e->numInputs, e->numOutputs,
                e->flags, (e->flags & effFlagsHasEditor) ? " editor" : "",
                (e->flags & effFlagsCanReplacing) ? " replacing" : "",
                (e->flags & effFlagsCanMono) ? " mono" : "");
    std::printf("\nPrograms (%d):\n", e->numPrograms);
    for (int32_t i = 0; i < e->numPrograms; ++i) {
      std::printf("  %2d  %s\n", i, host.ProgramNameIndexed(i).c_str());
    }
    std::printf("\nParameters (%d), program 0:\n", e->numParams);
    for (int32_t i = 0; i < e->numParams; ++i) {
      std::printf("  %3d  %-16s %-14s %-4s  (%.4f)\n", i, host.ParamName(i).c_str(),
                  host.ParamDisplay(i).c_str(), host.ParamLabel(i).c_str(),
                  static_cast<double>(host.GetParameter(i)));
    }
    host.Close();
    return 0;
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "error: %s\n", ex.what());
    return 1;
  }
}
