// The modal handler: the window that holds the mouse capture while a menu
// runs, and what it takes and gives back around the loop.
#include <exception>

#include "uKestAccEvents.h"
#include "uKestMenu_internal.h"
#include "uKestMenu_popup.h"
#include "uKestTools.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {

using kest::ui::LParam;
using kest::ui::LResult;
using kest::ui::WindowHandle;
using kest::ui::WParam;

TKestModalHandler::TKestModalHandler(WindowHandle AExistingWnd) {
  KestLastPointerPos() = LastMessagePos();
  if (AExistingWnd) {
    FWnd = AExistingWnd;
  } else {
    auto proc = [this](WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
      return MessageWindowProc(h, msg, w, l);
    };
    FWnd = detail::AllocateMessageWindow(proc);
    FCreatedWnd = true;
  }
  // Keys addressed to this thread's windows reach the loop whatever their
  // window; the window system keeps no focus per thread to take away.
  SetForegroundLock(true);
  kest::ui::SetCaptureWnd(FWnd);
  kest::ui::SetCursorShape(kest::ui::Cursor::Arrow);
  NotifyAccEvent(EVENT_SYSTEM_MENUSTART, FWnd, OBJID_CLIENT, 0);
}

TKestModalHandler::~TKestModalHandler() {
  SetForegroundLock(false);
  if (kest::ui::GetCaptureWnd() == FWnd) kest::ui::ReleaseCaptureWnd();
  NotifyAccEvent(EVENT_SYSTEM_MENUEND, FWnd, OBJID_CLIENT, 0);
  if (FCreatedWnd) detail::DeallocateMessageWindow(FWnd);
}

LResult TKestModalHandler::MessageWindowProc(WindowHandle h, std::uint32_t msg, WParam w,
                                             LParam l) {
  const LResult r = kest::ui::DefaultWindowProc(h, msg, w, l);
  // The system took the mouse away (a grab refused or lost): the menu ends.
  if (msg == kest::ui::WM_CANCELMODE && FRootPopup) {
    try {
      FRootPopup->View()->CancelMode();
    } catch (...) {
      kest::ui::App().HandleException(std::current_exception());
    }
  }
  return r;
}

} // namespace kest::menu
