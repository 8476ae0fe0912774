// Printing windows into canvases, and repainting through a buffer.
#include "uKestTools.h"

namespace kest {

namespace {

ui::WParam CanvasParam(ui::Canvas& c) {
  return reinterpret_cast<ui::WParam>(&c);
}

// Narrows the canvas to a rectangle given in its current logical
// coordinates and moves the origin to that rectangle's corner.
void EnterArea(ui::Canvas& c, const ui::Rect& area) {
  const ui::Rect clip = c.ClipRect().Intersect(area);
  const ui::Point o = c.Origin();
  c.SetOrigin({o.x + area.left, o.y + area.top});
  c.SetClipRect(clip.Offset(-area.left, -area.top));
}

} // namespace

ui::LResult PaintWindowToDC(ui::WindowHandle Wnd, ui::Canvas& Canvas, unsigned Flags,
                            const TKestNCPainter& NCPainter) {
  if ((Flags & PRF_CHECKVISIBLE) && !ui::IsWindowVisible(Wnd)) return 0;
  const ui::Canvas::State saved = Canvas.Save();
  if ((Flags & PRF_NONCLIENT) && NCPainter) {
    const ui::Canvas::State s = Canvas.Save();
    NCPainter(Canvas);
    Canvas.Restore(s);
  }
  const ui::Rect wr = ui::GetWindowScreenRect(Wnd);
  const ui::Point co = ui::ClientToScreen(Wnd, {0, 0});
  const ui::Point offset{co.x - wr.left, co.y - wr.top};
  const ui::Point o = Canvas.Origin();
  Canvas.SetOrigin({o.x + offset.x, o.y + offset.y});
  if (Flags & PRF_CLIENT) {
    if (Flags & PRF_ERASEBKGND) ui::SendMsg(Wnd, ui::WM_ERASEBKGND, CanvasParam(Canvas));
    ui::SendMsg(Wnd, ui::WM_PRINTCLIENT, CanvasParam(Canvas), Flags);
  }
  if (Flags & PRF_CHILDREN) {
    const unsigned childFlags =
        PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN | (Flags & ~0x3Fu);
    for (ui::WindowHandle c : ui::GetChildren(Wnd)) {
      if (!ui::IsWindowShown(c)) continue;
      const ui::Canvas::State s = Canvas.Save();
      EnterArea(Canvas, ui::GetWindowBounds(c));
      ui::SendMsg(c, ui::WM_PRINT, CanvasParam(Canvas), childFlags);
      Canvas.Restore(s);
    }
  }
  if (Flags & PRF_OWNED) {
    for (ui::WindowHandle t : ui::GetTopLevelWindows()) {
      if (ui::GetOwner(t) != Wnd || !ui::IsWindowVisible(t)) continue;
      const ui::Canvas::State s = Canvas.Save();
      const ui::Rect tr = ui::GetWindowScreenRect(t);
      EnterArea(Canvas, tr.Offset(-co.x, -co.y));
      ui::SendMsg(t, ui::WM_PRINT, CanvasParam(Canvas), Flags);
      Canvas.Restore(s);
    }
  }
  Canvas.Restore(saved);
  return 1;
}

void PrintClientTo(const std::function<void(ui::Canvas&)>& PaintHandler, ui::Canvas& Canvas) {
  const ui::Canvas::State saved = Canvas.Save();
  struct Restore {
    ui::Canvas& c;
    const ui::Canvas::State& s;
    ~Restore() { c.Restore(s); }
  } restore{Canvas, saved};
  PaintHandler(Canvas);
}

void BufferedRepaint(ui::WindowHandle Wnd) {
  const ui::Rect client = ui::GetClientRect(Wnd);
  const bool painted = [&] {
    if (!ui::IsWindowVisible(Wnd) || client.IsEmpty()) return false;
    ui::ValidateWnd(Wnd);
    const std::unique_ptr<ui::Canvas> target = ui::GetWindowCanvas(Wnd);
    if (!target) return false;
    const ui::Rect area = target->ClipRect().Intersect(client);
    if (area.IsEmpty()) return true; // nothing of it can show
    ui::Bitmap buffer(area.Width(), area.Height());
    ui::Canvas& bc = buffer.GetCanvas();
    bc.SetOrigin({-area.left, -area.top});
    bc.SetClipRect(area);
    ui::SendMsg(Wnd, ui::WM_ERASEBKGND, CanvasParam(bc));
    ui::SendMsg(Wnd, ui::WM_PAINT, CanvasParam(bc));
    target->BitBlt(area.left, area.top, area.Width(), area.Height(), buffer, 0, 0);
    ui::PresentWnd(Wnd, &area);
    return true;
  }();
  if (!painted) ui::InvalidateWnd(Wnd, nullptr, true);
}

} // namespace kest
