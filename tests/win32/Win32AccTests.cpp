// The COM bridge over our accessibility objects, as a client of the
// platform sees it.
#include <gtest/gtest.h>

#include <thread>

#include "AccTree.h"
#include "ui/win32/Win32Services.h"
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/Win32Acc.h" // last: it brings windows.h

namespace kest::ui::win32 {
namespace {

using test::MakeMenu;
using test::TestAcc;

VARIANT Child(LONG id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::u16string Name(IAccessible* a, LONG child = CHILDID_SELF) {
  BSTR b = nullptr;
  EXPECT_EQ(a->get_accName(Child(child), &b), S_OK);
  std::u16string s = BstrText(b);
  ::SysFreeString(b);
  return s;
}

IAccessible* AsAccessible(IDispatch* d) {
  IAccessible* a = nullptr;
  EXPECT_EQ(d->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&a)), S_OK);
  d->Release();
  return a;
}

TEST(Win32Acc, WrapperForwardsTheTreeAndBalancesReferences) {
  {
    AccRef menu = MakeMenu();
    IAccessible* root = WrapAccessible(menu);
    EXPECT_EQ(Name(root), u"Presets");
    VARIANT role;
    ASSERT_EQ(root->get_accRole(Child(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_MENUPOPUP);
    LONG count = 0;
    EXPECT_EQ(root->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);

    IDispatch* d = nullptr;
    ASSERT_EQ(root->get_accChild(Child(2), &d), S_OK);
    IAccessible* save = AsAccessible(d);
    EXPECT_EQ(Name(save), u"Sav\u00e9");
    VARIANT state;
    ASSERT_EQ(save->get_accState(Child(CHILDID_SELF), &state), S_OK);
    EXPECT_EQ(state.lVal, STATE_SYSTEM_UNAVAILABLE);
    ASSERT_EQ(save->get_accParent(&d), S_OK);
    IAccessible* up = AsAccessible(d);
    EXPECT_EQ(Name(up), u"Presets");
    up->Release();

    VARIANT first;
    ASSERT_EQ(root->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &first), S_OK);
    ASSERT_EQ(first.vt, VT_DISPATCH);
    IAccessible* load = AsAccessible(first.pdispVal);
    EXPECT_EQ(Name(load), u"Load");
    EXPECT_EQ(load->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
    EXPECT_EQ(TestAcc::Of(TestAcc::Of(menu)->children[0])->defaultActions, 1);
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(load->accLocation(&x, &y, &w, &h, Child(CHILDID_SELF)), S_OK);
    EXPECT_EQ((std::vector<LONG>{x, y, w, h}), (std::vector<LONG>{10, 20, 120, 18}));
    load->Release();

    // Child ids of another type, an error inside the object, no output.
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = nullptr;
    BSTR b = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(root->get_accName(text, &b), E_INVALIDARG);
    EXPECT_EQ(b, nullptr);
    EXPECT_EQ(root->get_accValue(Child(CHILDID_SELF), &b), E_UNEXPECTED);
    EXPECT_EQ(root->get_accChild(Child(3), &d), E_INVALIDARG);
    EXPECT_EQ(root->get_accName(Child(CHILDID_SELF), nullptr), E_POINTER);
    // Our top level knows no parent, and this wrapper stands for no window.
    EXPECT_EQ(root->get_accParent(&d), E_FAIL);
    EXPECT_EQ(d, nullptr);

    save->Release();
    EXPECT_EQ(root->Release(), 0u);
  }
  EXPECT_EQ(TestAcc::live, 0);
}

// A native window whose client object is a toolkit window's, as the
// backend's window procedure answers it.
WindowHandle gToolkitWindow = 0;
LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_GETOBJECT) {
    if (const LRESULT r = AnswerGetObject(gToolkitWindow, hwnd, w, l)) return r;
  }
  return ::DefWindowProcW(hwnd, msg, w, l);
}

struct ComThread {
  ComThread() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComThread() { ::CoUninitialize(); }
};

TEST(Win32Acc, ClientGetsOurObjectThroughTheSystem) {
  ComThread com;
  {
    AccRef menu = MakeMenu();
    WindowDesc desc;
    desc.bounds = {0, 0, 200, 100};
    desc.proc = [&menu](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
      if (m == WM_GETOBJECT && static_cast<std::int32_t>(l) == OBJID_CLIENT)
        return LresultFromObject(menu.get());
      return DefaultWindowProc(h, m, w, l);
    };
    gToolkitWindow = CreateWnd(desc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestAccTestWindow";
    ASSERT_TRUE(::RegisterClassW(&wc));
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Menu", WS_POPUP, 0, 0, 200, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(hwnd);

    IAccessible* client = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    EXPECT_EQ(Name(client), u"Presets");
    IDispatch* d = nullptr;
    ASSERT_EQ(client->get_accChild(Child(1), &d), S_OK);
    IAccessible* load = AsAccessible(d);
    EXPECT_EQ(Name(load), u"Load");
    load->Release();
    // Above our menu: the system's object for the window.
    ASSERT_EQ(client->get_accParent(&d), S_OK);
    ASSERT_NE(d, nullptr);
    d->Release();
    client->Release();
    // Only the client area is ours.
    EXPECT_EQ(AnswerGetObject(gToolkitWindow, hwnd, 0, OBJID_WINDOW), 0);

    ::DestroyWindow(hwnd);
    ::UnregisterClassW(wc.lpszClassName, wc.hInstance);
    DestroyWnd(gToolkitWindow);
  }
  EXPECT_EQ(TestAcc::live, 0);
}

// A screen reader lives in another process: its calls reach the window's
// thread through COM, which the host's thread need not have started.
TEST(Win32Acc, ClientOnAnotherThreadReachesAThreadWithoutCom) {
  ComThread com;
  {
    AccRef menu = MakeMenu();
    HWND hwnd = nullptr;
    DWORD ownerThread = 0;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
      WindowDesc desc;
      desc.bounds = {0, 0, 200, 100};
      desc.proc = [&menu](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
        if (m == WM_GETOBJECT) return LresultFromObject(menu.get());
        return DefaultWindowProc(h, m, w, l);
      };
      gToolkitWindow = CreateWnd(desc);
      hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ClientProc));
      ownerThread = ::GetCurrentThreadId();
      ::SetEvent(ready);
      MSG m;
      while (::GetMessageW(&m, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&m);
      ::DestroyWindow(hwnd);
      DestroyWnd(gToolkitWindow);
    });
    ::WaitForSingleObject(ready, INFINITE);
    IAccessible* client = nullptr;
    EXPECT_EQ(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                           __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&client)),
              S_OK);
    if (client) {
      EXPECT_EQ(Name(client), u"Presets");
      client->Release();
    }
    ::PostThreadMessageW(ownerThread, WM_QUIT, 0, 0);
    owner.join();
    ::CloseHandle(ready);
  }
  EXPECT_EQ(TestAcc::live, 0);
}

struct Heard {
  DWORD event = 0;
  HWND hwnd = nullptr;
  LONG object = 0, child = 0;
} gHeard;

void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  gHeard = {event, hwnd, object, child};
}

TEST(Win32Acc, WindowEventsReachListeners) {
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  HWINEVENTHOOK hook =
      ::SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPSTART, nullptr, Listen,
                        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  RaiseWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, hwnd, OBJID_CLIENT, 3);
  MSG m;
  for (int i = 0; i < 50 && !gHeard.event; ++i) {
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
      ::DispatchMessageW(&m);
    if (!gHeard.event) ::Sleep(5);
  }
  ::UnhookWinEvent(hook);
  ::DestroyWindow(hwnd);
  EXPECT_EQ(gHeard.event, static_cast<DWORD>(EVENT_SYSTEM_MENUPOPUPSTART));
  EXPECT_EQ(gHeard.hwnd, hwnd);
  EXPECT_EQ(gHeard.object, OBJID_CLIENT);
  EXPECT_EQ(gHeard.child, 3);
}

} // namespace
} // namespace kest::ui::win32
