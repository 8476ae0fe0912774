// Windows: creation, the window tree, geometry, visibility, hit testing,
// monitors, the pointer and key state.
#include "ui/windowing/WindowSystemImpl.h"

#include <algorithm>
#include <stdexcept>

namespace kest::ui {

using detail::Find;
using detail::S;
using detail::WindowRec;

namespace detail {

State& S() {
  static State state;
  return state;
}

Backend& B() {
  State& s = S();
  std::lock_guard lock(s.mutex);
  if (!s.backend) s.backend = CreateDefaultBackend();
  return *s.backend;
}

WindowRec* Find(WindowHandle h) {
  auto& ws = S().windows;
  const auto it = ws.find(h);
  return it == ws.end() ? nullptr : it->second.get();
}

ThreadQueue& QueueOf(std::thread::id t) {
  return S().queues[t];
}
ThreadQueue& MyQueue() {
  return QueueOf(std::this_thread::get_id());
}

Point WindowSurfaceOffset(WindowHandle h) {
  Point p;
  for (WindowRec* w = Find(h); w && w->parent; w = Find(w->parent)) {
    p.x += w->bounds.left;
    p.y += w->bounds.top;
    if (WindowRec* parent = Find(w->parent)) {
      p.x += parent->frame.left;
      p.y += parent->frame.top;
    }
  }
  return p;
}

Point SurfaceOffset(WindowHandle h) {
  Point p = WindowSurfaceOffset(h);
  if (WindowRec* w = Find(h)) {
    p.x += w->frame.left;
    p.y += w->frame.top;
  }
  return p;
}

Rect VisibleClient(WindowHandle h) {
  WindowRec* w = Find(h);
  if (!w) return {};
  Rect r = ClientArea(*w);
  Point off; // from h's client origin to the current ancestor's
  for (WindowRec* c = w; c->parent; c = Find(c->parent)) {
    WindowRec* p = Find(c->parent);
    if (!p) break;
    off.x += c->frame.left + c->bounds.left;
    off.y += c->frame.top + c->bounds.top;
    r = r.Intersect(ClientArea(*p).Offset(-off.x, -off.y));
  }
  return r;
}

void ResizeSurface(WindowRec& w) {
  if (w.parent != 0 || w.messageOnly) {
    w.surface.reset();
    return;
  }
  if (!w.surface) w.surface = std::make_unique<Bitmap>();
  w.surface->SetSize(w.bounds.Width(), w.bounds.Height());
}

std::uint16_t ButtonKey(MouseButton b) {
  return b == MouseButton::Left ? VK_LBUTTON : b == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

void ForgetWindow(WindowHandle h) {
  State& s = S();
  std::erase_if(s.timers, [h](const TimerRec& t) { return t.hwnd == h; });
  if (s.capture == h) s.capture = 0;
  if (s.focus == h) s.focus = 0;
  if (s.active == h) s.active = 0;
  if (s.lastClick.hwnd == h) s.lastClick.valid = false;
}

} // namespace detail

WindowHandle CreateWnd(const WindowDesc& desc) {
  auto& s = S();
  WindowHandle h = 0;
  Rect bounds = desc.bounds;
  const std::uint64_t host = desc.parent == 0 ? desc.hostWindow : 0;
  if (host) {
    const std::optional<Rect> where = detail::B().AdoptHostWindow(host);
    if (!where) return 0;
    bounds = *where;
  }
  {
    std::lock_guard lock(s.mutex);
    if (desc.parent != 0 && !Find(desc.parent)) {
      throw std::invalid_argument("CreateWnd: the parent window does not exist");
    }
    if (desc.messageOnly && desc.parent != 0) {
      throw std::invalid_argument("CreateWnd: a message-only window has no parent");
    }
    auto rec = std::make_unique<WindowRec>();
    h = s.nextHandle++;
    rec->handle = h;
    rec->parent = desc.parent;
    rec->owner = desc.parent == 0 && !desc.messageOnly && Find(desc.owner) ? desc.owner : 0;
    rec->thread = std::this_thread::get_id();
    rec->proc = desc.proc;
    rec->bounds = {bounds.left, bounds.top, std::max(bounds.left, bounds.right),
                   std::max(bounds.top, bounds.bottom)};
    rec->messageOnly = desc.messageOnly;
    rec->visible = desc.visible && !desc.messageOnly;
    rec->topmost = desc.topmost;
    rec->noActivate = desc.noActivate;
    rec->doubleClicks = desc.doubleClicks;
    rec->background = desc.background;
    rec->caption = desc.caption;
    rec->frame = {std::max(0, desc.frame.left), std::max(0, desc.frame.top),
                  std::max(0, desc.frame.right), std::max(0, desc.frame.bottom)};
    rec->ncDirty = detail::HasFrame(*rec);
    rec->hostWindow = host;
    rec->update = detail::ClientArea(*rec);
    rec->erase = true;
    detail::ResizeSurface(*rec);
    if (desc.parent)
      Find(desc.parent)->children.push_back(h);
    else if (!desc.messageOnly)
      s.topLevels.push_back(h);
    s.windows.emplace(h, std::move(rec));
  }
  if (desc.parent == 0 && !desc.messageOnly) {
    BringToFront(h);
    detail::B().TopLevelChanged(h);
  }
  SendMsg(h, WM_CREATE);
  return h;
}

void DestroyWnd(WindowHandle h) {
  auto& s = S();
  std::vector<WindowHandle> children, owned;
  {
    std::lock_guard lock(s.mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    children = w->children;
    for (auto& [oh, rec] : s.windows) {
      if (rec->owner == h) owned.push_back(oh);
    }
  }
  for (WindowHandle o : owned)
    DestroyWnd(o);
  const bool hadCapture = GetCaptureWnd() == h;
  if (hadCapture) ReleaseCaptureWnd();
  SendMsg(h, WM_DESTROY);
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    DestroyWnd(*it);
  bool topLevel = false;
  Rect parentArea;
  WindowHandle parent = 0;
  {
    std::lock_guard lock(s.mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    parent = w->parent;
    parentArea = w->bounds;
    topLevel = parent == 0;
    if (parent)
      std::erase(Find(parent)->children, h);
    else
      std::erase(s.topLevels, h);
    detail::ForgetWindow(h);
    s.windows.erase(h);
  }
  if (parent && IsWindow(parent)) InvalidateWnd(parent, &parentArea, true);
  if (topLevel) detail::B().TopLevelChanged(h);
}

bool IsWindow(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  return Find(h) != nullptr;
}

WindowHandle GetParent(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->parent : 0;
}

WindowHandle GetOwner(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->owner : 0;
}

WindowHandle GetRootWindow(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  while (w && w->parent)
    w = Find(w->parent);
  return w ? w->handle : 0;
}

std::vector<WindowHandle> GetChildren(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->children : std::vector<WindowHandle>{};
}

std::vector<WindowHandle> GetTopLevelWindows() {
  std::lock_guard lock(S().mutex);
  return S().topLevels;
}

bool IsChild(WindowHandle parent, WindowHandle h) {
  std::lock_guard lock(S().mutex);
  for (WindowRec* w = Find(h); w && w->parent; w = Find(w->parent)) {
    if (w->parent == parent) return true;
  }
  return false;
}

void SetParentWnd(WindowHandle h, WindowHandle parent) {
  auto& s = S();
  {
    std::lock_guard lock(s.mutex);
    WindowRec* w = Find(h);
    if (!w || w->messageOnly || w->parent == parent || h == parent) return;
    if (parent && (!Find(parent) || Find(parent)->messageOnly || IsChild(h, parent))) {
      throw std::invalid_argument("SetParentWnd: bad parent window");
    }
    const Rect screen = GetWindowScreenRect(h);
    if (w->parent)
      std::erase(Find(w->parent)->children, h);
    else
      std::erase(s.topLevels, h);
    w->parent = parent;
    if (parent) {
      Find(parent)->children.push_back(h);
      w->owner = 0;
      w->hostWindow = 0;
    } else {
      s.topLevels.push_back(h);
      w->bounds = screen;
    }
    detail::ResizeSurface(*w);
    w->update = detail::ClientArea(*w);
    w->erase = true;
    w->ncDirty = detail::HasFrame(*w);
  }
  detail::B().TopLevelChanged(h);
}

bool GetWindowDesc(WindowHandle h, WindowDesc& desc) {
  std::lock_guard lock(S().mutex);
  const WindowRec* w = Find(h);
  if (!w) return false;
  desc.parent = w->parent;
  desc.owner = w->owner;
  desc.bounds = w->bounds;
  desc.visible = w->visible;
  desc.topmost = w->topmost;
  desc.noActivate = w->noActivate;
  desc.doubleClicks = w->doubleClicks;
  desc.background = w->background;
  desc.caption = w->caption;
  desc.hostWindow = w->hostWindow;
  desc.proc = nullptr;
  return true;
}

void SetWindowProc(WindowHandle h, WindowProc proc) {
  std::lock_guard lock(S().mutex);
  if (WindowRec* w = Find(h)) w->proc = std::move(proc);
}

void SetWindowCaption(WindowHandle h, std::u16string caption) {
  std::lock_guard lock(S().mutex);
  if (WindowRec* w = Find(h)) w->caption = std::move(caption);
}

std::u16string GetWindowCaption(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->caption : std::u16string();
}

void SetWindowUserData(WindowHandle h, void* data) {
  std::lock_guard lock(S().mutex);
  if (WindowRec* w = Find(h)) w->userData = data;
}

void* GetWindowUserData(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->userData : nullptr;
}

bool IsMessageOnlyWindow(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w && w->messageOnly;
}

Rect GetWindowBounds(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->bounds : Rect{};
}

Rect GetWindowScreenRect(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  if (!w) return {};
  const Point p = w->parent ? ClientToScreen(w->parent, w->bounds.TopLeft()) : w->bounds.TopLeft();
  return Rect::FromSize(p.x, p.y, w->bounds.Width(), w->bounds.Height());
}

Rect GetClientRect(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? detail::ClientArea(*w) : Rect{};
}

Rect GetWindowFrame(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->frame : Rect{};
}

void SetWindowBounds(WindowHandle h, const Rect& bounds) {
  auto& s = S();
  WindowHandle parent = 0;
  Rect old, client;
  bool resized = false;
  {
    std::lock_guard lock(s.mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    const Rect nb{bounds.left, bounds.top, std::max(bounds.left, bounds.right),
                  std::max(bounds.top, bounds.bottom)};
    if (nb == w->bounds) return;
    old = w->bounds;
    resized = nb.Width() != old.Width() || nb.Height() != old.Height();
    w->bounds = nb;
    parent = w->parent;
    detail::ResizeSurface(*w);
    if (resized) w->ncDirty = detail::HasFrame(*w);
    client = detail::ClientArea(*w);
  }
  if (parent) {
    InvalidateWnd(parent, &old, true);
    InvalidateWnd(h, nullptr, true);
  } else {
    if (resized) InvalidateWnd(h, nullptr, true);
    detail::B().TopLevelChanged(h);
  }
  if (resized) SendMsg(h, WM_SIZE, 0, MakeLParam(client.Width(), client.Height()));
  SendMsg(h, WM_MOVE, 0, MakeLParam(bounds.left, bounds.top));
}

Point ClientToScreen(WindowHandle h, Point p) {
  std::lock_guard lock(S().mutex);
  for (WindowRec* w = Find(h); w; w = Find(w->parent)) {
    p.x += w->bounds.left + w->frame.left;
    p.y += w->bounds.top + w->frame.top;
  }
  return p;
}

Point ScreenToClient(WindowHandle h, Point p) {
  const Point o = ClientToScreen(h, {0, 0});
  return {p.x - o.x, p.y - o.y};
}

void BringToFront(WindowHandle h) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  WindowRec* w = Find(h);
  if (!w) return;
  auto& list = w->parent ? Find(w->parent)->children : s.topLevels;
  std::erase(list, h);
  if (w->parent || w->topmost) {
    list.push_back(h);
  } else {
    // Ordinary top-level windows stay below the topmost ones.
    auto it =
        std::find_if(list.begin(), list.end(), [](WindowHandle o) { return Find(o)->topmost; });
    list.insert(it, h);
  }
  if (w->parent) InvalidateWnd(h, nullptr, true);
}

void ShowWnd(WindowHandle h, bool show, bool redraw) {
  auto& s = S();
  WindowHandle parent = 0;
  Rect area;
  {
    std::lock_guard lock(s.mutex);
    WindowRec* w = Find(h);
    if (!w || w->messageOnly || w->visible == show) return;
    w->visible = show;
    if (show) w->ncDirty = redraw && detail::HasFrame(*w);
    if (!redraw) {
      w->update = {};
      w->erase = false;
    }
    parent = w->parent;
    area = w->bounds;
  }
  SendMsg(h, WM_SHOWWINDOW, show ? 1 : 0, 0);
  if (show && redraw) InvalidateWnd(h, nullptr, true);
  if (parent) {
    if (!show && redraw) InvalidateWnd(parent, &area, true);
  } else {
    detail::B().TopLevelChanged(h);
  }
  if (!show) {
    if (GetCaptureWnd() && (GetCaptureWnd() == h || IsChild(h, GetCaptureWnd())))
      ReleaseCaptureWnd();
    const WindowHandle f = GetFocusWnd();
    if (f && (f == h || IsChild(h, f))) SetFocusWnd(parent);
  }
}

bool IsWindowVisible(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  if (!w) return false;
  for (; w; w = Find(w->parent)) {
    if (!w->visible) return false;
  }
  return true;
}

bool IsWindowShown(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w && w->visible;
}

void EnableWnd(WindowHandle h, bool enable) {
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w || w->enabled == enable) return;
    w->enabled = enable;
  }
  if (!enable) {
    const WindowHandle c = GetCaptureWnd();
    if (c && (c == h || IsChild(h, c))) SendMsg(c, WM_CANCELMODE);
    const WindowHandle f = GetFocusWnd();
    if (f && (f == h || IsChild(h, f))) SetFocusWnd(0);
  }
  SendMsg(h, WM_ENABLE, enable ? 1 : 0);
}

bool IsWindowEnabled(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w && w->enabled;
}

namespace {
bool Shows(WindowRec* w, Point local) {
  if (!w->visible) return false;
  if (!Rect{0, 0, w->bounds.Width(), w->bounds.Height()}.Contains(local)) return false;
  return !w->region || w->region->Contains(local);
}

// local: a point in w's window coordinates (frame included).
WindowHandle Descend(WindowRec* w, Point local) {
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    WindowRec* c = Find(*it);
    const Point cl{local.x - w->frame.left - c->bounds.left,
                   local.y - w->frame.top - c->bounds.top};
    if (Shows(c, cl)) return c->enabled ? Descend(c, cl) : w->handle;
  }
  return w->handle;
}
} // namespace

WindowHandle WindowFromPoint(Point screen) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  for (auto it = s.topLevels.rbegin(); it != s.topLevels.rend(); ++it) {
    WindowRec* w = Find(*it);
    const Point local{screen.x - w->bounds.left, screen.y - w->bounds.top};
    if (Shows(w, local)) return Descend(w, local);
  }
  return 0;
}

