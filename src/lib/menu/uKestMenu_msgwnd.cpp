// Message windows for the deferred queue, on top of the window system.
#include "uKestMenu_internal.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::menu::detail {

kest::ui::WindowHandle AllocateMessageWindow(kest::ui::WindowProc proc) {
  kest::ui::WindowDesc desc;
  desc.messageOnly = true;
  desc.proc = std::move(proc);
  return kest::ui::CreateWnd(desc);
}

void DeallocateMessageWindow(kest::ui::WindowHandle h) {
  if (kest::ui::IsWindow(h)) kest::ui::DestroyWnd(h);
}

} // namespace kest::menu::detail
