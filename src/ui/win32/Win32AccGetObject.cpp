// A native window's answer to an accessibility client (WM_GETOBJECT), and
// window events for clients that listen.
#include "ui/win32/Win32Services.h"
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/Win32Acc.h" // last: it brings windows.h

namespace kest::ui::win32 {

namespace {

// oleacc marshals the object through COM, which the host's thread may not
// have started: it is then started for the thread, which keeps it.
bool StartComForThread() {
  using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
  static const auto init =
      SystemFunction<CoInitializeExFn>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx");
  return init && SUCCEEDED(init(nullptr, COINIT_APARTMENTTHREADED));
}

} // namespace

std::intptr_t AnswerGetObject(WindowHandle h, void* hwnd, std::uintptr_t wParam,
                              std::intptr_t lParam) {
  // The object id travels in the low 32 bits, sign-extended or not.
  const auto objectId = static_cast<std::int32_t>(static_cast<std::uint32_t>(lParam));
  if (!IsWindow(h)) return 0;
  AccRef ours = ObjectFromLresult(SendMsg(h, WM_GETOBJECT, wParam, objectId));
  if (!ours) return 0;
  const auto lresultFromObject = OleAcc().lresultFromObject;
  if (!lresultFromObject) return 0;
  const HWND window = static_cast<HWND>(hwnd);
  IAccessible* object =
      WrapAccessible(std::move(ours), objectId == OBJID_CLIENT ? window : nullptr);
  LRESULT result = lresultFromObject(__uuidof(IAccessible), wParam, object);
  if (result == CO_E_NOTINITIALIZED && StartComForThread())
    result = lresultFromObject(__uuidof(IAccessible), wParam, object);
  // The client holds its own reference now, if it got one.
  object->Release();
  // A failure code would reach the client as an answer: the default instead.
  return result < 0 ? 0 : result;
}

void RaiseWinEvent(std::uint32_t event, void* hwnd, std::int32_t objectId, std::int32_t childId) {
  if (hwnd) ::NotifyWinEvent(event, static_cast<HWND>(hwnd), objectId, childId);
}

} // namespace kest::ui::win32
