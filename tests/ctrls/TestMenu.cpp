#include "TestMenu.h"

namespace kest::test {

namespace {
bool IsPress(std::uint32_t m) {
  return m == ui::WM_LBUTTONDOWN || m == ui::WM_LBUTTONDBLCLK || m == ui::WM_RBUTTONDOWN ||
         m == ui::WM_RBUTTONDBLCLK || m == ui::WM_MBUTTONDOWN || m == ui::WM_MBUTTONDBLCLK;
}
} // namespace

TestMenu::~TestMenu() {
  BeginDestroy();
  if (window) ui::DestroyWnd(window);
}

void TestMenu::Popup(int X, int Y) {
  popups.push_back({X, Y});
  popupComponents.push_back(PopupComponent());
  ui::WindowDesc d;
  d.bounds = ui::Rect::FromSize(X, Y, 80, 60);
  d.visible = true;
  d.topmost = true;
  d.noActivate = true;
  d.background = ui::Rgb(240, 240, 240);
  window = ui::CreateWnd(d);
  ui::SetCaptureWnd(window);
  bool idleDone = false;
  for (;;) {
    ui::Message m;
    if (!ui::PeekMsg(m, 0, 0, 0, ui::PM_NOREMOVE)) {
      if (idleDone || !whileOpen) break;
      idleDone = true;
      whileOpen();
      continue;
    }
    if (m.message == ui::WM_QUIT) break;
    if (!dispatchAll && IsPress(m.message) && !ui::GetWindowScreenRect(window).Contains(m.pt))
      break;
    ui::PeekMsg(m, 0, 0, 0, ui::PM_REMOVE);
    ui::TranslateMsg(m);
    ui::DispatchMsg(m);
  }
  if (ui::GetCaptureWnd() == window) ui::ReleaseCaptureWnd();
  ui::DestroyWnd(window);
  window = 0;
}

} // namespace kest::test
