// Invalid areas, painting into the top-level surfaces, and presenting them.
#include "ui/windowing/WindowSystemImpl.h"

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
    const Rect client = detail::ClientArea(*w);
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
// A canvas on h's part of its top-level surface, with its origin at h's
// client origin (or, for the whole window, its top-left corner); the
// caller holds the lock.
std::unique_ptr<Canvas> SurfaceCanvas(WindowHandle h, const Rect& clip, bool whole = false) {
  WindowRec* root = Find(GetRootWindow(h));
  if (!root || !root->surface) return nullptr;
  auto canvas = std::make_unique<Canvas>(*root->surface);
  canvas->SetOrigin(whole ? detail::WindowSurfaceOffset(h) : detail::SurfaceOffset(h));
  canvas->SetClipRect(clip);
  return canvas;
}

// The frame of h, painted by its WM_NCPAINT into a picture of the whole
// window of which only the frame strips reach the surface: the client area
// keeps what it shows. False when there was nothing to paint.
bool PaintFrame(WindowHandle h) {
  Rect frame, whole;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w || !w->ncDirty) return false;
    w->ncDirty = false;
    if (!detail::HasFrame(*w) || !Find(GetRootWindow(h))->surface) return false;
    frame = w->frame;
    whole = {0, 0, w->bounds.Width(), w->bounds.Height()};
  }
  Bitmap picture(whole.Width(), whole.Height());
  SendMsg(h, WM_NCPAINT, reinterpret_cast<WParam>(&picture.GetCanvas()));
  std::lock_guard lock(S().mutex);
  auto canvas = SurfaceCanvas(h, whole, true);
  if (!canvas) return false;
  const Rect strips[] = {
      {0, 0, whole.right, frame.top},
      {0, whole.bottom - frame.bottom, whole.right, whole.bottom},
      {0, frame.top, frame.left, whole.bottom - frame.bottom},
      {whole.right - frame.right, frame.top, whole.right, whole.bottom - frame.bottom}};
  for (const Rect& r : strips) {
    if (!r.IsEmpty()) canvas->BitBlt(r.left, r.top, r.Width(), r.Height(), picture, r.left, r.top);
  }
  return true;
}

// Where a window's area lies in its top-level surface; area in client
// coordinates, null for the whole window. The caller holds the lock.
Rect SurfaceArea(WindowHandle h, const Rect* area) {
  WindowRec* w = Find(h);
  if (!w) return {};
  if (!area) {
    const Point o = detail::WindowSurfaceOffset(h);
    return Rect::FromSize(o.x, o.y, w->bounds.Width(), w->bounds.Height());
  }
  const Point o = detail::SurfaceOffset(h);
  return area->Offset(o.x, o.y);
}
} // namespace

PaintStruct BeginPaint(WindowHandle h) {
  PaintStruct ps;
  ps.framePainted = PaintFrame(h);
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
    ps.framePainted = false;
    return ps;
  }
  if (ps.erase && !ps.rcPaint.IsEmpty()) {
    SendMsg(h, WM_ERASEBKGND, reinterpret_cast<WParam>(ps.canvas.get()));
  }
  return ps;
}

void EndPaint(WindowHandle h, PaintStruct& ps) {
  if (ps.framePainted) PresentWnd(h);
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
  if (!IsWindowVisible(h)) return;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w || (w->update.IsEmpty() && !w->ncDirty)) return;
  }
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

std::unique_ptr<Canvas> GetWholeWindowCanvas(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  if (!w) return nullptr;
  return SurfaceCanvas(h, {0, 0, w->bounds.Width(), w->bounds.Height()}, true);
}

void PresentWnd(WindowHandle h, const Rect* area) {
  WindowHandle root = 0;
  Rect r;
  {
    std::lock_guard lock(S().mutex);
    root = GetRootWindow(h);
    WindowRec* rr = Find(root);
    if (!rr || !rr->surface) return;
    r = SurfaceArea(h, area).Intersect({0, 0, rr->surface->Width(), rr->surface->Height()});
  }
  if (!r.IsEmpty()) B().Present(root, r);
}

const Bitmap* GetWindowSurface(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w && w->parent == 0 ? w->surface.get() : nullptr;
}

} // namespace kest::ui
