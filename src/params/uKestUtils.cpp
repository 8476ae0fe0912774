#include "uKestUtils.h"

#include <cfenv>
#include <climits>
#include <cmath>

#include "Resources.h"

#if defined(_WIN32)
#include <windows.h>
// <windows.h> maps FindResource to FindResourceA/W; ours keeps its name.
#undef FindResource
#else
#include <dlfcn.h>
#endif

namespace kest {

std::unique_ptr<TMemoryStream> ResourceToStream(std::string_view name, std::string_view type) {
  const auto res = FindResource(name, type);
  if (!res) {
    throw EResourceError("The resource \"" + std::string(name) + "\" of type \"" +
                         std::string(type) + "\" was not found in the module.");
  }
  auto stream = std::make_unique<TMemoryStream>(res->data, res->size);
  stream->Seek(0);
  return stream;
}

std::string ModulePath() {
#if defined(_WIN32)
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModulePath), &module);
  wchar_t buffer[1501] = {};
  const DWORD n = GetModuleFileNameW(module, buffer, 1500);
  std::wstring path(buffer, n);
  const auto cut = path.find_last_of(L"\\/");
  path = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1)
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
#else
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModulePath), &info) == 0 || info.dli_fname == nullptr) {
    return "./";
  }
  std::string path = info.dli_fname;
  const auto cut = path.find_last_of('/');
  return cut == std::string::npos ? std::string("./") : path.substr(0, cut + 1);
#endif
}

float AmpToDb(float x) {
  if (!(x > 0.0f)) return -200.0f;
  const float ln = std::log(x);
  return 20.0f * (ln * 0.4342945f);
}

std::string NoteName(int n) {
  static const char* const kLetters[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                           "F#", "G",  "G#", "A",  "A#", "B"};
  // Floored so that a stray negative number still names a note.
  const int letter = ((n % 12) + 12) % 12;
  const int octave = (n - letter) / 12;
  return std::string(kLetters[letter]) + std::to_string(octave);
}

int RoundEven(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(std::nearbyint(x));
}

} // namespace kest
