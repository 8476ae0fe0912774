#include "uKestDialogs.h"

#include <algorithm>

#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"
#include "ui/toolkit/Application.h"

namespace kest {

namespace {

constexpr std::size_t kFileNameCapacity = 1500;

std::vector<ui::FileFilter> ParseFilter(const char16_t* p) {
  std::vector<ui::FileFilter> out;
  if (!p) return out;
  while (*p) {
    const std::u16string_view description(p);
    p += description.size() + 1;
    if (!*p) break; // a description without its pattern
    const std::u16string_view pattern(p);
    p += pattern.size() + 1;
    out.push_back({std::u16string(description), std::u16string(pattern)});
  }
  return out;
}

std::u16string BufferText(const TZFileName& name) {
  const auto* end = std::find(name.Text, name.Text + kFileNameCapacity, u'\0');
  return std::u16string(name.Text, end);
}

} // namespace

bool FileDialog(TZFileName& fileName, ui::WindowHandle owner, bool open,
                std::u16string_view initialDir, std::u16string_view title, const char16_t* filter,
                std::u16string_view defaultExt) {
  ui::FileDialogRequest request;
  request.owner = owner;
  request.save = !open;
  request.fileName = BufferText(fileName);
  request.initialDir = initialDir;
  request.title = title;
  request.filters = ParseFilter(filter);
  request.defaultExt = defaultExt;
  request.flags = ui::OFN_EXPLORER | ui::OFN_HIDEREADONLY |
                  (open ? ui::OFN_FILEMUSTEXIST : ui::OFN_OVERWRITEPROMPT);
  const auto chosen = ui::ShowFileDialog(request);
  if (!chosen || chosen->size() > kFileNameCapacity) return false;
  std::fill(std::begin(fileName.Text), std::end(fileName.Text), u'\0');
  std::copy(chosen->begin(), chosen->end(), fileName.Text);
  return true;
}

IMessageBoxService& UiMessageBoxService() {
  class Service : public IMessageBoxService {
  public:
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
      return ui::ShowMessageBox(ui::App().Handle(), ui::Utf8ToUtf16(text), ui::Utf8ToUtf16(caption),
                                flags);
    }
  };
  static Service service;
  return service;
}

bool OpenUrl(std::string_view link) {
  auto& app = ui::App();
  app.ProcessMessages();
  if (ui::OpenLink(link, app.Handle())) return true;
  ui::ShowMessageBox(app.Handle(), OpenUrlErrorText, ui::Utf8ToUtf16(MessageCaption),
                     ui::MB_ICONEXCLAMATION | ui::MB_OK);
  ui::SetClipboardText(ui::Utf8ToUtf16(link));
  return false;
}

} // namespace kest
