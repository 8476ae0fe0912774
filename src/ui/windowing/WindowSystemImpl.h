#pragma once
// Internal state of the window system, shared by its source files.
#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ui/windowing/Backend.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui::detail {

struct WindowRec {
  WindowHandle handle = 0;
  WindowHandle parent = 0;
  WindowHandle owner = 0;
  std::thread::id thread;
  WindowProc proc;
  Rect bounds;
  bool visible = false;
  bool enabled = true;
  bool topmost = false;
  bool noActivate = false;
  bool doubleClicks = true;
  std::optional<Color> background;
  std::u16string caption;
  std::uint64_t hostWindow = 0;
  Rect update; // client coordinates
  bool erase = false;
  std::optional<Region> region;
  std::uint8_t opacity = 255;
  std::vector<WindowHandle> children; // bottom to top
  std::unique_ptr<Bitmap> surface;    // top-level windows only
  bool messageOnly = false;
  Rect frame;           // thickness of each side
  bool ncDirty = false; // the frame waits for WM_NCPAINT
  void* userData = nullptr;
};

// The client area of a window in its client coordinates.
inline Rect ClientArea(const WindowRec& w) {
  return {0, 0, std::max(0, w.bounds.Width() - w.frame.left - w.frame.right),
          std::max(0, w.bounds.Height() - w.frame.top - w.frame.bottom)};
}
inline bool HasFrame(const WindowRec& w) {
  return w.frame.left > 0 || w.frame.top > 0 || w.frame.right > 0 || w.frame.bottom > 0;
}

struct TimerRec {
  WindowHandle hwnd = 0;
  std::uintptr_t id = 0;
  std::uint32_t interval = 0;
  std::uint32_t due = 0;
  std::thread::id thread;
};

struct ThreadQueue {
  std::deque<Message> messages;
  bool quit = false;
  int quitCode = 0;
  Point lastPos;
  std::uint32_t lastTime = 0;
  std::array<std::uint8_t, 256> keys{}; // state as of the messages retrieved
};

struct ClickMemory {
  WindowHandle hwnd = 0;
  MouseButton button = MouseButton::Left;
  std::uint32_t time = 0;
  Point pos;
  bool valid = false;
};

struct State {
  std::recursive_mutex mutex;
  std::unique_ptr<Backend> backend;
  std::map<WindowHandle, std::unique_ptr<WindowRec>> windows;
  WindowHandle nextHandle = 1;
  std::vector<WindowHandle> topLevels; // bottom to top
  std::vector<TimerRec> timers;
  std::map<std::thread::id, ThreadQueue> queues;
  WindowHandle capture = 0;
  WindowHandle focus = 0;
  WindowHandle active = 0;
  Cursor cursor = Cursor::Default;
  int pointerCount = 0;
  Point cursorPos;
  std::array<std::uint8_t, 256> asyncKeys{};
  ClickMemory lastClick;
};

State& S();
Backend& B();                    // the backend, created on first use
WindowRec* Find(WindowHandle h); // caller holds the lock
ThreadQueue& QueueOf(std::thread::id t);
ThreadQueue& MyQueue();
// Queues an input message for the window's thread.
void QueueInput(const Message& m);
// Gives routed input its window as things stand now; false when nobody takes it.
bool ResolveRoute(Message& m);
// Offset of the window's client origin within its top-level surface.
Point SurfaceOffset(WindowHandle h);
// Offset of the window's top-left corner (frame included) within it.
Point WindowSurfaceOffset(WindowHandle h);
// The part of the window's client area that can show (clipped by ancestors).
Rect VisibleClient(WindowHandle h);
void ResizeSurface(WindowRec& w);
void ForgetWindow(WindowHandle h); // timers, capture, focus, active
std::uint16_t ButtonKey(MouseButton b);

} // namespace kest::ui::detail
