// The host's editor window on Windows: a top-level window of the host's own
// class, the editor opened in its client area, and the thread's messages
// pumped between idle calls as a Windows host's message loop does.
#include "EditorWindow.h"
#include "ScreenCopy.h"
#include "WindowsText.h"

#include "WindowsHeader.h"

namespace kest::host {

namespace {

const wchar_t kClassName[] = L"KestrelphonHostWindow";

LRESULT CALLBACK HostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The user's close: the loop sees it and closes the editor first.
    auto* closed = reinterpret_cast<bool*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (closed != nullptr) *closed = true;
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterHostClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc); // fails harmlessly when the class exists
}

} // namespace

void JoinTestDisplay() {
  // Wine gives a desktop made while DISPLAY names a server the X driver.
  static thread_local bool done = false;
  if (done) return;
  done = true;
  wchar_t display[64];
  const DWORD n = GetEnvironmentVariableW(L"KEST_WINE_DISPLAY", display, 64);
  if (n == 0 || n >= 64) return;
  const std::wstring name = std::wstring(L"kest-display") + display;
  HDESK desk = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  if (desk == nullptr || !SetThreadDesktop(desk))
    throw EditorUnavailable("cannot move onto the desktop of the X display");
}

struct EditorWindow::Native {
  ~Native() {
    if (hwnd != nullptr) DestroyWindow(hwnd);
  }
  HWND hwnd = nullptr;
  bool closed = false;
};

EditorWindow::EditorWindow(VstHost& host, const char*, int x, int y, const std::string& title)
    : fHost(host), fNative(std::make_unique<Native>()) {
  AskSize();
  RegisterHostClass();
  // A fixed-size frame around a client area of the editor's size.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, fWidth, fHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND hwnd = CreateWindowExW(0, kClassName, Widen(title).c_str(), style, x, y,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) throw EditorUnavailable("cannot create the host's window");
  fNative->hwnd = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&fNative->closed));
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  OpenEditor(reinterpret_cast<std::uintptr_t>(hwnd));
}

EditorWindow::~EditorWindow() {
  if (fOpen) fHost.Dispatch(effEditClose);
}

std::uintptr_t EditorWindow::Window() const {
  return reinterpret_cast<std::uintptr_t>(fNative->hwnd);
}

bool EditorWindow::Idle() {
  fHost.Dispatch(effEditIdle);
  // All of the thread's messages, the editor's included, as a host's loop.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop that owns it
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return !fNative->closed;
}

void EditorWindow::Wait(int timeoutMs) {
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

std::uint32_t EditorWindow::PixelAt(int x, int y) {
  POINT at{x, y};
  ClientToScreen(fNative->hwnd, &at);
  return ScreenPixels(at.x, at.y, 1, 1)[0];
}

std::vector<std::uint32_t> EditorWindow::Capture() {
  // What the screen shows over the client area (PrintWindow would ask each
  // window to paint itself, which is not what the user sees).
  POINT origin{0, 0};
  ClientToScreen(fNative->hwnd, &origin);
  return ScreenPixels(origin.x, origin.y, fWidth, fHeight);
}

} // namespace kest::host