void SetWindowOpacity(WindowHandle h, std::uint8_t alpha) {
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w || w->opacity == alpha) return;
    w->opacity = alpha;
  }
  detail::B().TopLevelChanged(h);
}

std::uint8_t GetWindowOpacity(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->opacity : 255;
}

void SetWindowRegion(WindowHandle h, std::optional<Region> region) {
  bool topLevel = false;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* w = Find(h);
    if (!w) return;
    w->region = std::move(region);
    topLevel = w->parent == 0;
  }
  if (topLevel)
    detail::B().TopLevelChanged(h);
  else
    InvalidateWnd(GetParent(h), nullptr, true);
}

std::optional<Region> GetWindowRegion(WindowHandle h) {
  std::lock_guard lock(S().mutex);
  WindowRec* w = Find(h);
  return w ? w->region : std::nullopt;
}

std::vector<Monitor> GetMonitors() {
  auto mons = detail::B().Monitors();
  if (mons.empty()) mons.push_back({{0, 0, 1024, 768}, {0, 0, 1024, 768}});
  return mons;
}

namespace {
long long DistanceSq(const Rect& r, Point p) {
  const long long dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
  const long long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
  return dx * dx + dy * dy;
}
} // namespace

Monitor MonitorFromPoint(Point p) {
  const auto mons = GetMonitors();
  return *std::min_element(mons.begin(), mons.end(), [&](const Monitor& a, const Monitor& b) {
    return DistanceSq(a.bounds, p) < DistanceSq(b.bounds, p);
  });
}

