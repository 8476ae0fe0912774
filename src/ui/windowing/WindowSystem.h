#pragma once
// The window system: windows with handles, one message queue per thread,
// timers, mouse capture, keyboard focus, painting through off-screen
// surfaces, visible regions, monitors and the pointer. The calls follow the
// desktop window system the rest of the code was designed against, so that
// code reads the same; names end in Msg/Wnd where the platform's would clash.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/gfx/Canvas.h"
#include "ui/gfx/Region.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/Types.h"

namespace kest::ui {

class Backend;

struct WindowDesc {
  WindowHandle parent = 0; // a child window lives inside its parent's client area
  WindowHandle owner = 0;  // a top-level window may be owned (destroyed with its owner)
  Rect bounds;             // child: parent client coordinates; top-level: screen
  bool visible = false;
  bool topmost = false;
  bool noActivate = false; // pressing it does not make it the active window
  bool doubleClicks = true;
  std::optional<Color> background; // erase colour; none leaves the surface as it is
  std::u16string caption;
  // A top-level window may stand for a native window of another program (a
  // host's editor window): it covers that window and follows it, and its
  // picture shows inside it. The bounds are then the native window's.
  std::uint64_t hostWindow = 0;
  WindowProc proc;
  // A window that only receives messages (posted ones, timers, the mouse
  // while it holds the capture): never shown, no picture, no place on the
  // screen, no parent and no owner.
  bool messageOnly = false;
  // A frame around the client area: left, top, right and bottom hold the
  // thickness of each side. bounds stay the whole window; client
  // coordinates start inside the frame, which the window paints on
  // WM_NCPAINT.
  Rect frame;
};

// 0 when desc names a host window that does not exist (or that the display
// backend cannot show windows in).
WindowHandle CreateWnd(const WindowDesc& desc);
// Destroys the window, its children and its owned windows (WM_DESTROY each).
void DestroyWnd(WindowHandle h);
bool IsWindow(WindowHandle h);
WindowHandle GetParent(WindowHandle h);
WindowHandle GetOwner(WindowHandle h);
// The top-level window that holds h (h itself when top-level).
WindowHandle GetRootWindow(WindowHandle h);
std::vector<WindowHandle> GetChildren(WindowHandle h); // bottom to top
std::vector<WindowHandle> GetTopLevelWindows();        // bottom to top
bool IsChild(WindowHandle parent, WindowHandle h);     // any depth
// Re-parents a window; 0 makes it a top-level window placed at the same screen spot.
void SetParentWnd(WindowHandle h, WindowHandle parent);
// The window as it stands now, in the terms it was made with (no procedure);
// false when h is no window. One consistent snapshot for display backends.
bool GetWindowDesc(WindowHandle h, WindowDesc& desc);
void SetWindowProc(WindowHandle h, WindowProc proc);
void SetWindowCaption(WindowHandle h, std::u16string caption);
std::u16string GetWindowCaption(WindowHandle h);
// One pointer of the window's creator, kept with the window (the toolkit
// keeps its control there); null until set.
void SetWindowUserData(WindowHandle h, void* data);
void* GetWindowUserData(WindowHandle h);
bool IsMessageOnlyWindow(WindowHandle h);

// Geometry. The window rectangle includes the frame; the client area lies
// inside it.
Rect GetWindowBounds(WindowHandle h);     // as given (parent client or screen)
Rect GetWindowScreenRect(WindowHandle h); // the whole window, frame included
Rect GetClientRect(WindowHandle h);       // (0, 0, client width, client height)
Rect GetWindowFrame(WindowHandle h);      // thickness of each side of the frame
void SetWindowBounds(WindowHandle h, const Rect& bounds);
Point ClientToScreen(WindowHandle h, Point p);
Point ScreenToClient(WindowHandle h, Point p);
// Brings the window to the top of its siblings.
void BringToFront(WindowHandle h);

// Showing and enabling. Without redraw (a caller that draws the window
// itself, as the popup slide does) nothing is invalidated and what waited
// to be painted is dropped: the surface as it is is the window's picture.
void ShowWnd(WindowHandle h, bool show, bool redraw = true);
bool IsWindowVisible(WindowHandle h); // itself and every ancestor shown
bool IsWindowShown(WindowHandle h);   // its own flag only
void EnableWnd(WindowHandle h, bool enable);
bool IsWindowEnabled(WindowHandle h);

// The deepest shown window under a screen point; disabled child windows let
// their parent answer, shown regions are respected.
WindowHandle WindowFromPoint(Point screen);

// Opacity of a top-level window, 0..255 (255: opaque), as the screen shows it.
void SetWindowOpacity(WindowHandle h, std::uint8_t alpha);
std::uint8_t GetWindowOpacity(WindowHandle h);

// Visible region of a window in window coordinates; nullopt shows it whole.
void SetWindowRegion(WindowHandle h, std::optional<Region> region);
std::optional<Region> GetWindowRegion(WindowHandle h);

// Messages. Sending calls the window procedure at once (same thread only);
// posting queues the message on the window's thread.
LResult SendMsg(WindowHandle h, std::uint32_t msg, WParam w = 0, LParam l = 0);
bool PostMsg(WindowHandle h, std::uint32_t msg, WParam w = 0, LParam l = 0);
// A message with no window, for the thread that calls.
void PostThreadMsg(std::uint32_t msg, WParam w = 0, LParam l = 0);
void PostQuitMsg(int exitCode);
// Looks at the next message for h (0: any window of this thread) whose
// number lies in [first, last] (both 0: any). Posted and input messages come
// first in arrival order, then paint requests, then due timers.
bool PeekMsg(Message& msg, WindowHandle h, std::uint32_t first, std::uint32_t last, unsigned flags);
// Waits for the next message; false when it is WM_QUIT.
bool GetMsg(Message& msg, WindowHandle h = 0, std::uint32_t first = 0, std::uint32_t last = 0);
LResult DispatchMsg(const Message& msg);
// Queues the WM_CHAR of a key-down message that carries a character.
bool TranslateMsg(const Message& msg);
// Waits until a message is available or timeoutMs passed; kInfinite waits
// without limit. True when a message is available.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
bool WaitMsg(std::uint32_t timeoutMs = kInfinite);
// Reads what the display has delivered, then handles every message waiting
// now (input, posted, paint, due timers) without waiting for more, for at
// most limitMs; answers how many. A WM_QUIT stays for the loop that owns it.
// Hosts drive embedded windows with it from their idle calls. From inside
// a nested modal loop (ModalLoop.h) it only reads the display.
int PumpPending(std::uint32_t limitMs = 200);
// Position of the pointer when the last retrieved message was queued.
Point LastMessagePos();
std::uint32_t LastMessageTime();
// Default handling of every message a window procedure leaves alone.
LResult DefaultWindowProc(WindowHandle h, std::uint32_t msg, WParam w, LParam l);

// Timers: WM_TIMER with wParam = id, every interval milliseconds of the
// clock. Setting an existing (window, id) pair restarts it.
bool SetTimer(WindowHandle h, std::uintptr_t id, std::uint32_t intervalMs);
bool KillTimer(WindowHandle h, std::uintptr_t id);
std::uint32_t TickCount();

// Mouse capture: all mouse input of the thread goes to the capture window.
// A window losing it gets WM_CAPTURECHANGED with the new holder in lParam.
WindowHandle SetCaptureWnd(WindowHandle h);
void ReleaseCaptureWnd();
WindowHandle GetCaptureWnd();

// Keyboard focus and the active top-level window.
WindowHandle SetFocusWnd(WindowHandle h);
WindowHandle GetFocusWnd();
WindowHandle SetActiveWnd(WindowHandle h);
WindowHandle GetActiveWnd();

// Painting. Invalid areas collect per window until WM_PAINT, which a window
// answers with BeginPaint / EndPaint; every top-level window keeps its
// picture in an off-screen surface that the backend presents.
void InvalidateWnd(WindowHandle h, const Rect* r = nullptr, bool erase = true);
void ValidateWnd(WindowHandle h, const Rect* r = nullptr);
Rect GetUpdateRect(WindowHandle h);
// Sends WM_PAINT at once when the window has an invalid area.
void UpdateWnd(WindowHandle h);
// The same for the window and all its shown descendants.
void UpdateWndTree(WindowHandle h);

struct PaintStruct {
  std::unique_ptr<Bitmap> scratch; // stands in when the window is gone
  std::unique_ptr<Canvas> canvas;  // clipped to the invalid area, client coordinates
  Rect rcPaint;
  bool erase = false;
  bool framePainted = false; // BeginPaint had the frame painted (WM_NCPAINT)
};
PaintStruct BeginPaint(WindowHandle h);
void EndPaint(WindowHandle h, PaintStruct& ps);
// A canvas on the window's client area outside painting (origin and clip set).
std::unique_ptr<Canvas> GetWindowCanvas(WindowHandle h);
// A canvas on the whole window, frame included, in window coordinates.
std::unique_ptr<Canvas> GetWholeWindowCanvas(WindowHandle h);
// Shows on the screen what was drawn outside painting (through the canvases
// above): area in client coordinates, null for the whole window with its frame.
void PresentWnd(WindowHandle h, const Rect* area = nullptr);
// The finished picture of a top-level window (its surface), or null.
const Bitmap* GetWindowSurface(WindowHandle h);

// Monitors.
struct Monitor {
  Rect bounds;
  Rect workArea;
};
std::vector<Monitor> GetMonitors();     // the first is the primary one
Monitor MonitorFromPoint(Point p);      // the nearest
Monitor MonitorFromRect(const Rect& r); // the one with the largest overlap, else the nearest

// The pointer.
enum class Cursor { Default, Arrow, None, Hand, IBeam, Wait, Cross, SizeAll, SizeWE, SizeNS };
void SetCursorShape(Cursor c);
Cursor GetCursorShape();
// A display counter as the platform keeps it: the pointer shows at 0 or above.
int ShowPointer(bool show);
bool PointerVisible(); // counter at 0 or above and shape not None
Point GetCursorPos();

// Keyboard and button state: bit 0x8000 = down. GetKeyState follows the
// messages retrieved so far, GetAsyncKeyState the input as it happens.
std::int16_t GetKeyState(int vk);
std::int16_t GetAsyncKeyState(int vk);

// The system beep of the given kind (MB_ICON... or MB_SIMPLEBEEP).
void MessageBeep(unsigned kind = MB_SIMPLEBEEP);

// Installs a display backend, dropping every window, queue and timer of the
// previous one. Without an installed backend the headless one is used.
void InstallBackend(std::unique_ptr<Backend> backend);
Backend& CurrentBackend();

} // namespace kest::ui
