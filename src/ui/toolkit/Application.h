#pragma once
// The application object: pumping messages, the exception handler for
// errors raised by handlers, the hint text, the main window handle and the
// application-wide cursor.
#include <exception>
#include <functional>
#include <string>

#include "ui/toolkit/Events.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui {

class Application {
public:
  // Handles every message waiting now, then returns.
  void ProcessMessages();
  // Handles one message, waiting for it; false when it was WM_QUIT.
  bool HandleMessage();

  // Errors that escape a handler end here: OnException when set, else a
  // message box with the error's text.
  std::function<void(std::exception_ptr)> OnException;
  void HandleException(std::exception_ptr e);

  const std::u16string& Hint() const { return fHint; }
  void SetHint(const std::u16string& hint);
  void CancelHint() { SetHint(u""); }
  std::function<void()> OnHint;
  bool ShowHint = true;
  bool HintShortCuts = true;

  // Help for a help context (a menu item's, asked for with F1): OnHelp,
  // with popup set for help shown beside the item; false when nobody
  // offers help.
  std::function<void(std::uint32_t contextId, bool popup)> OnHelp;
  bool HelpContext(std::uint32_t contextId, bool popup = false);

  // The window that owns the application's dialogs and link launches.
  WindowHandle Handle() const { return fHandle; }
  void SetHandle(WindowHandle h) { fHandle = h; }
  std::u16string Title = u"Kestrelphon";

  // Cursor::Default lets every control show its own; anything else is shown
  // everywhere (Cursor::None hides the pointer).
  Cursor GetCursor() const { return fCursor; }
  void SetCursor(Cursor c);

  // Back to the state of a fresh start (tests use it between cases).
  void Reset();

private:
  std::u16string fHint;
  WindowHandle fHandle = 0;
  Cursor fCursor = Cursor::Default;
};

Application& App();

} // namespace kest::ui
