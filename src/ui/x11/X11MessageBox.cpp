// Message boxes as windows of the toolkit itself: a transient, always-on-top
// top-level window with the text, an icon badge and the buttons the flags
// ask for, run by the caller's nested loop.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros
#include <algorithm>

#include "ui/gfx/Canvas.h"
#include "ui/gfx/Utf.h"

namespace kest::ui::x11 {

namespace {

constexpr int kCaption = 24;
constexpr int kMargin = 16;
constexpr int kBadge = 32;
constexpr int kButtonW = 84;
constexpr int kButtonH = 26;
constexpr Color kFace = Rgb(240, 240, 240);
constexpr Color kTitle = Rgb(45, 62, 80);

struct Button {
  std::u16string label;
  int id = IDOK;
  Rect r;
};

class X11MessageBox final : public ModalSession {
public:
  explicit X11MessageBox(const MessageBoxRequest& req) : fRequest(req) {
    switch (req.flags & 0xF) {
    case MB_OKCANCEL:
      fButtons = {{u"OK", IDOK, {}}, {u"Cancel", IDCANCEL, {}}};
      fEscape = IDCANCEL;
      break;
    case MB_YESNO:
      fButtons = {{u"Yes", IDYES, {}}, {u"No", IDNO, {}}};
      fEscape = 0; // a question must be answered
      break;
    default:
      fButtons = {{u"OK", IDOK, {}}};
      fEscape = IDOK;
      break;
    }
    Layout();
    fWnd = CreateWnd(Desc());
    SetActiveWnd(fWnd);
    SetFocusWnd(fWnd);
  }
  ~X11MessageBox() override {
    if (IsWindow(fWnd)) DestroyWnd(fWnd);
  }
  X11MessageBox(const X11MessageBox&) = delete;
  X11MessageBox& operator=(const X11MessageBox&) = delete;

  bool Done() override { return fDone; }
  int Result() override { return fResult; }
  void Idle() override {
    if (!fDone) WaitMsg(kInfinite);
  }

private:
  void Finish(int id) {
    fResult = id;
    fDone = true;
    if (IsWindow(fWnd)) ShowWnd(fWnd, false);
  }

  std::vector<std::u16string> Lines() const {
    std::vector<std::u16string> lines{u""};
    for (char16_t c : fRequest.text) {
      if (c == u'\n')
        lines.emplace_back();
      else if (c != u'\r')
        lines.back().push_back(c);
    }
    return lines;
  }

  void Layout() {
    Bitmap scratch(1, 1);
    Canvas c(scratch);
    c.font = Font{};
    int textW = 0;
    const auto lines = Lines();
    const int lineH = c.GetTextMetrics().height;
    for (const auto& l : lines)
      textW = std::max(textW, c.TextExtent(l).cx);
    textW = std::min(textW, 560);
    fTextH = std::max(kBadge, lineH * static_cast<int>(lines.size()));
    const int buttonsW = static_cast<int>(fButtons.size()) * (kButtonW + 8) - 8;
    fWidth = std::max({kMargin * 3 + kBadge + textW, buttonsW + 2 * kMargin, 240});
    fHeight = kCaption + kMargin + fTextH + kMargin + kButtonH + 12;
    int x = (fWidth - buttonsW) / 2;
    for (Button& b : fButtons) {
      b.r = Rect::FromSize(x, fHeight - 12 - kButtonH, kButtonW, kButtonH);
      x += kButtonW + 8;
    }
  }

  WindowDesc Desc() {
    WindowDesc d;
    const WindowHandle owner = fRequest.owner ? GetRootWindow(fRequest.owner) : 0;
    const Rect over = owner ? GetWindowScreenRect(owner) : GetMonitors().front().workArea;
    const Rect work = MonitorFromRect(over).workArea;
    int x = over.left + (over.Width() - fWidth) / 2;
    int y = over.top + (over.Height() - fHeight) / 2;
    x = std::clamp(x, work.left, std::max(work.left, work.right - fWidth));
    y = std::clamp(y, work.top, std::max(work.top, work.bottom - fHeight));
    d.bounds = Rect::FromSize(x, y, fWidth, fHeight);
    d.owner = owner;
    d.topmost = true;
    d.visible = true;
    d.caption = fRequest.caption;
    d.proc = [this](WindowHandle h, std::uint32_t m, WParam w, LParam l) {
      return Proc(h, m, w, l);
    };
    return d;
  }

  int ButtonAt(Point p) const {
    for (std::size_t i = 0; i < fButtons.size(); ++i)
      if (fButtons[i].r.Contains(p)) return static_cast<int>(i);
    return -1;
  }

