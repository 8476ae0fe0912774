// Invalid areas, painting into the top-level surfaces, and presenting them.
#include "ui/win/WindowSystemImpl.h"

namespace kest::ui {

using detail::B;
using detail::Find;
using detail::S;
using detail::WindowRec;

void InvalidateWnd(WindowHandle h, const Rect* r, bool erase) {
  bool otherThread = false;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    const Rect client{0, 0, w->bounds.Width(), w->bounds.Height()};
    const Rect area = r ? r->Intersect(client) : client;
    if (area.IsEmpty()) return;
    w->update = w->update.Union(area);
    w->erase = w->erase || erase;
    otherThread = w->thread != std::this_thread::get_id();
  }
  if (otherThread) B().Wake();
}

void ValidateWnd(WindowHandle h, const Rect* r) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  if (!w) return;
  // The invalid area is kept as one rectangle: it goes when r covers it all.
  if (!r || r->Intersect(w->update) == w->update) {
    w->update = {};
    w->erase = false;
  }
}

Rect GetUpdateRect(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->update : Rect{};
}

namespace {
// A canvas on h's part of its top-level surface; the caller holds the lock.
std::unique_ptr<Canvas> SurfaceCanvas(WindowHandle h, const Rect& clip) {
  WindowRec* root = Find(GetRootWindow(h));
  if (!root || !root->surface) return nullptr;
  auto canvas = std::make_unique<Canvas>(*root->surface);
  canvas->SetOrigin(detail::SurfaceOffset(h));
  canvas->SetClipRect(clip);
  return canvas;
}
} // namespace

PaintStruct BeginPaint(WindowHandle h) {
  PaintStruct ps;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (w) {
      ps.rcPaint = w->update.Intersect(detail::VisibleClient(h));
      ps.erase = w->erase;
      w->update = {};
      w->erase = false;
      ps.canvas = SurfaceCanvas(h, ps.rcPaint);
    }
  }
  if (!ps.canvas) {
    ps.scratch = std::make_unique<Bitmap>();
    ps.canvas = std::make_unique<Canvas>(*ps.scratch);
    ps.rcPaint = {};
    ps.erase = false;
    return ps;
  }
  if (ps.erase && !ps.rcPaint.IsEmpty()) {
    SendMsg(h, WM_ERASEBKGND, reinterpret_cast<WParam>(ps.canvas.get()));
  }
  return ps;
}

void EndPaint(WindowHandle h, PaintStruct& ps) {
  if (ps.rcPaint.IsEmpty()) return;
  WindowHandle root = 0;
  Rect dirty;
  std::vector<std::pair<WindowHandle, Rect>> covered;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    root = GetRootWindow(h);
    const Point off = detail::SurfaceOffset(h);
    dirty = ps.rcPaint.Offset(off.x, off.y);
    // The parent has just painted over its children there; they repaint on top.
    for (WindowHandle c : w->children) {
      WindowRec* cw = Find(c);
      if (!cw->visible) continue;
      const Rect over = cw->bounds.Intersect(ps.rcPaint);
      if (!over.IsEmpty()) covered.push_back({c, over.Offset(-cw->bounds.left, -cw->bounds.top)});
    }
  }
  for (auto& [c, r] : covered)
    InvalidateWnd(c, &r, true);
  B().Present(root, dirty);
}

void UpdateWnd(WindowHandle h) {
  if (!IsWindowVisible(h) || GetUpdateRect(h).IsEmpty()) return;
  SendMsg(h, WM_PAINT);
}

void UpdateWndTree(WindowHandle h) {
  UpdateWnd(h);
  for (WindowHandle c : GetChildren(h))
    UpdateWndTree(c);
}

std::unique_ptr<Canvas> GetWindowCanvas(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  if (!Find(h)) return nullptr;
  return SurfaceCanvas(h, detail::VisibleClient(h));
}

const Bitmap* GetWindowSurface(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w && w->parent == 0 ? w->surface.get() : nullptr;
}

} // namespace kest::ui
