// The Win32 backend: window classes, the clock, waiting on the thread's
// message queue with the timer deadline, monitors, and the public entry
// points.
#include "ui/win32/Win32Backend.h"
#include "ui/win32/Win32Services.h"
#include "ui/win32/Win32Internal.h" // last: windows.h

#include <algorithm>

namespace kest::ui::win32 {

namespace {

std::atomic<Win32Backend*> gCurrent{nullptr};

constexpr wchar_t kWindowClass[] = L"KestrelphonWindow";
constexpr wchar_t kPopupClass[] = L"KestrelphonPopup";

// The module this code lives in (the plug-in's DLL, or a test program).
HINSTANCE ThisModule() {
  HMODULE m = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &m);
  return m;
}

ATOM Register(HINSTANCE instance, const wchar_t* name, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &WindowProcedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  // No background brush: the surface covers the window, nothing flashes.
  return ::RegisterClassExW(&wc);
}

} // namespace

Win32Backend* Current() {
  return gCurrent.load();
}

Win32Backend::Win32Backend(HINSTANCE instance, std::unique_ptr<Services> services)
    : fInstance(instance), fServices(std::move(services)),
      fWakeEvent(::CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      fStart(std::chrono::steady_clock::now()) {}

bool Win32Backend::RegisterClasses() {
  fWindowClass = Register(fInstance, kWindowClass, 0);
  // Menus cast the system's shadow when the desktop shows shadows.
  BOOL shadow = FALSE;
  ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &shadow, 0);
  fPopupClass = Register(fInstance, kPopupClass, shadow ? CS_DROPSHADOW : 0);
  if (!fWindowClass || !fPopupClass) return false;
  fHelper = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWindowClass, L"", WS_POPUP, -10,
                              -10, 1, 1, nullptr, nullptr, fInstance, nullptr);
  if (!fHelper || !fWakeEvent) return false;
  gCurrent.store(this);
  return true;
}

Win32Backend::~Win32Backend() {
  if (gCurrent.load() == this) gCurrent.store(nullptr);
  ReleaseNativeCapture();
  for (auto& [h, n] : fWindows)
    DestroyNative(n);
  if (fHelper) ::DestroyWindow(fHelper);
  // The classes name this module's window procedure: they go before it can.
  if (fWindowClass) ::UnregisterClassW(kWindowClass, fInstance);
  if (fPopupClass) ::UnregisterClassW(kPopupClass, fInstance);
  if (fWakeEvent) ::CloseHandle(fWakeEvent);
}

std::uint32_t Win32Backend::Now() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - fStart);
  // Starts well above 0 so that "time minus interval" never wraps at start.
  return static_cast<std::uint32_t>(ms.count()) + 10000u;
}

bool Win32Backend::Intercept(MSG& m) {
  // A menu holding the capture hears the thread's keyboard and wheel
  // wherever the focus is (the host's window, mostly), as the system's own
  // menus do.
  const bool key = m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST;
  if ((!key && m.message != WM_MOUSEWHEEL) || IsOurs(m.hwnd) || !fCaptured ||
      !CaptureWantsKeyboard())
    return false;
  if (!key) return HandleMouse(m.hwnd, m.message, m.wParam, m.lParam);
  ::TranslateMessage(&m);
  return HandleKey(m.hwnd, m.message, m.wParam, m.lParam);
}

bool Win32Backend::Drain() {
  // Everything waiting now, but never for long: windows that keep posting
  // (a host's busy timers) must not starve our own loop.
  constexpr std::uint32_t kBudgetMs = 50;
  const std::uint32_t start = Now();
  bool any = false;
  MSG m;
  while (Now() - start < kBudgetMs && ::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    any = true;
    if (m.message == WM_QUIT) {
      // The thread is told to end: the quit stays for the loop that owns
      // the thread (the host's, or a program's own loop of ours), and our
      // nested loops are asked to end.
      ::PostQuitMessage(static_cast<int>(m.wParam));
      InputCancelMode();
      if (!InModalLoop()) PostQuitMsg(static_cast<int>(m.wParam));
      break;
    }
    if (Intercept(m)) continue;
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
  return any;
}

void Win32Backend::Wait(std::uint32_t timeoutMs) {
  SyncState();
  // A look without waiting (a host's idle call, from inside a menu's loop
  // too) leaves the native queue to whoever runs it: the host's loop
  // delivers our windows' messages. A loop that waits (a menu's, a
  // program's own) runs every message of the thread, the host's windows'
  // included, so that they keep painting, as the system's menus do.
  if (timeoutMs == 0 || Drain()) return;
  const DWORD limit = timeoutMs == kInfinite ? INFINITE : timeoutMs;
  ::MsgWaitForMultipleObjectsEx(1, &fWakeEvent, limit, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  Drain();
}

void Win32Backend::Wake() {
  ::SetEvent(fWakeEvent);
}

void Win32Backend::Flush() {
  SyncState();
}

void Win32Backend::SyncState() {
  FollowHostWindows();
  SyncCapture();
  SyncFocus();
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& out = *reinterpret_cast<std::vector<std::pair<Monitor, bool>>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const auto rect = [](const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; };
  out.push_back({{rect(info.rcMonitor), rect(info.rcWork)}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

} // namespace

std::vector<Monitor> Win32Backend::Monitors() {
  std::vector<std::pair<Monitor, bool>> found;
  ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&found));
  // The primary monitor first.
  std::stable_partition(found.begin(), found.end(), [](const auto& m) { return m.second; });
  std::vector<Monitor> mons;
  for (const auto& [m, primary] : found)
    mons.push_back(m);
  if (mons.empty()) {
    const Rect r{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    mons.push_back({r, r});
  }
  return mons;
}

void Win32Backend::Beep(unsigned kind) {
  ::MessageBeep(kind);
}

void Win32Backend::AccessibilityEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                                      std::int32_t childId) {
  if (HWND hwnd = HwndOf(GetRootWindow(h))) RaiseWinEvent(event, hwnd, objectId, childId);
}

// ---- public entry points ----

std::unique_ptr<Backend> Create() {
  auto b = std::make_unique<Win32Backend>(ThisModule(), CreateServices());
  if (!b->RegisterClasses()) return nullptr;
  return b;
}

bool Installed() {
  return Current() != nullptr && &CurrentBackend() == static_cast<Backend*>(Current());
}

bool Install() {
  if (Installed()) return true;
  auto b = Create();
  if (!b) return false;
  InstallBackend(std::move(b));
  return true;
}

WindowHandle WrapForeignWindow(std::uint64_t nativeWindow) {
  if (!Installed() || nativeWindow == 0) return 0;
  return Current()->Wrap(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(nativeWindow)));
}

std::uint64_t NativeWindowId(WindowHandle h) {
  return Installed() ? reinterpret_cast<std::uintptr_t>(Current()->HwndOf(h)) : 0;
}

void Idle() {
  if (Installed()) PumpPending();
}

} // namespace kest::ui::win32
