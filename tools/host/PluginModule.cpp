#include <stdexcept>
#include <string>

#include "VstHost.h"

#if defined(_WIN32)
#include "WindowsText.h"

#include <windows.h>
#else
#include <dlfcn.h>
#endif

#if defined(_WIN32)
namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = n > 0 && text != nullptr ? std::string(text, n) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message + " (error " + std::to_string(code) + ")";
}

// Loads the module by its full path, so that DLLs next to it are found the
// way a host finds them, and without the system's error boxes.
HMODULE LoadModule(const std::string& path) {
  std::wstring wide = kest::host::WindowsPath(path);
  wchar_t full[32768];
  const DWORD n = GetFullPathNameW(wide.c_str(), 32768, full, nullptr);
  if (n > 0 && n < 32768) wide.assign(full, n);
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD error = GetLastError();
  SetThreadErrorMode(oldMode, nullptr);
  SetLastError(error);
  return module;
}

VstPluginMainProc EntryPoint(HMODULE module, const char* name) {
  // A FARPROC is any function; the generic function pointer type keeps the
  // conversion to the entry point's type explicit.
  using Generic = void (*)();
  return reinterpret_cast<VstPluginMainProc>(
      reinterpret_cast<Generic>(GetProcAddress(module, name)));
}

} // namespace
#endif

namespace kest::host {

PluginModule::PluginModule(const std::string& path) : fPath(path) {
#if defined(_WIN32)
  HMODULE module = LoadModule(path);
  if (module == nullptr) {
    throw std::runtime_error("cannot load \"" + path + "\": " + SystemMessage(GetLastError()));
  }
  fHandle = module;
  auto entry = EntryPoint(module, "VSTPluginMain");
  if (entry == nullptr) entry = EntryPoint(module, "main");
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
