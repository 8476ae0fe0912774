#include "Resources.h"

#include <cstring>

#if defined(_WIN32)
#include <string>

#include <windows.h>
// <windows.h> maps FindResource to FindResourceA/W; ours keeps its name.
#undef FindResource

namespace kest {

namespace {
// The module this code is linked into (the plug-in DLL, or a test program),
// which carries the resources compiled from resources/.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}
} // namespace

std::optional<ResourceView> FindResource(std::string_view name, std::string_view type) {
  // Without this check "#12" would name a numeric resource.
  if (name.empty() || type.empty() || name.front() == '#' || type.front() == '#')
    return std::nullopt;
  const HMODULE module = ThisModule();
  const std::string n(name), t(type);
  HRSRC info = FindResourceA(module, n.c_str(), t.c_str());
  if (info == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return std::nullopt;
  return ResourceView{static_cast<const unsigned char*>(data), SizeofResource(module, info)};
}

} // namespace kest

#else

namespace kest::resdata {
struct Entry {
  const char* name;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};
extern const Entry kEntries[];
} // namespace kest::resdata

namespace kest {

std::optional<ResourceView> FindResource(std::string_view name, std::string_view type) {
  for (const resdata::Entry* e = resdata::kEntries; e->name != nullptr; ++e) {
    if (name == e->name && type == e->type) return ResourceView{e->data, e->size};
  }
  return std::nullopt;
}

} // namespace kest

#endif
