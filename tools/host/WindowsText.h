#pragma once
// Texts for Windows' wide-character calls (Windows builds only).
#include <string>

namespace kest::host {

// UTF-8 to UTF-16.
std::wstring Widen(const std::string& utf8);
// A path as Windows takes it: UTF-16, backslashes (a Unix path of the build
// under Wine then names the same file on the current drive).
std::wstring WindowsPath(const std::string& path);

} // namespace kest::host
