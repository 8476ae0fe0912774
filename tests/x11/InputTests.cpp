// Real input (xdotool through the X server) reaching controls, popup
// windows with the pointer grab of capture, and message boxes.
#include <filesystem>

#include "XServer.h"
#include "ui/gfx/Png.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Edit.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/GraphicControl.h"
#include "ui/x11/X11Backend.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"

namespace kest::x11test {
namespace {

using namespace kest::ui;

struct Press {
  MouseButton button;
  int x, y;
};

class Probe : public GraphicControl {
public:
  explicit Probe(Component* owner) : GraphicControl(owner) {}
  std::vector<Press> presses;

protected:
  void MouseDown(MouseButton b, ShiftState, int x, int y) override { presses.push_back({b, x, y}); }
  void Paint() override { GetCanvas().FillRect(ClientRect(), Rgb(90, 90, 200)); }
};

std::string Num(int v) {
  return std::to_string(v);
}

Window KeyboardFocus(::Display* d) {
  Window w = 0;
  int revert = 0;
  XGetInputFocus(d, &w, &revert);
  return w;
}

using Input = X11Test;

TEST_F(Input, PressesAndTypingReachTheControlsOfAnEmbeddedForm) {
  const Window hw = host->CreateWindow(40, 40, 400, 300);
  const WindowHandle standIn = x11::WrapForeignWindow(hw);
  auto* form = new Form(nullptr);
  form->SetParentWindow(standIn);
  form->SetBounds(10, 10, 360, 260);
  auto* probe = new Probe(form);
  probe->SetParent(form);
  probe->SetBounds(20, 20, 100, 50);
  auto* edit = new Edit(form);
  edit->SetParent(form);
  edit->SetBounds(20, 100, 200, 24);
  form->Show();
  const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));

  // Host window at 40, form at 10 in it, probe at 20 in the form.
  ASSERT_EQ(
      Xdotool({"mousemove", "--sync", Num(40 + 10 + 20 + 30), Num(40 + 10 + 20 + 7), "click", "1"}),
      0);
  ASSERT_TRUE(PumpUntil([&] { return probe->presses.size() == 1; }));
  EXPECT_EQ(probe->presses[0].button, MouseButton::Left);
  EXPECT_EQ(probe->presses[0].x, 30);
  EXPECT_EQ(probe->presses[0].y, 7);
  ASSERT_EQ(Xdotool({"click", "3"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return probe->presses.size() == 2; }));
  EXPECT_EQ(probe->presses[1].button, MouseButton::Right);
  // The keyboard stays with the host while no edit has the focus.
  EXPECT_NE(KeyboardFocus(host->Dpy()), ours);

  // Into the edit: it takes the keyboard from the host, and text arrives.
  ASSERT_EQ(Xdotool({"mousemove", "--sync", Num(40 + 10 + 20 + 100), Num(40 + 10 + 100 + 12),
                     "click", "1"}),
            0);
  ASSERT_TRUE(PumpUntil([&] { return edit->Focused() && KeyboardFocus(host->Dpy()) == ours; }));
  ASSERT_EQ(Xdotool({"type", "--delay", "1", "Hi there, 42!"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return edit->Text() == u"Hi there, 42!"; }))
      << "edit holds " << edit->Text().size() << " characters";
  ASSERT_EQ(Xdotool({"key", "BackSpace", "BackSpace", "Left", "Left", "Delete"}), 0);
  // Two back, two left, the space after the comma goes.
  EXPECT_TRUE(PumpUntil([&] { return edit->Text() == u"Hi there,4"; }))
      << "edit holds " << edit->Text().size() << " characters";

  // A press on a windowless control leaves the focus in the edit.
  ASSERT_EQ(
      Xdotool({"mousemove", "--sync", Num(40 + 10 + 20 + 5), Num(40 + 10 + 20 + 5), "click", "1"}),
      0);
  ASSERT_TRUE(PumpUntil([&] { return probe->presses.size() == 3; }));
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(KeyboardFocus(host->Dpy()), ours);
  // When the edit is done, the host gets its keyboard back.
  form->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return KeyboardFocus(host->Dpy()) == hw; }));
  delete form;
  DestroyWnd(standIn);
}

