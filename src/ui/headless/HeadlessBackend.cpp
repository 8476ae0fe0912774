#include "ui/headless/HeadlessBackend.h"

#include <stdexcept>

#include "ui/gfx/Canvas.h"

namespace kest::ui {

std::unique_ptr<Backend> CreateDefaultBackend() {
  return std::make_unique<headless::HeadlessBackend>();
}

namespace headless {

namespace {

class HeadlessMessageBox : public ModalSession {
public:
  HeadlessMessageBox(HeadlessBackend& hb, MessageBoxRequest req)
      : fBackend(hb), fRequest(std::move(req)) {}
  bool Done() override { return fDone; }
  int Result() override { return fResult; }
  void Idle() override {
    fResult = fBackend.onMessageBox ? fBackend.onMessageBox(fRequest) : IDOK;
    fDone = true;
  }

private:
  HeadlessBackend& fBackend;
  MessageBoxRequest fRequest;
  bool fDone = false;
  int fResult = IDOK;
};

} // namespace

HeadlessBackend::HeadlessBackend(HeadlessConfig cfg)
    : config(std::move(cfg)), fNow(config.startTime) {}

void HeadlessBackend::Wait(std::uint32_t timeoutMs) {
  if (onWait && !fInWaitHook) {
    fInWaitHook = true;
    struct Reset {
      bool& b;
      ~Reset() { b = false; }
    } reset{fInWaitHook};
    if (onWait(timeoutMs)) return;
  }
  if (timeoutMs == kInfinite) {
    throw std::logic_error("Headless window system: waiting for a message with nothing queued, "
                           "no timer running and no time limit would never end");
  }
  fNow += timeoutMs;
}

std::optional<Rect> HeadlessBackend::AdoptHostWindow(std::uint64_t nativeId) {
  const auto it = hostWindows.find(nativeId);
  if (it == hostWindows.end()) return std::nullopt;
  return it->second;
}

void HeadlessBackend::CursorChanged(Cursor c, bool visible) {
  shownCursor = c;
  pointerShown = visible;
}

std::unique_ptr<ModalSession> HeadlessBackend::BeginMessageBox(const MessageBoxRequest& request) {
  messageBoxes.push_back(request);
  return std::make_unique<HeadlessMessageBox>(*this, request);
}

std::optional<std::u16string> HeadlessBackend::RunFileDialog(const FileDialogRequest& request) {
  fileDialogs.push_back(request);
  return onFileDialog ? onFileDialog(request) : std::nullopt;
}

bool HeadlessBackend::OpenLink(std::string_view url, WindowHandle) {
  openedLinks.emplace_back(url);
  return openLinkSucceeds;
}

HeadlessScreen::HeadlessScreen(HeadlessConfig config) {
  auto backend = std::make_unique<HeadlessBackend>(std::move(config));
  fBackend = backend.get();
  InstallBackend(std::move(backend));
}

HeadlessScreen::~HeadlessScreen() {
  InstallBackend(nullptr);
}

void HeadlessScreen::RunFor(std::uint32_t ms) {
  const std::uint32_t end = Now() + ms;
  Pump();
  while (static_cast<std::int32_t>(end - Now()) > 0) {
    if (WaitMsg(end - Now())) Pump();
  }
  Pump();
}

void HeadlessScreen::MoveTo(Point screen) {
  InputMouseMove(screen);
}
void HeadlessScreen::Press(MouseButton b) {
  InputMouseButton(b, true, GetCursorPos());
}
void HeadlessScreen::Release(MouseButton b) {
  InputMouseButton(b, false, GetCursorPos());
}

void HeadlessScreen::Click(Point screen, MouseButton b) {
  MoveTo(screen);
  Press(b);
  Release(b);
}

void HeadlessScreen::DoubleClick(Point screen) {
  Click(screen);
  Click(screen);
}

void HeadlessScreen::Wheel(int delta) {
  InputMouseWheel(delta, GetCursorPos());
}
void HeadlessScreen::KeyDown(std::uint16_t vk, char16_t ch) {
  InputKey(vk, true, ch);
}
void HeadlessScreen::KeyUp(std::uint16_t vk) {
  InputKey(vk, false);
}

void HeadlessScreen::Key(std::uint16_t vk, char16_t ch) {
  KeyDown(vk, ch);
  KeyUp(vk);
}

void HeadlessScreen::Char(char16_t ch) {
  InputChar(ch);
}

void HeadlessScreen::Type(std::u16string_view text) {
  for (char16_t c : text) {
    std::uint16_t vk = 0;
    if (c >= u'a' && c <= u'z')
      vk = static_cast<std::uint16_t>(c - u'a' + 'A');
    else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ')
      vk = c;
    if (vk)
      Key(vk, c);
    else
      Char(c);
  }
}

int HeadlessScreen::Pump() {
  int count = 0;
  Message m;
  while (PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
    if (++count > 100000) {
      throw std::logic_error(
          "Headless pump: messages keep coming (a window that never validates?)");
    }
    if (m.message == WM_QUIT) continue;
    TranslateMsg(m);
    DispatchMsg(m);
  }
  return count;
}

Bitmap HeadlessScreen::Screenshot() {
  Rect all;
  for (const Monitor& m : GetMonitors())
    all = all.Union(m.bounds);
  Bitmap shot(all.Width(), all.Height());
  Canvas c(shot);
  c.SetOrigin({-all.left, -all.top});
  c.FillRect(all, fBackend->config.desktop);
  const std::vector<WindowHandle> tops = GetTopLevelWindows();
  for (WindowHandle h : tops) {
    if (!IsWindowVisible(h)) continue;
    const Bitmap* surface = GetWindowSurface(h);
    if (!surface) continue;
    const Rect r = GetWindowScreenRect(h);
    const auto region = GetWindowRegion(h);
    const int opacity = GetWindowOpacity(h);
    for (int y = 0; y < surface->Height(); ++y) {
      for (int x = 0; x < surface->Width(); ++x) {
        if (region && !region->Contains(x, y)) continue;
        const Point sp{r.left + x - all.left, r.top + y - all.top};
        const Pixel top = surface->Row(y)[x];
        const Pixel under = shot.PixelAt(sp.x, sp.y);
        // Translucent windows mix with what lies below them.
        auto mix = [&](int a, int b) { return (a * opacity + b * (255 - opacity) + 127) / 255; };
        shot.SetPixel(sp.x, sp.y,
                      MakePixel(mix(PixelR(top), PixelR(under)), mix(PixelG(top), PixelG(under)),
                                mix(PixelB(top), PixelB(under))));
      }
    }
  }
  return shot;
}

Bitmap HeadlessScreen::Screenshot(WindowHandle h) {
  const Bitmap* surface = GetWindowSurface(GetRootWindow(h));
  if (!surface) throw std::invalid_argument("Screenshot: no such window");
  const Rect root = GetWindowScreenRect(GetRootWindow(h));
  const Rect r = GetWindowScreenRect(h).Offset(-root.left, -root.top);
  Bitmap shot(r.Width(), r.Height());
  shot.GetCanvas().BitBlt(0, 0, r.Width(), r.Height(), *surface, r.left, r.top);
  return shot;
}

} // namespace headless
} // namespace kest::ui