Monitor MonitorFromRect(const Rect& r) {
  const auto mons = GetMonitors();
  const Monitor* best = nullptr;
  long long bestArea = 0;
  for (const Monitor& m : mons) {
    const Rect i = m.bounds.Intersect(r);
    const long long area = static_cast<long long>(i.Width()) * i.Height();
    if (area > bestArea) {
      bestArea = area;
      best = &m;
    }
  }
  if (best) return *best;
  return MonitorFromPoint({r.left + r.Width() / 2, r.top + r.Height() / 2});
}

void SetCursorShape(Cursor c) {
  int count = 0;
  {
    std::lock_guard lock(S().mutex);
    if (S().cursor == c) return;
    S().cursor = c;
    count = S().pointerCount;
  }
  detail::B().CursorChanged(c, count >= 0 && c != Cursor::None);
}

Cursor GetCursorShape() {
  std::lock_guard lock(S().mutex);
  return S().cursor;
}

int ShowPointer(bool show) {
  int count = 0;
  Cursor c;
  {
    std::lock_guard lock(S().mutex);
    count = S().pointerCount += show ? 1 : -1;
    c = S().cursor;
  }
  detail::B().CursorChanged(c, count >= 0 && c != Cursor::None);
  return count;
}

bool PointerVisible() {
  std::lock_guard lock(S().mutex);
  return S().pointerCount >= 0 && S().cursor != Cursor::None;
}

