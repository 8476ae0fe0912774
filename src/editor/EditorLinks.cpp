#include "EditorLinks.h"

#include <filesystem>

#include "uKestDialogs.h"
#include "uKestUtils.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"
#include "ui/windowing/Messages.h"

namespace kest {

namespace {

// Our paths are UTF-8; a path made from a plain string would read them in
// Windows' ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

std::string Utf8FromPath(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

} // namespace

std::string ManualFile() {
  // A module loaded by a relative name has a relative folder; a link needs
  // the whole path.
  const std::filesystem::path module = PathFromUtf8(ModulePath());
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(module, error);
  return Utf8FromPath((error ? module : folder) / kManualFolder / kManualPage);
}

std::string ManualLink(std::string_view section) {
  std::string link = FileLink(ManualFile());
  if (!section.empty()) link += "#" + std::string(section);
  return link;
}

bool OpenManual(std::string_view section, ui::WindowHandle owner) {
  const std::string file = ManualFile();
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathFromUtf8(file), error)) {
    ui::ShowMessageBox(owner,
                       u"The user manual is not installed beside the plug-in.\r\nIt belongs in \"" +
                           ui::Utf8ToUtf16(file) + u"\".",
                       ui::Utf8ToUtf16(MessageCaption), ui::MB_ICONEXCLAMATION | ui::MB_OK);
    return false;
  }
  return OpenUrl(ManualLink(section));
}

std::string FileLink(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string link = "file://";
#ifdef _WIN32
  // A Windows path: "C:\x" is "file:///C:/x", with the drive's colon kept.
  const bool drive = path.size() >= 2 && path[1] == ':' &&
                     ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
  if (drive) {
    link += '/';
    link += path.substr(0, 2);
    path.remove_prefix(2);
  }
#endif
  for (char ch : path) {
#ifdef _WIN32
    if (ch == '\\') ch = '/';
#endif
    const auto c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      link += ch;
    } else {
      link += '%';
      link += kHex[c >> 4];
      link += kHex[c & 15];
    }
  }
  return link;
}

} // namespace kest
