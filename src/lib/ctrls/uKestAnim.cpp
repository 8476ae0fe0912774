#include "uKestAnim.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "uKestTools.h"

namespace kest {

namespace {

struct PopupAnimationState {
  bool Animating = false;
  ui::WindowHandle Wnd = 0;
  std::int32_t Current = 0;
  std::uint32_t StartTick = 0;
  std::uint32_t LastTick = 0;
  std::unique_ptr<ui::Bitmap> Snapshot;
  ui::Rect ClientRect;
  int Width = 0;
  int Height = 0;
  ui::Point LastCursor;
  TKestAnimationDirection Direction;
};

thread_local PopupAnimationState gAnim;

// Shows the snapshot with its top-left corner at (x, y) of the window,
// the window's visible part limited to it.
void ShowSnapshotAt(int x, int y) {
  const ui::WindowHandle w = gAnim.Wnd;
  ui::SetWindowRegion(w, ui::Region::FromRect(ui::Rect::FromSize(x, y, gAnim.Width, gAnim.Height)));
  if (auto canvas = ui::GetWholeWindowCanvas(w)) {
    canvas->BitBlt(x, y, gAnim.Width, gAnim.Height, *gAnim.Snapshot, 0, 0);
    ui::PresentWnd(w);
  }
}

} // namespace

void StartPopupAnimation(ui::WindowHandle Wnd, TKestAnimationDirection Direction) {
  EndPopupAnimation();
  if (!ui::IsWindow(Wnd)) throw std::runtime_error("Popup animation: no such window");
  gAnim.Wnd = Wnd;
  gAnim.Direction = Direction;
  gAnim.LastCursor = ui::GetCursorPos();
  const ui::Rect wr = ui::GetWindowScreenRect(Wnd);
  const ui::Point co = ui::ClientToScreen(Wnd, {0, 0});
  const ui::Rect client = ui::GetClientRect(Wnd);
  gAnim.ClientRect = client.Offset(co.x, co.y);
  gAnim.Width = wr.Width();
  gAnim.Height = wr.Height();
  try {
    gAnim.Snapshot = std::make_unique<ui::Bitmap>(gAnim.Width, gAnim.Height);
  } catch (...) {
    EndPopupAnimation();
    throw;
  }
  ui::SendMsg(Wnd, ui::WM_PRINT, reinterpret_cast<ui::WParam>(&gAnim.Snapshot->GetCanvas()),
              PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  gAnim.Current = 0;
  ui::SetWindowRegion(Wnd, ui::Region{});
  gAnim.StartTick = gAnim.LastTick = ui::TickCount();
  // Shown as it is: a repaint now would end the slide before it began.
  ui::ShowWnd(Wnd, true, false);
  gAnim.Animating = true;
}

void StepPopupAnimation() {
  if (!gAnim.Animating) return;
  const std::uint32_t now = ui::TickCount();
  if (now - gAnim.LastTick < kPopupAnimationStepMs) return;
  gAnim.LastTick = now;
  const auto elapsed = static_cast<std::int32_t>(now - gAnim.StartTick);
  if (elapsed < 0 || elapsed >= static_cast<std::int32_t>(kPopupAnimationMs)) {
    EndPopupAnimation();
    return;
  }
  const int n = elapsed * 255 / static_cast<int>(kPopupAnimationMs);
  const ui::Point cursor = ui::GetCursorPos();
  if (cursor != gAnim.LastCursor) {
    // The user has reached the menu: show it whole at once.
    if (gAnim.ClientRect.Contains(cursor)) {
      EndPopupAnimation();
      return;
    }
    gAnim.LastCursor = cursor;
  }
  if (n <= gAnim.Current) return;
  gAnim.Current = n;
  const int w = gAnim.Width;
  const int h = gAnim.Height;
  const TKestAnimationDirection d = gAnim.Direction;
  int y = 0;
  if (d.Contains(tbadDown))
    y = MulDiv(h, n, 255) - h;
  else if (d.Contains(tbadUp))
    y = h - MulDiv(h, n, 255);
  int x = 0;
  if (d.Contains(tbadRight))
    x = MulDiv(w, n, 255) - w;
  else if (d.Contains(tbadLeft))
    x = w - MulDiv(w, n, 255);
  ShowSnapshotAt(x, y);
}

void EndPopupAnimation() {
  gAnim.Animating = false;
  if (gAnim.Snapshot && ui::IsWindow(gAnim.Wnd)) {
    ui::SetWindowRegion(gAnim.Wnd, std::nullopt);
    if (auto canvas = ui::GetWholeWindowCanvas(gAnim.Wnd)) {
      canvas->Draw(0, 0, *gAnim.Snapshot);
      ui::PresentWnd(gAnim.Wnd);
    }
  }
  gAnim.Snapshot.reset();
  gAnim.Wnd = 0;
}

void EndPopupAnimationFor(ui::WindowHandle Wnd) {
  if (gAnim.Animating && (Wnd == 0 || Wnd == gAnim.Wnd)) EndPopupAnimation();
}

bool PopupAnimating() {
  return gAnim.Animating;
}

} // namespace kest