Point GetCursorPos() {
  std::lock_guard lock(S().mutex);
  return S().cursorPos;
}

std::int16_t GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  std::lock_guard lock(S().mutex);
  return detail::MyQueue().keys[static_cast<std::size_t>(vk)] ? static_cast<std::int16_t>(0x8000)
                                                              : 0;
}

std::int16_t GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  std::lock_guard lock(S().mutex);
  return S().asyncKeys[static_cast<std::size_t>(vk)] ? static_cast<std::int16_t>(0x8000) : 0;
}

void MessageBeep(unsigned kind) {
  detail::B().Beep(kind);
}

void AdoptNativeBounds(WindowHandle h, const Rect& screen, bool& adopting) {
  if (GetWindowBounds(h) == screen) return;
  adopting = true;
  struct Reset {
    bool& b;
    ~Reset() { b = false; }
  } reset{adopting};
  SetWindowBounds(h, screen);
}

void InstallBackend(std::unique_ptr<Backend> backend) {
  auto& s = S();
  std::unique_ptr<Backend> old;
  std::lock_guard lock(s.mutex);
  old = std::move(s.backend);
  s.windows.clear();
  s.topLevels.clear();
  s.timers.clear();
  s.queues.clear();
  s.capture = s.focus = s.active = 0;
  s.cursor = Cursor::Default;
  s.pointerCount = 0;
  s.cursorPos = {};
  s.asyncKeys.fill(0);
  s.lastClick = {};
  s.backend = std::move(backend);
}

Backend& CurrentBackend() {
  return detail::B();
}

} // namespace kest::ui
