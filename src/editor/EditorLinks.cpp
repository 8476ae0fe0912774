#include "EditorLinks.h"

#include <filesystem>

#include "uKestDialogs.h"
#include "uKestUtils.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"
#include "ui/windowing/Messages.h"

namespace kest {

std::string ManualFile() {
  // A module loaded by a relative name has a relative folder; a link needs
  // the whole path.
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(ModulePath(), error);
  return ((error ? std::filesystem::path(ModulePath()) : folder) / kManualFolder / kManualPage)
      .string();
}

std::string ManualLink(std::string_view section) {
  std::string link = FileLink(ManualFile());
  if (!section.empty()) link += "#" + std::string(section);
  return link;
}

bool OpenManual(std::string_view section, ui::WindowHandle owner) {
  const std::string file = ManualFile();
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
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
  for (const char ch : path) {
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
