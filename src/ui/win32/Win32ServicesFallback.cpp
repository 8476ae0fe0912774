// Stand-in services until the system's own (message boxes, file dialogs,
// clipboard, shell links, settings, sounds, accessibility) are built: what
// the headless backend answers when nothing is scripted.
#include "ui/win32/Win32Services.h"
#include "ui/windowing/Messages.h"

namespace kest::ui::win32 {

namespace {

class AnsweredSession final : public ModalSession {
public:
  bool Done() override { return true; }
  int Result() override { return IDOK; }
  void Idle() override {}
};

class FallbackServices final : public Services {
public:
  std::unique_ptr<ModalSession> BeginMessageBox(const MessageBoxRequest&) override {
    return std::make_unique<AnsweredSession>();
  }
  std::optional<std::u16string> RunFileDialog(const FileDialogRequest&) override { return {}; }
  void SetClipboardText(std::u16string_view text) override { fClipboard = std::u16string(text); }
  std::optional<std::u16string> ClipboardText() override { return fClipboard; }
  bool OpenLink(std::string_view, WindowHandle) override { return false; }
  SystemSettings Settings() override { return {}; }
  void PlaySystemSound(std::string_view) override {}

private:
  std::optional<std::u16string> fClipboard;
};

} // namespace

std::unique_ptr<Services> CreateServices() {
  return std::make_unique<FallbackServices>();
}

std::intptr_t AnswerGetObject(WindowHandle, void*, std::uintptr_t, std::intptr_t) {
  return 0;
}

void RaiseWinEvent(std::uint32_t, void*, std::int32_t, std::int32_t) {}

} // namespace kest::ui::win32
