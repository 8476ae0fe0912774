#include "TextCodec.h"

#include <cstdint>

namespace kest {

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t ByteToCode(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) {
    const char16_t c = kHigh[b - 0x80];
    return c != 0 ? c : 0xFFFD;
  }
  return b;
}

unsigned char CodeToByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at i; malformed bytes become U+FFFD.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i++]);
  int extra;
  char32_t c;
  if (b < 0x80) return b;
  if ((b & 0xE0) == 0xC0) {
    extra = 1;
    c = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2;
    c = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    extra = 3;
    c = b & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  return c;
}

char32_t NextUtf16(std::u16string_view s, std::size_t& i) {
  const char16_t u = s[i++];
  if (u >= 0xD800 && u < 0xDC00 && i < s.size() && s[i] >= 0xDC00 && s[i] < 0xE000) {
    const char16_t low = s[i++];
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
  }
  return (u >= 0xD800 && u < 0xE000) ? 0xFFFD : u;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

} // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  for (char b : text)
    AppendUtf8(out, ByteToCode(static_cast<unsigned char>(b)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();)
    out += static_cast<char>(CodeToByte(NextUtf8(text, i)));
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  for (char b : text)
    AppendUtf16(out, ByteToCode(static_cast<unsigned char>(b)));
  return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();)
    out += static_cast<char>(CodeToByte(NextUtf16(text, i)));
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();)
    AppendUtf16(out, NextUtf8(text, i));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();)
    AppendUtf8(out, NextUtf16(text, i));
  return out;
}

} // namespace kest
