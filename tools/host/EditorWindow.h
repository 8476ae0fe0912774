#pragma once
// The host's side of a plug-in editor on X11: a top-level window of the
// editor's size on the host's own connection, the editor opened inside it,
// idle calls as a host makes them, and what the screen shows there.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "VstHost.h"

struct _XDisplay;

namespace kest::host {

// Raised when there is no display or the plug-in opens no editor.
class EditorUnavailable : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class EditorWindow {
public:
  // Asks the effect for its editor's rectangle, makes a window of that size
  // at (x, y) on the display (null: $DISPLAY) and opens the editor in it.
  EditorWindow(VstHost& host, const char* display = nullptr, int x = 40, int y = 40,
               const std::string& title = "Kestrelphon");
  ~EditorWindow(); // closes the editor, then the window
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  unsigned long Window() const { return fWindow; }
  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  _XDisplay* Dpy() const { return fDpy; }

  // effEditIdle, then the host window's own events; false once the user
  // has closed the window (the window manager's close button).
  bool Idle();
  // Waits up to timeoutMs for anything on the host's connection.
  void Wait(int timeoutMs);
  // Idle calls, a short wait between them, until done() holds (true) or
  // timeoutMs have passed (false).
  bool IdleUntil(const std::function<bool()>& done, int timeoutMs);
  // The window's picture as 0xRRGGBB pixels, row by row (the editor's
  // window included, as the screen shows it).
  std::vector<std::uint32_t> Capture();
  // One pixel of it, 0xRRGGBB.
  std::uint32_t PixelAt(int x, int y);

private:
  VstHost& fHost;
  _XDisplay* fDpy = nullptr;
  unsigned long fWindow = 0;
  unsigned long fDeleteAtom = 0;
  int fWidth = 0;
  int fHeight = 0;
  bool fOpen = false;
};

} // namespace kest::host
