#include "WindowsText.h"

#include "WindowsHeader.h"

namespace kest::host {

std::wstring Widen(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (n <= 0) return std::wstring(utf8.begin(), utf8.end());
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::wstring WindowsPath(const std::string& path) {
  std::wstring wide = Widen(path);
  for (auto& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

} // namespace kest::host
