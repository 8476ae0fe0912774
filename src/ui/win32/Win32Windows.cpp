// Native windows for the toolkit's top-level windows: children of a host's
// window, topmost popups that never take activation, owned frameless
// windows or framed top-levels; following the toolkit's geometry, opacity,
// visible region and visibility, and presenting its surfaces.
#include "ui/win32/Win32Internal.h" // last: windows.h

#include <algorithm>
#include <vector>

namespace kest::ui::win32 {

namespace {

int Side(int v) {
  return std::max(v, 1);
}

RECT ToRect(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

constexpr DWORD kFramedStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// The screen rectangle of a host window's client area.
std::optional<Rect> ClientOnScreen(HWND hwnd) {
  RECT rc{};
  if (!::IsWindow(hwnd) || !::GetClientRect(hwnd, &rc)) return std::nullopt;
  POINT origin{0, 0};
  ::ClientToScreen(hwnd, &origin);
  return Rect::FromSize(origin.x, origin.y, rc.right - rc.left, rc.bottom - rc.top);
}

} // namespace

Point ScreenPoint(HWND hwnd, LPARAM l) {
  POINT p{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
  ::ClientToScreen(hwnd, &p);
  return {p.x, p.y};
}

HWND Win32Backend::HwndOf(WindowHandle h) const {
  const auto it = fWindows.find(h);
  return it == fWindows.end() || it->second.gone ? nullptr : it->second.hwnd;
}

WindowHandle Win32Backend::FromHwnd(HWND hwnd) const {
  for (const auto& [h, n] : fWindows)
    if (n.hwnd == hwnd && !n.gone) return h;
  return 0;
}

std::optional<Rect> Win32Backend::AdoptHostWindow(std::uint64_t nativeId) {
  return ClientOnScreen(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(nativeId)));
}

WindowHandle Win32Backend::Wrap(HWND foreign) {
  WindowDesc d;
  d.hostWindow = reinterpret_cast<std::uintptr_t>(foreign);
  d.visible = true;
  d.background = Rgb(0, 0, 0);
  return CreateWnd(d);
}

void Win32Backend::TopLevelChanged(WindowHandle h) {
  WindowDesc d;
  const bool exists = GetWindowDesc(h, d);
  auto it = fWindows.find(h);
  if (!exists || d.parent != 0) {
    if (it != fWindows.end()) {
      DestroyNative(it->second);
      fWindows.erase(it);
    }
    return;
  }
  if (it == fWindows.end()) {
    // Hidden windows (the menus' message windows) never need a native one.
    if (!d.visible && !d.hostWindow) return;
    NativeWindow n;
    n.foreignParent = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(d.hostWindow));
    n.popup = !n.foreignParent && d.noActivate;
    n.framed = !n.foreignParent && !n.popup && d.owner == 0 && !d.topmost;
    n.placed = d.bounds;
    it = fWindows.emplace(h, n).first;
    CreateNative(h, it->second, d);
  }
  NativeWindow& n = it->second;
  if (n.gone || !n.hwnd) return;
  if (!fAdopting && d.bounds != n.placed) Place(n, d.bounds);
  ApplyOpacity(n, GetWindowOpacity(h));
  ApplyRegion(n, GetWindowRegion(h));
  ApplyVisibility(n, d.visible);
}

void Win32Backend::CreateNative(WindowHandle h, NativeWindow& n, const WindowDesc& d) {
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  Rect b = d.bounds;
  if (n.foreignParent) {
    style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    parent = n.foreignParent;
    b = Rect::FromSize(0, 0, b.Width(), b.Height());
  } else if (n.popup) {
    // Shown with no activation; layered from the start so that the menus'
    // fade needs no restyling while they show.
    exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
  } else if (n.framed) {
    style = kFramedStyle;
    RECT r = ToRect(b);
    ::AdjustWindowRectEx(&r, style, FALSE, 0);
    b = {r.left, r.top, r.right, r.bottom};
  } else {
    // Owned and topmost windows draw their own frame (the about window, our
    // message boxes) and stay above the window they belong to.
    exStyle = d.topmost ? WS_EX_TOPMOST : 0;
    if (d.owner) {
      const WindowHandle ownerRoot = GetRootWindow(d.owner);
      const auto o = fWindows.find(ownerRoot);
      if (o != fWindows.end() && !o->second.gone)
        parent = o->second.foreignParent ? ::GetAncestor(o->second.foreignParent, GA_ROOT)
                                         : o->second.hwnd;
    }
  }
  n.hwnd = ::CreateWindowExW(exStyle, n.popup ? L"KestrelphonPopup" : L"KestrelphonWindow",
                             reinterpret_cast<const wchar_t*>(d.caption.c_str()), style, b.left, b.top, Side(b.Width()),
                             Side(b.Height()), parent, nullptr, fInstance, nullptr);
  if (!n.hwnd) {
    n.gone = true;
    return;
  }
  ::SetWindowLongPtrW(n.hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(h));
  if (n.popup) ::SetLayeredWindowAttributes(n.hwnd, 0, n.opacity, LWA_ALPHA);
}

void Win32Backend::DestroyNative(NativeWindow& n) {
  if (n.hwnd && !n.gone) {
    if (n.hwnd == fCaptureHwnd) ReleaseNativeCapture();
    if (n.hwnd == fTracking) fTracking = nullptr;
    // Not through our procedure any more: the toolkit window is gone.
    ::SetWindowLongPtrW(n.hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(n.hwnd);
  }
  n.hwnd = nullptr;
  n.gone = true;
}

void Win32Backend::Place(NativeWindow& n, const Rect& b) {
  n.placed = b;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (n.foreignParent) {
    ::SetWindowPos(n.hwnd, nullptr, 0, 0, Side(b.Width()), Side(b.Height()), flags | SWP_NOMOVE);
    return;
  }
  RECT r = ToRect(b);
  if (n.framed) ::AdjustWindowRectEx(&r, kFramedStyle, FALSE, 0);
  ::SetWindowPos(n.hwnd, nullptr, r.left, r.top, Side(r.right - r.left), Side(r.bottom - r.top),
                 flags);
}

void Win32Backend::ApplyOpacity(NativeWindow& n, std::uint8_t opacity) {
  if (opacity == n.opacity) return;
  n.opacity = opacity;
  LONG_PTR ex = ::GetWindowLongPtrW(n.hwnd, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) {
    if (opacity == 255) return;
    ::SetWindowLongPtrW(n.hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  }
  ::SetLayeredWindowAttributes(n.hwnd, 0, opacity, LWA_ALPHA);
}

void Win32Backend::ApplyRegion(NativeWindow& n, const std::optional<Region>& region) {
  if (n.region == region) return;
  n.region = region;
  HRGN rgn = nullptr;
  if (region) {
    const std::vector<Rect> bands = region->Bands();
    std::vector<char> data(sizeof(RGNDATAHEADER) + bands.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(bands.size());
    header->nRgnSize = static_cast<DWORD>(bands.size() * sizeof(RECT));
    header->rcBound = ToRect(region->Bounds());
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < bands.size(); ++i)
      rects[i] = ToRect(bands[i]);
    rgn = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                            reinterpret_cast<const RGNDATA*>(data.data()));
    if (!rgn) rgn = ::CreateRectRgn(0, 0, 0, 0); // shows nothing rather than all
  }
  // The system owns the region from here on.
  ::SetWindowRgn(n.hwnd, rgn, TRUE);
}

void Win32Backend::ApplyVisibility(NativeWindow& n, bool visible) {
  if (visible == n.shown) return;
  n.shown = visible;
  if (!visible) {
    ::ShowWindow(n.hwnd, SW_HIDE);
    return;
  }
  if (n.popup) {
    // On top of everything, and the host keeps its activation.
    ::SetWindowPos(n.hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return;
  }
  // The editor shows inside the host's window without taking its focus.
  ::ShowWindow(n.hwnd, n.foreignParent ? SW_SHOWNA : SW_SHOW);
}

void Win32Backend::AdoptBounds(WindowHandle h, const Rect& screen) {
  auto it = fWindows.find(h);
  if (it == fWindows.end()) return;
  it->second.placed = screen;
  AdoptNativeBounds(h, screen, fAdopting);
}

void Win32Backend::FollowHostWindows() {
  // A child window hears nothing of its parent moving or resizing: the
  // host's window is looked at whenever the toolkit's state is synced.
  std::vector<std::pair<WindowHandle, Rect>> moved;
  for (auto& [h, n] : fWindows) {
    if (!n.foreignParent || n.gone) continue;
    const std::optional<Rect> where = ClientOnScreen(n.foreignParent);
    if (!where) {
      n.gone = true;
      n.hwnd = nullptr;
      if (fKeysFrom == n.foreignParent) fKeysFrom = nullptr;
      continue;
    }
    if (*where != GetWindowBounds(h)) moved.push_back({h, *where});
  }
  // Outside the loop: the toolkit's answer resizes our child in the map.
  for (const auto& [h, r] : moved)
    SetWindowBounds(h, r);
}

void Win32Backend::Present(WindowHandle h, const Rect& r) {
  const auto it = fWindows.find(h);
  if (it == fWindows.end() || it->second.gone || !it->second.shown) return;
  HDC dc = ::GetDC(it->second.hwnd);
  if (!dc) return;
  Blit(h, dc, r);
  ::ReleaseDC(it->second.hwnd, dc);
}

void Win32Backend::Paint(WindowHandle h, HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(hwnd, &ps);
  if (dc) Blit(h, dc, Rect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
  ::EndPaint(hwnd, &ps);
}

void Win32Backend::Blit(WindowHandle h, HDC dc, const Rect& area) {
  // No window-system lock while the system draws: a surface changes only on
  // the thread that owns its window, which is the one presenting it.
  const Bitmap* surface = GetWindowSurface(h);
  if (!surface || surface->Empty()) return;
  const Rect r = area.Intersect({0, 0, surface->Width(), surface->Height()});
  if (r.IsEmpty()) return;
  // The surface's 0xAARRGGBB words are a 32-bit DIB as they stand. The DIB
  // handed over starts at the rectangle's first row, top-down, so the
  // source row is 0 however the system counts rows.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = surface->Width();
  bi.bmiHeader.biHeight = -r.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc, r.left, r.top, static_cast<DWORD>(r.Width()),
                      static_cast<DWORD>(r.Height()), r.left, 0, 0,
                      static_cast<UINT>(r.Height()), surface->Row(r.top), &bi, DIB_RGB_COLORS);
}

HCURSOR Win32Backend::CursorHandle() const {
  if (!fPointerVisible) return nullptr;
  const wchar_t* id = IDC_ARROW;
  switch (fCursor) {
  case Cursor::None:
    return nullptr;
  case Cursor::Hand:
    id = IDC_HAND;
    break;
  case Cursor::IBeam:
    id = IDC_IBEAM;
    break;
  case Cursor::Wait:
    id = IDC_WAIT;
    break;
  case Cursor::Cross:
    id = IDC_CROSS;
    break;
  case Cursor::SizeAll:
    id = IDC_SIZEALL;
    break;
  case Cursor::SizeWE:
    id = IDC_SIZEWE;
    break;
  case Cursor::SizeNS:
    id = IDC_SIZENS;
    break;
  default:
    break;
  }
  // The system's shared cursors: loaded once by the system, never freed.
  return ::LoadCursorW(nullptr, id);
}

void Win32Backend::CursorChanged(Cursor c, bool visible) {
  fCursor = c;
  fPointerVisible = visible;
  // The system asks again only when the pointer moves: a pointer over one of
  // our windows, or held by our capture, changes now.
  POINT p{};
  ::GetCursorPos(&p);
  if (fCaptureHwnd || IsOurs(::WindowFromPoint(p))) ::SetCursor(CursorHandle());
}

} // namespace kest::ui::win32
