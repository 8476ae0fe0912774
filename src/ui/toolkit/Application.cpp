#include "ui/toolkit/Application.h"

#include <stdexcept>

#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"

namespace kest::ui {

Application& App() {
  static Application app;
  return app;
}

void Application::ProcessMessages() {
  Message m;
  while (PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      // Leave the quit for the loop that owns it.
      PostQuitMsg(static_cast<int>(m.wParam));
      return;
    }
    TranslateMsg(m);
    DispatchMsg(m);
  }
}

bool Application::HandleMessage() {
  Message m;
  if (!GetMsg(m)) return false;
  TranslateMsg(m);
  DispatchMsg(m);
  return true;
}

void Application::HandleException(std::exception_ptr e) {
  if (!e) return;
  if (OnException) {
    OnException(e);
    return;
  }
  std::string text = "Unknown error";
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    text = ex.what();
  } catch (...) {
  }
  ShowMessageBox(fHandle, Utf8ToUtf16(text), Title, MB_OK | MB_ICONERROR);
}

void Application::SetHint(const std::u16string& hint) {
  if (hint == fHint) return;
  fHint = hint;
  if (OnHint) OnHint();
}

bool Application::HelpContext(std::uint32_t contextId, bool popup) {
  if (!OnHelp) return false;
  OnHelp(contextId, popup);
  return true;
}

void Application::SetCursor(Cursor c) {
  fCursor = c;
  SetCursorShape(c == Cursor::Default ? Cursor::Arrow : c);
}

void Application::Reset() {
  OnException = nullptr;
  OnHint = nullptr;
  OnHelp = nullptr;
  fHint.clear();
  fHandle = 0;
  fCursor = Cursor::Default;
}

} // namespace kest::ui