  LResult Proc(WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
    switch (msg) {
    case WM_PAINT: {
      PaintStruct ps = BeginPaint(h);
      Paint(*ps.canvas);
      EndPaint(h, ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      const Point p = PointFromLParam(l);
      if (p.y < kCaption) {
        SendMsg(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION);
        return 0;
      }
      fPressed = ButtonAt(p);
      if (fPressed >= 0) {
        fFocus = fPressed;
        SetCaptureWnd(h);
        InvalidateWnd(h);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      const int pressed = fPressed;
      fPressed = -1;
      if (GetCaptureWnd() == h) ReleaseCaptureWnd();
      InvalidateWnd(h);
      if (pressed >= 0 && ButtonAt(PointFromLParam(l)) == pressed)
        Finish(fButtons[static_cast<std::size_t>(pressed)].id);
      return 0;
    }
    case WM_KEYDOWN:
      switch (w) {
      case VK_RETURN:
      case VK_SPACE:
        Finish(fButtons[static_cast<std::size_t>(fFocus)].id);
        break;
      case VK_ESCAPE:
        if (fEscape) Finish(fEscape);
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_TAB: {
        const int n = static_cast<int>(fButtons.size());
        fFocus = (fFocus + (w == VK_LEFT ? n - 1 : 1)) % n;
        InvalidateWnd(h);
        break;
      }
      default:
        break;
      }
      return 0;
    case WM_CLOSE:
      if (fEscape) Finish(fEscape);
      return 0;
    case WM_DESTROY:
      // Taken along with its owner: the question goes unanswered.
      if (!fDone) Finish(fEscape ? fEscape : IDCANCEL);
      return 0;
    default:
      return DefaultWindowProc(h, msg, w, l);
    }
  }

  void Paint(Canvas& c) {
    const Rect all{0, 0, fWidth, fHeight};
    c.FillRect(all, kFace);
    c.FillRect({0, 0, fWidth, kCaption}, kTitle);
    c.brush.color = Rgb(30, 40, 52);
    c.FrameRect(all);
    c.textBackground = TextBackground::Transparent;
    c.font = Font{};
    c.font.SetBold(true);
    c.font.color = Rgb(255, 255, 255);
    Rect cap{10, 0, fWidth - 10, kCaption};
    c.TextRect(cap, fRequest.caption, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    const unsigned icon = fRequest.flags & 0xF0;
    const Color badge = icon == MB_ICONERROR         ? Rgb(200, 50, 40)
                        : icon == MB_ICONEXCLAMATION ? Rgb(230, 160, 20)
                        : icon == MB_ICONQUESTION    ? Rgb(40, 110, 200)
                                                     : Rgb(40, 140, 90);
    const char16_t* mark = icon == MB_ICONERROR         ? u"\u00D7"
                           : icon == MB_ICONEXCLAMATION ? u"!"
                           : icon == MB_ICONQUESTION    ? u"?"
                                                        : u"i";
    const Rect b = Rect::FromSize(kMargin, kCaption + kMargin, kBadge, kBadge);
    c.brush.color = badge;
    c.pen.color = badge;
    c.RoundRect(b, 12, 12);
    c.font.height = -18;
    Rect br = b;
    c.TextRect(br, std::u16string_view(mark), DT_SINGLELINE | DT_CENTER | DT_VCENTER);

    c.font = Font{};
    Rect text = Rect::FromSize(kMargin * 2 + kBadge, kCaption + kMargin,
                               fWidth - kMargin * 3 - kBadge, fTextH);
    c.TextRect(text, fRequest.text, DT_NOPREFIX);

    for (std::size_t i = 0; i < fButtons.size(); ++i) {
      const Button& bt = fButtons[i];
      const bool down = fPressed == static_cast<int>(i);
      c.FillRect(bt.r, down ? Rgb(200, 200, 200) : Rgb(225, 225, 225));
      c.brush.color = static_cast<int>(i) == fFocus ? Rgb(40, 110, 200) : Rgb(120, 120, 120);
      c.FrameRect(bt.r);
      Rect lr = bt.r.Offset(down ? 1 : 0, down ? 1 : 0);
      c.TextRect(lr, bt.label, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
  }

  MessageBoxRequest fRequest;
  std::vector<Button> fButtons;
  int fEscape = IDOK;
  int fWidth = 0;
  int fHeight = 0;
  int fTextH = 0;
  int fPressed = -1;
  int fFocus = 0;
  bool fDone = false;
  int fResult = IDCANCEL;
  WindowHandle fWnd = 0;
};

} // namespace

std::unique_ptr<ModalSession> X11Backend::BeginMessageBox(const MessageBoxRequest& request) {
  return std::make_unique<X11MessageBox>(request);
}

} // namespace kest::ui::x11
