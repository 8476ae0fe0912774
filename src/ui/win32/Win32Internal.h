#pragma once
// Internal to the Win32 backend: the backend object and its native windows.
// Only the backend's own source files include it, after every header of ours
// (it brings windows.h).
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include "ui/gfx/Region.h"
#include "ui/services/Services.h"
#include "ui/windowing/Backend.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/WindowsLast.h"

namespace kest::ui::win32 {

// The native side of one toolkit top-level window.
struct NativeWindow {
  HWND hwnd = nullptr;
  HWND foreignParent = nullptr; // the host's window it is embedded in
  bool popup = false;           // a menu: topmost, never activated, layered
  bool framed = false;          // a plain top-level window in a native frame
  bool shown = false;           // as requested
  bool gone = false;            // destroyed under us (the host's window went)
  Rect placed;                  // the bounds last given to the system
  std::uint8_t opacity = 255;
  std::optional<Region> region; // the visible region last given to the system
};

class Win32Backend final : public Backend {
public:
  Win32Backend(HINSTANCE instance, std::unique_ptr<Services> services);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;
  // Registers the window classes; false when the system refuses.
  bool RegisterClasses();

  // Backend
  std::uint32_t Now() override;
  void Wait(std::uint32_t timeoutMs) override;
  void Wake() override;
  void Flush() override;
  std::vector<Monitor> Monitors() override;
  std::optional<Rect> AdoptHostWindow(std::uint64_t nativeId) override;
  void TopLevelChanged(WindowHandle h) override;
  void Present(WindowHandle h, const Rect& r) override;
  void CursorChanged(Cursor c, bool visible) override;
  void Beep(unsigned kind) override;
  Services& GetServices() override { return *fServices; }
  void UnclaimedInput(const Message& m) override;
  void AccessibilityEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                          std::int32_t childId) override;
  std::u16string KeyName(std::uint16_t vk) override;

  // The window procedure of every native window of ours.
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  // Native capture and focus follow the window system's; hosts' windows
  // are followed in size and place.
  void SyncState();
  WindowHandle Wrap(HWND foreign);
  HWND HwndOf(WindowHandle h) const;

private:
  // Windows (Win32Windows.cpp).
  void CreateNative(WindowHandle h, NativeWindow& n, const WindowDesc& d);
  void DestroyNative(NativeWindow& n);
  void Place(NativeWindow& n, const Rect& bounds);
  void ApplyOpacity(NativeWindow& n, std::uint8_t opacity);
  void ApplyRegion(NativeWindow& n, const std::optional<Region>& region);
  void ApplyVisibility(NativeWindow& n, bool visible);
  void Blit(WindowHandle h, HDC dc, const Rect& area);
  void Paint(WindowHandle h, HWND hwnd);
  WindowHandle FromHwnd(HWND hwnd) const;
  bool IsOurs(HWND hwnd) const { return hwnd && (hwnd == fHelper || FromHwnd(hwnd) != 0); }
  // The toolkit learns a position or size the system decided.
  void AdoptBounds(WindowHandle h, const Rect& screen);
  void FollowHostWindows();
  HCURSOR CursorHandle() const;
  // Input (Win32Input.cpp).
  bool HandleMouse(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  bool HandleKey(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  void TrackLeave(HWND hwnd);
  // Capture (Win32Capture.cpp).
  void SyncCapture();
  void ReleaseNativeCapture();
  void CaptureLost();
  bool CaptureWantsKeyboard() const;
  void SyncFocus();
  // The thread's native messages (Win32Backend.cpp): true when any came.
  bool Drain();
  // A message of another window that a menu's capture takes for itself.
  bool Intercept(MSG& m);

  HINSTANCE fInstance;
  std::unique_ptr<Services> fServices;
  ATOM fWindowClass = 0;
  ATOM fPopupClass = 0;
  // A hidden window of our own: it holds the native capture for captures
  // by windows that have no native window (a menu's message window) and
  // hears the application losing activation.
  HWND fHelper = nullptr;
  HANDLE fWakeEvent = nullptr;
  std::map<WindowHandle, NativeWindow> fWindows;
  bool fAdopting = false;
  Cursor fCursor = Cursor::Default;
  bool fPointerVisible = true;
  WindowHandle fCaptured = 0;      // the capture window the native capture is held for
  WindowHandle fCaptureFailed = 0; // the capture window whose native capture went (reported once)
  HWND fCaptureHwnd = nullptr;
  bool fSettingCapture = false;  // our own SetCapture/ReleaseCapture is running
  WindowHandle fFocusWnd = 0;    // the toolkit focus we last gave the keyboard for
  HWND fKeysFrom = nullptr;      // a host window whose keyboard focus we took
  HWND fTracking = nullptr;      // the window whose pointer leaving is tracked
  std::chrono::steady_clock::time_point fStart;
};

Win32Backend* Current(); // the installed Win32 backend, or null
// The window procedure registered for our classes.
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
// The screen point of a mouse message's client coordinates.
Point ScreenPoint(HWND hwnd, LPARAM l);

} // namespace kest::ui::win32
