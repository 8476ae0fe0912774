#include <stdexcept>

#include "VstHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kest::host {

PluginModule::PluginModule(const std::string& path) : fPath(path) {
#if defined(_WIN32)
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    throw std::runtime_error("cannot load \"" + path + "\" (error " +
                             std::to_string(GetLastError()) + ")");
  }
  fHandle = module;
  auto entry = reinterpret_cast<VstPluginMainProc>(GetProcAddress(module, "VSTPluginMain"));
  if (entry == nullptr) entry = reinterpret_cast<VstPluginMainProc>(GetProcAddress(module, "main"));
#else
  fHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (fHandle == nullptr) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load \"" + path +
                             "\": " + (why != nullptr ? why : "unknown error"));
  }
  auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(fHandle, "VSTPluginMain"));
  if (entry == nullptr) entry = reinterpret_cast<VstPluginMainProc>(dlsym(fHandle, "main"));
#endif
  if (entry == nullptr) {
    Unload();
    throw std::runtime_error(
        "\"" + path + "\" is not a VST 2.4 plug-in: it exports neither VSTPluginMain nor main");
  }
  fEntry = entry;
}

PluginModule::~PluginModule() {
  Unload();
}

void PluginModule::Unload() {
  if (fHandle == nullptr) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(fHandle));
#else
  dlclose(fHandle);
#endif
  fHandle = nullptr;
}

} // namespace kest::host
