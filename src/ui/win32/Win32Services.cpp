// The desktop services of the Win32 backend.
#include "ui/gfx/Utf.h"
#include "ui/windowing/Messages.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <shellapi.h>

namespace kest::ui::win32 {

std::wstring Wide(std::u16string_view s) {
  return std::wstring(s.begin(), s.end());
}

std::u16string Narrow(std::wstring_view s) {
  return std::u16string(s.begin(), s.end());
}

namespace {

// MessageBoxW runs a loop of its own until it is answered, so the box opens
// at the first Idle of the caller's loop rather than at once: by then the
// caller has handled what was waiting (the menu that asked has closed and
// its area is repainted), and the box then answers at once.
class Win32MessageBox final : public ModalSession {
public:
  Win32MessageBox(const MessageBoxRequest& request, const HwndResolver& resolve)
      : fRequest(request), fResolve(resolve) {}
  bool Done() override { return fDone; }
  int Result() override { return fResult; }
  void Idle() override {
    if (fDone) return;
    const MessageBoxCall call =
        MessageBoxCallFor(fRequest, OwnerTopLevel(fResolve, fRequest.owner));
    SystemDialogScope scope;
    const int answer =
        ::MessageBoxW(call.owner, call.text.c_str(), call.caption.c_str(), call.type);
    fDone = true;
    // 0: the box could not be shown, so nothing was agreed to.
    fResult = answer ? answer : IDCANCEL;
    scope.Finish();
  }

private:
  MessageBoxRequest fRequest;
  HwndResolver fResolve;
  bool fDone = false;
  int fResult = IDCANCEL;
};

class Win32Services final : public Services {
public:
  explicit Win32Services(HwndResolver resolve) : fResolve(std::move(resolve)) {}

  std::unique_ptr<ModalSession> BeginMessageBox(const MessageBoxRequest& request) override {
    return std::make_unique<Win32MessageBox>(request, fResolve);
  }
  std::optional<std::u16string> RunFileDialog(const FileDialogRequest& request) override {
    FileDialogCall call(request, OwnerTopLevel(fResolve, request.owner));
    return RunFileDialogCall(call);
  }
  void SetClipboardText(std::u16string_view text) override { fClipboard.SetText(text); }
  std::optional<std::u16string> ClipboardText() override { return fClipboard.Text(); }
  bool OpenLink(std::string_view url, WindowHandle owner) override {
    if (url.empty()) return false;
    const std::wstring target = Wide(Utf8ToUtf16(url));
    // Web links and file paths alike go to what the user set up for them.
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
        OwnerTopLevel(fResolve, owner), L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
  }
  SystemSettings Settings() override { return ReadSystemSettings(); }
  void PlaySystemSound(std::string_view eventName) override { PlaySoundEvent(eventName); }

private:
  HwndResolver fResolve;
  Clipboard fClipboard;
};

} // namespace

std::unique_ptr<Services> CreateServices(HwndResolver resolve) {
  return std::make_unique<Win32Services>(std::move(resolve));
}

} // namespace kest::ui::win32
