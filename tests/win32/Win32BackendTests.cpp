// The Win32 backend against the system (under Wine in CI): the editor as a
// child of a host's window, menus' popups, the native capture and the
// nested loop's pumping of the thread's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/win32/Win32Backend.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/windowing/WindowSystem.h"

// Windows last: its macros would rename ours.
#include "ui/win32/WindowsLast.h"

namespace kest::ui {
namespace {

struct Seen {
  std::uint32_t msg;
  WParam w;
  LParam l;
};

// A host program's window: a plain class whose messages are counted.
std::vector<UINT> gHostMessages;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  gHostMessages.push_back(msg);
  return ::DefWindowProcW(hwnd, msg, w, l);
}

class Win32Backend : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(win32::Install());
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestTestHost";
    ::RegisterClassExW(&wc);
    fHost = ::CreateWindowExW(0, L"KestTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                              100, 520, 420, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(fHost, nullptr);
    HostLoop();
    gHostMessages.clear();
  }
  void TearDown() override {
    InstallBackend(nullptr); // drops our windows and classes
    ::DestroyWindow(fHost);
  }

  // What a host does between its idle calls: runs its own queue, then
  // calls the editor's idle.
  static void HostLoop() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&m);
      ::DispatchMessageW(&m);
    }
    win32::Idle();
  }

  static WindowProc Recorder(std::vector<Seen>& seen) {
    return [&seen](WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
      seen.push_back({msg, w, l});
      return DefaultWindowProc(h, msg, w, l);
    };
  }

  static HWND Native(WindowHandle h) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(win32::NativeWindowId(h)));
  }

  static bool Got(const std::vector<Seen>& seen, std::uint32_t msg) {
    for (const Seen& s : seen)
      if (s.msg == msg) return true;
    return false;
  }

  WindowHandle Popup(std::vector<Seen>* seen = nullptr) {
    WindowDesc d;
    d.bounds = Rect::FromSize(200, 200, 120, 60);
    d.visible = true;
    d.topmost = true;
    d.noActivate = true;
    d.background = Rgb(255, 255, 255);
    if (seen) d.proc = Recorder(*seen);
    return CreateWnd(d);
  }

  HWND fHost = nullptr;
};

// The surface's pixel at a client point, as a picture of the window taken
// by another program shows it.
COLORREF PrintedPixel(HWND hwnd, int x, int y) {
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = rc.right;
  bi.bmiHeader.biHeight = -rc.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(dc, bmp);
  ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  return c;
}

TEST_F(Win32Backend, EditorLivesInTheHostsWindowFollowsItAndDrawsUpright) {
  HWND focusBefore = ::GetFocus();
  const WindowHandle standIn = win32::WrapForeignWindow(reinterpret_cast<std::uintptr_t>(fHost));
  ASSERT_NE(standIn, 0u);
  HWND child = Native(standIn);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(::GetParent(child), fHost);
  EXPECT_TRUE(::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(::IsWindowVisible(child));
  // A red control in the top-left quarter, input recorded.
  std::vector<Seen> seen;
  WindowDesc d;
  d.parent = standIn;
  d.bounds = Rect::FromSize(10, 20, 50, 30);
  d.visible = true;
  d.background = Rgb(255, 0, 0);
  d.proc = Recorder(seen);
  CreateWnd(d);
  HostLoop();
  EXPECT_EQ(::GetFocus(), focusBefore); // opening takes nothing from the host
  EXPECT_EQ(PrintedPixel(child, 15, 25), RGB(255, 0, 0));
  EXPECT_EQ(PrintedPixel(child, 15, 60), RGB(0, 0, 0));
  EXPECT_EQ(PrintedPixel(child, 70, 25), RGB(0, 0, 0));

  // A click on the control arrives in its client coordinates.
  ::PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 25));
  ::PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(15, 25));
  HostLoop();
  bool pressed = false;
  for (const Seen& s : seen)
    if (s.msg == WM_LBUTTONDOWN) pressed = PointFromLParam(s.l) == Point{5, 5};
  EXPECT_TRUE(pressed);

  // The host resizes its window: the toolkit window and our child follow.
  ::SetWindowPos(fHost, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
  HostLoop();
  RECT hostClient{}, childClient{};
  ::GetClientRect(fHost, &hostClient);
  ::GetClientRect(child, &childClient);
  EXPECT_EQ(GetWindowBounds(standIn).Width(), hostClient.right);
  EXPECT_EQ(childClient.right, hostClient.right);
  EXPECT_EQ(childClient.bottom, hostClient.bottom);

  // The host's window goes first: our windows stay, harmlessly.
  ::DestroyWindow(fHost);
  fHost = nullptr;
  HostLoop();
  EXPECT_EQ(win32::NativeWindowId(standIn), 0u);
  DestroyWnd(standIn);
}