TEST_F(Input, PopupIsAnOverrideRedirectWindowAndCaptureGrabsThePointer) {
  std::vector<std::pair<std::uint32_t, Point>> got;
  WindowDesc d;
  d.bounds = Rect::FromSize(300, 200, 120, 80);
  d.topmost = true;
  d.noActivate = true;
  d.visible = true;
  d.background = Rgb(250, 250, 250);
  d.proc = [&](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONUP) got.push_back({m, PointFromLParam(l)});
    return DefaultWindowProc(h, m, w, l);
  };
  const WindowHandle popup = CreateWnd(d);
  const auto xid = static_cast<Window>(x11::NativeWindowId(popup));
  ASSERT_NE(xid, 0u);
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(xid); }));
  const Geometry a = host->Attributes(xid);
  EXPECT_TRUE(a.overrideRedirect);
  EXPECT_EQ(a.x, 300);
  EXPECT_EQ(a.y, 200);
  EXPECT_EQ(a.width, 120);
  EXPECT_EQ(a.height, 80);
  const auto tops = host->Children(DefaultRootWindow(host->Dpy()));
  EXPECT_NE(std::find(tops.begin(), tops.end(), xid), tops.end());

  // Capture: a press far outside the popup still comes to it.
  SetCaptureWnd(popup);
  x11::Idle();
  const Window root = DefaultRootWindow(host->Dpy());
  EXPECT_EQ(XGrabPointer(host->Dpy(), root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0,
                         0, CurrentTime),
            AlreadyGrabbed);
  ASSERT_EQ(Xdotool({"mousemove", "--sync", "20", "30", "click", "1"}), 0);
  ASSERT_TRUE(PumpUntil([&] { return got.size() >= 2; }));
  EXPECT_EQ(got[0].first, WM_LBUTTONDOWN);
  EXPECT_EQ(got[0].second, (Point{20 - 300, 30 - 200}));

  ReleaseCaptureWnd();
  x11::Idle();
  EXPECT_EQ(XGrabPointer(host->Dpy(), root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0,
                         0, CurrentTime),
            GrabSuccess);
  XUngrabPointer(host->Dpy(), CurrentTime);
  host->Sync();

  // Moving, hiding and closing it.
  SetWindowBounds(popup, Rect::FromSize(320, 210, 140, 90));
  EXPECT_TRUE(PumpUntil([&] {
    const Geometry b = host->Attributes(xid);
    return b.x == 320 && b.y == 210 && b.width == 140 && b.height == 90;
  }));
  ShowWnd(popup, false);
  EXPECT_TRUE(PumpUntil([&] { return !host->Viewable(xid); }));
  DestroyWnd(popup);
  EXPECT_TRUE(PumpUntil([&] {
    const auto now = host->Children(root);
    return std::find(now.begin(), now.end(), xid) == now.end();
  }));
}

// Answers a message box through the keyboard from a timer that runs inside
// the message box's own nested loop.
int AnswerMessageBox(Host& host, unsigned flags, const std::vector<std::string>& keys,
                     bool& checked) {
  WindowDesc d;
  d.bounds = Rect::FromSize(100, 100, 300, 200);
  d.visible = true;
  d.caption = u"Owner";
  d.background = Rgb(80, 80, 80);
  bool answered = false;
  int tries = 0;
  WindowHandle owner = 0;
  d.proc = [&](WindowHandle h, std::uint32_t m, WParam w, LParam l) -> LResult {
    if (m != WM_TIMER || answered) return DefaultWindowProc(h, m, w, l);
    WindowHandle box = 0;
    for (WindowHandle t : GetTopLevelWindows())
      if (t != owner && IsWindowVisible(t)) box = t;
    const auto xid = static_cast<Window>(x11::NativeWindowId(box));
    if (++tries > 400) {
      answered = true; // give up rather than hang
      if (box) PostMsg(box, WM_CLOSE);
      return 0;
    }
    if (!xid || !host.Viewable(xid) || KeyboardFocus(host.Dpy()) != xid) return 0;
    answered = true;
    // Transient for its owner and kept above.
    Window transientFor = 0;
    XGetTransientForHint(host.Dpy(), xid, &transientFor);
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(host.Dpy(), xid, XInternAtom(host.Dpy(), "_NET_WM_STATE", False), 0, 16,
                       False, XA_ATOM, &type, &format, &n, &after, &data);
    const Atom above = XInternAtom(host.Dpy(), "_NET_WM_STATE_ABOVE", False);
    bool isAbove = false;
    for (unsigned long i = 0; data && i < n; ++i)
      isAbove = isAbove || reinterpret_cast<Atom*>(data)[i] == above;
    if (data) XFree(data);
    checked = transientFor == x11::NativeWindowId(owner) && isAbove;
    // For people to look at.
    const Rect r = GetWindowScreenRect(box);
    std::filesystem::create_directories(KEST_X11_SHOTS);
    SavePng(host.Capture(r.left, r.top, r.Width(), r.Height()),
            std::string(KEST_X11_SHOTS) + "/message_box_" + std::to_string(flags) + ".png");
    std::vector<std::string> args{"key"};
    args.insert(args.end(), keys.begin(), keys.end());
    Xdotool(args);
    return 0;
  };
  owner = CreateWnd(d);
  SetTimer(owner, 1, 10);
  const int answer = ShowMessageBox(
      owner, u"Keep the changes to the preset?\nThey are lost otherwise.", u"Kestrelphon", flags);
  DestroyWnd(owner); // its timer handler refers to this frame
  return answer;
}

TEST_F(Input, MessageBoxIsATransientWindowAnsweredByKeys) {
  bool checked = false;
  EXPECT_EQ(AnswerMessageBox(*host, MB_OKCANCEL | MB_ICONQUESTION, {"Return"}, checked), IDOK);
  EXPECT_TRUE(checked);
  checked = false;
  EXPECT_EQ(AnswerMessageBox(*host, MB_OKCANCEL, {"Escape"}, checked), IDCANCEL);
  EXPECT_TRUE(checked);
  checked = false;
  EXPECT_EQ(AnswerMessageBox(*host, MB_YESNO, {"Right", "Return"}, checked), IDNO);
  EXPECT_TRUE(checked);
}

} // namespace
} // namespace kest::x11test
