#pragma once
// Conversions between the UTF-8 texts of the code base and the UTF-16 texts
// that the window system and the editor use. Broken sequences become U+FFFD.
#include <string>
#include <string_view>

namespace kest::ui {

std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// Code point at index i of s; advances i past it.
char32_t NextCodePoint(std::u16string_view s, std::size_t& i);

} // namespace kest::ui
