#include "ui/services/Services.h"

#include "ui/windowing/Backend.h"

namespace kest::ui {

namespace {
Services& Svc() {
  return CurrentBackend().GetServices();
}
} // namespace

int ShowMessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                   unsigned flags) {
  if (const WindowHandle c = GetCaptureWnd()) SendMsg(c, WM_CANCELMODE);
  const WindowHandle root = owner ? GetRootWindow(owner) : 0;
  const WindowHandle focus = GetFocusWnd();
  const bool disable = root && IsWindowEnabled(root);
  if (disable) EnableWnd(root, false);
  struct Restore {
    WindowHandle root, focus;
    bool enable;
    ~Restore() {
      if (enable && IsWindow(root)) EnableWnd(root, true);
      if (IsWindow(focus) && GetFocusWnd() != focus) SetFocusWnd(focus);
    }
  } restore{root, focus, disable};

  // The box takes the keyboard focus while it is open, as a real one does.
  if (focus) SetFocusWnd(0);

  auto session =
      Svc().BeginMessageBox({owner, std::u16string(text), std::u16string(caption), flags});
  while (!session->Done()) {
    Message m;
    if (PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) {
        // The quit belongs to the outer loop.
        PostQuitMsg(static_cast<int>(m.wParam));
        return IDCANCEL;
      }
      TranslateMsg(m);
      DispatchMsg(m);
    } else {
      session->Idle();
    }
  }
  return session->Result();
}

std::optional<std::u16string> ShowFileDialog(const FileDialogRequest& request) {
  return Svc().RunFileDialog(request);
}

void SetClipboardText(std::u16string_view text) {
  Svc().SetClipboardText(text);
}
std::optional<std::u16string> GetClipboardText() {
  return Svc().ClipboardText();
}
bool OpenLink(std::string_view url, WindowHandle owner) {
  return Svc().OpenLink(url, owner);
}
SystemSettings GetSystemSettings() {
  return Svc().Settings();
}
void PlaySystemSound(std::string_view eventName) {
  Svc().PlaySystemSound(eventName);
}

} // namespace kest::ui
