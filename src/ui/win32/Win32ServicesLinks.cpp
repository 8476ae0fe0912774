// Links handed to the shell.
#include "ui/gfx/Utf.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

namespace kest::ui::win32 {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int hi = s[i] == '%' && i + 2 < s.size() ? HexValue(s[i + 1]) : -1;
    const int lo = hi >= 0 ? HexValue(s[i + 2]) : -1;
    if (lo >= 0) {
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

bool StartsWithDrive(std::u16string_view path) {
  return path.size() >= 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/') &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

} // namespace

std::wstring ShellTarget(std::string_view url) {
  constexpr std::string_view kFile = "file://";
  const bool file = url.size() > kFile.size() &&
                    std::equal(kFile.begin(), kFile.end(), url.begin(), [](char a, char b) {
                      return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
                    });
  const std::size_t hash = url.find('#');
  const std::string_view rest =
      file ? url.substr(kFile.size(), hash == std::string_view::npos ? hash : hash - kFile.size())
           : std::string_view{};
  const std::u16string path = Utf8ToUtf16(PercentDecoded(rest));
  // "file://C%3A%5CFolder%5Cmanual.html" names a file the shell cannot find
  // that way: it wants "file:///C:/Folder/manual.html".
  if (!file || !StartsWithDrive(path)) return Wide(Utf8ToUtf16(url));
  std::wstring target = L"file:///";
  for (const char16_t c : path) {
    if (c == u'\\')
      target += L'/';
    else if (c == u' ' || c == u'%' || c == u'#')
      target += c == u' ' ? L"%20" : c == u'%' ? L"%25" : L"%23";
    else
      target += static_cast<wchar_t>(c);
  }
  if (hash != std::string_view::npos) target += Wide(Utf8ToUtf16(url.substr(hash)));
  return target;
}

} // namespace kest::ui::win32
