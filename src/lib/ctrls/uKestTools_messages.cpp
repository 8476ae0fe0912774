// Taking queued messages out of the thread's queue.
#include "uKestTools.h"

namespace kest {

void RemovePendingMessage(ui::WindowHandle Wnd, std::uint32_t Msg) {
  ui::Message m;
  if (!ui::PeekMsg(m, Wnd, Msg, Msg, ui::PM_REMOVE)) return;
  // The quit belongs to the outermost loop.
  if (m.message == ui::WM_QUIT) ui::PostQuitMsg(static_cast<int>(m.wParam));
}

void RemovePendingMessages(std::uint32_t First, std::uint32_t Last) {
  ui::Message m;
  while (ui::PeekMsg(m, 0, First, Last, ui::PM_REMOVE)) {
    if (m.message == ui::WM_QUIT) {
      ui::PostQuitMsg(static_cast<int>(m.wParam));
      return;
    }
  }
}

ui::Point LastMessagePos() {
  return ui::LastMessagePos();
}

} // namespace kest
