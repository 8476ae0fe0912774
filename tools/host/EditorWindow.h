#pragma once
// The host's side of a plug-in editor: a top-level window of the editor's
// size that the host owns, the editor opened inside it, idle calls as a host
// makes them, and what the screen shows there. On Linux the window lives on
// the host's own X connection; on Windows it is an HWND of the host's, pumped
// as a Windows host pumps its thread's messages.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "VstHost.h"

namespace kest::host {

// Raised when there is no display or the plug-in opens no editor.
class EditorUnavailable : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Under Wine with a display of the tests' own (wine-run.sh --xvfb names it
// in KEST_WINE_DISPLAY), moves the calling thread onto a desktop shown there
// (the prefix's own desktop draws nowhere). Called before the thread's first
// window, so before the plug-in is opened; nothing anywhere else.
void JoinTestDisplay();

class EditorWindow {
public:
  // Asks the effect for its editor's rectangle, makes a window whose client
  // area has that size at (x, y) on the screen and opens the editor in it.
  // display names the X display (null: $DISPLAY); Windows has only one.
  EditorWindow(VstHost& host, const char* display = nullptr, int x = 40, int y = 40,
               const std::string& title = "Kestrelphon");
  ~EditorWindow(); // closes the editor, then the window
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // The native window the editor was opened in (an X window id or an HWND).
  std::uintptr_t Window() const;
  int Width() const { return fWidth; }
  int Height() const { return fHeight; }

  // effEditIdle, then the host window's own events; false once the user
  // has closed the window.
  bool Idle();
  // Waits up to timeoutMs for anything for the host's window.
  void Wait(int timeoutMs);
  // Idle calls, a short wait between them, until done() holds (true) or
  // timeoutMs have passed (false).
  bool IdleUntil(const std::function<bool()>& done, int timeoutMs);
  // The window's client area as 0xRRGGBB pixels, row by row (the editor's
  // window included, as the screen shows it).
  std::vector<std::uint32_t> Capture();
  // One pixel of it, 0xRRGGBB.
  std::uint32_t PixelAt(int x, int y);

private:
  struct Native; // the platform's window and connection
  void AskSize(); // the editor's rectangle, or EditorUnavailable
  void OpenEditor(std::uintptr_t parent);

  VstHost& fHost;
  std::unique_ptr<Native> fNative;
  int fWidth = 0;
  int fHeight = 0;
  bool fOpen = false;
};

} // namespace kest::host