TEST_F(Win32Backend, PopupIsTopmostLayeredAndNeverActivated) {
  HWND activeBefore = ::GetActiveWindow();
  const WindowHandle popup = Popup();
  HostLoop();
  HWND hwnd = Native(popup);
  ASSERT_NE(hwnd, nullptr);
  const auto ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  for (const LONG_PTR bit : std::initializer_list<LONG_PTR>{WS_EX_TOPMOST, WS_EX_TOOLWINDOW,
                                                             WS_EX_NOACTIVATE, WS_EX_LAYERED})
    EXPECT_TRUE(ex & bit) << std::hex << bit;
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_EQ(::GetActiveWindow(), activeBefore);
  EXPECT_EQ(::SendMessageW(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(fHost),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  BOOL shadow = FALSE;
  ::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &shadow, 0);
  EXPECT_EQ((::GetClassLongPtrW(hwnd, GCL_STYLE) & CS_DROPSHADOW) != 0, shadow != FALSE);

  SetWindowOpacity(popup, 128);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(flags & LWA_ALPHA);

  // The slide: the visible part grows through the window's region.
  Region part = Region::FromRect({0, 0, 120, 20}).Union(Region::FromRect({0, 20, 60, 40}));
  SetWindowRegion(popup, part);
  RECT box{};
  ASSERT_NE(::GetWindowRgnBox(hwnd, &box), ERROR);
  EXPECT_EQ(box.right, 120);
  EXPECT_EQ(box.bottom, 40);
  SetWindowRegion(popup, std::nullopt);
  EXPECT_EQ(::GetWindowRgnBox(hwnd, &box), ERROR); // no region: all of it shows
}

TEST_F(Win32Backend, CaptureTakenAwayEndsInCancelMode) {
  std::vector<Seen> seen;
  const WindowHandle popup = Popup(&seen);
  SetCaptureWnd(popup);
  HostLoop();
  EXPECT_EQ(::GetCapture(), Native(popup));
  // The system (another window of the thread) takes the mouse.
  ::SetCapture(fHost);
  HostLoop();
  EXPECT_TRUE(Got(seen, WM_CANCELMODE));
  EXPECT_EQ(GetCaptureWnd(), 0u);
  EXPECT_EQ(::GetCapture(), fHost); // theirs now, left alone
  ::ReleaseCapture();
  // The system cancelling modes (a dialog coming up) does the same, once.
  seen.clear();
  SetCaptureWnd(popup);
  HostLoop();
  ::SendMessageW(Native(popup), WM_CANCELMODE, 0, 0);
  HostLoop();
  EXPECT_EQ(std::count_if(seen.begin(), seen.end(),
                          [](const Seen& s) { return s.msg == WM_CANCELMODE; }),
            1);
  EXPECT_EQ(GetCaptureWnd(), 0u);
  EXPECT_EQ(::GetCapture(), nullptr);

  // A menu's message window has no native window: a hidden one of ours
  // holds the capture for it, and lets go with it.
  WindowDesc m;
  m.messageOnly = true;
  const WindowHandle messages = CreateWnd(m);
  SetCaptureWnd(messages);
  HostLoop();
  HWND holder = ::GetCapture();
  EXPECT_NE(holder, nullptr);
  EXPECT_NE(holder, fHost);
  ReleaseCaptureWnd();
  HostLoop();
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Win32Backend, PressThatNoWindowTakesGoesBackToTheWindowUnderIt) {
  // A menu holds the capture when the press comes, and closes before the
  // press is handled: the host's window under the pointer gets it.
  const WindowHandle popup = Popup();
  SetCaptureWnd(popup);
  HostLoop();
  POINT overHost{60, 50};
  ::ClientToScreen(fHost, &overHost);
  POINT inPopup = overHost;
  ::ScreenToClient(Native(popup), &inPopup);
  ::SendMessageW(Native(popup), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inPopup.x, inPopup.y));
  ReleaseCaptureWnd();
  PumpPending();
  MSG m;
  bool handedOver = false;
  while (::PeekMessageW(&m, fHost, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE))
    handedOver = m.lParam == MAKELPARAM(60, 50);
  EXPECT_TRUE(handedOver);
}

TEST_F(Win32Backend, NestedLoopRunsTheThreadsMessagesAndTakesKeysForTheMenu) {
  // A host's idle call leaves the host's queue to the host.
  ::PostMessageW(fHost, WM_USER + 7, 0, 0);
  PumpPending();
  EXPECT_TRUE(gHostMessages.empty());
  // A menu's loop runs it: the host keeps drawing meanwhile.
  std::vector<Seen> seen;
  WindowDesc m;
  m.messageOnly = true;
  m.proc = Recorder(seen);
  const WindowHandle menu = CreateWnd(m);
  SetCaptureWnd(menu);
  {
    const ModalLoopScope modal;
    PumpPending(); // the host's idle call from inside the menu's loop
    EXPECT_TRUE(gHostMessages.empty());
    WaitMsg(20);
    EXPECT_EQ(gHostMessages, std::vector<UINT>{WM_USER + 7});
    // Keys meant for the host's focused window are the menu's while it
    // holds the capture, with the characters they type.
    ::PostMessageW(fHost, WM_KEYDOWN, 'A', 0x001E0001);
    WaitMsg(20);
    Message msg;
    while (PeekMsg(msg, 0, 0, 0, PM_REMOVE)) {
      TranslateMsg(msg);
      DispatchMsg(msg);
    }
  }
  std::vector<std::uint32_t> got;
  for (const Seen& s : seen)
    if (s.msg == WM_KEYDOWN || s.msg == WM_CHAR) got.push_back(s.msg);
  EXPECT_EQ(got, (std::vector<std::uint32_t>{WM_KEYDOWN, WM_CHAR}));
  for (UINT msg : gHostMessages)
    EXPECT_NE(msg, static_cast<UINT>(WM_KEYDOWN));
  ReleaseCaptureWnd();
  HostLoop();
}

TEST_F(Win32Backend, TheThreadsQuitEndsOurLoopAndStaysForTheThreadsOwn) {
  ::PostQuitMessage(3);
  Message msg;
  EXPECT_FALSE(GetMsg(msg));
  EXPECT_EQ(msg.wParam, 3u);
  MSG m;
  ASSERT_TRUE(::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

} // namespace
} // namespace kest::ui
