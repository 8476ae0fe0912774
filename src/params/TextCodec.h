#pragma once
// Preset names are Windows-1252 bytes in the bank file and in memory, so a
// bank reads the same on every system. These convert them for the host
// (UTF-8 on Linux) and the editor (UTF-16). Characters that Windows-1252
// cannot hold become '?'.
#include <string>
#include <string_view>

namespace kest {

std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace kest
