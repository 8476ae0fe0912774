// A form inside a foreign (host) window: embedding, following the host's
// window, the picture against the headless one, and the ways a host ends it.
#include <filesystem>

#include "XServer.h"
#include "ui/gfx/Png.h"
#include "ui/headless/HeadlessBackend.h"
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

class Swatch : public GraphicControl {
public:
  Swatch(Component* owner, Color c, std::u16string label)
      : GraphicControl(owner), fColor(c), fLabel(std::move(label)) {}

protected:
  void Paint() override {
    Canvas& c = GetCanvas();
    c.FillRect(ClientRect(), fColor);
    c.brush.color = Rgb(255, 255, 255);
    c.FrameRect(ClientRect());
    c.textBackground = TextBackground::Transparent;
    c.font.color = Rgb(255, 255, 255);
    Rect r = ClientRect();
    c.TextRect(r, fLabel, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }

private:
  Color fColor;
  std::u16string fLabel;
};

// The same state on any backend: a double-buffered form with painted
// controls and an edit holding text.
Form* BuildScene(WindowHandle parent) {
  auto* form = new Form(nullptr);
  form->SetParentWindow(parent);
  form->SetBounds(0, 0, 320, 200);
  form->SetColor(Rgb(28, 36, 48));
  form->SetDoubleBuffered(true);
  const Color colors[] = {Rgb(200, 60, 40), Rgb(40, 160, 90), Rgb(50, 90, 200)};
  const char16_t* labels[] = {u"Comb", u"Step", u"Note"};
  for (int i = 0; i < 3; ++i) {
    auto* s = new Swatch(form, colors[i], labels[i]);
    s->SetParent(form);
    s->SetBounds(16 + i * 100, 16, 88, 56);
  }
  auto* edit = new Edit(form);
  edit->SetParent(form);
  edit->SetBounds(16, 100, 200, 24);
  edit->SetText(u"Kestrelphon 1.0");
  form->Show();
  return form;
}

bool NothingToPaint(WindowHandle h) {
  if (!GetUpdateRect(h).IsEmpty()) return false;
  for (WindowHandle c : GetChildren(h))
    if (!NothingToPaint(c)) return false;
  return true;
}

using Embed = X11Test;

TEST_F(Embed, FormLivesInsideTheHostWindowAndFollowsIt) {
  const Window hw = host->CreateWindow(50, 60, 400, 300);
  const WindowHandle standIn = x11::WrapForeignWindow(hw);
  ASSERT_NE(standIn, 0u);
  EXPECT_EQ(GetWindowScreenRect(standIn), Rect::FromSize(50, 60, 400, 300));
  Form* form = BuildScene(standIn);
  const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
  ASSERT_NE(ours, 0u);
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));
  EXPECT_EQ(host->Children(hw), std::vector<Window>{ours});
  const Geometry a = host->Attributes(ours);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.width, 400);
  EXPECT_EQ(a.height, 300);
  // Only the toolkit's top-level window is native: the form and its edit are not.
  EXPECT_EQ(x11::NativeWindowId(form->Handle()), 0u);

  // The host resizes and moves its window.
  XMoveResizeWindow(host->Dpy(), hw, 70, 90, 500, 350);
  host->Sync();
  ASSERT_TRUE(
      PumpUntil([&] { return GetWindowScreenRect(standIn) == Rect::FromSize(70, 90, 500, 350); }));
  ASSERT_TRUE(PumpUntil([&] {
    const Geometry b = host->Attributes(ours);
    return b.width == 500 && b.height == 350 && b.x == 0 && b.y == 0;
  }));
  // Screen coordinates of the form's controls follow.
  EXPECT_EQ(form->ClientToScreen({0, 0}), (Point{70, 90}));

  delete form;
  DestroyWnd(standIn);
  EXPECT_TRUE(PumpUntil([&] { return host->Children(hw).empty(); }));
  EXPECT_TRUE(GetTopLevelWindows().empty());
}

TEST_F(Embed, PictureOnTheScreenIsTheHeadlessPicture) {
  Bitmap expected;
  {
    headless::HeadlessScreen screen;
    App().Reset();
    WindowDesc d;
    d.bounds = Rect::FromSize(0, 0, 320, 200);
    d.visible = true;
    d.background = Rgb(0, 0, 0);
    const WindowHandle standIn = CreateWnd(d);
    Form* form = BuildScene(standIn);
    screen.Pump();
    expected = screen.Screenshot(form->Handle());
    delete form;
  }
  ASSERT_TRUE(x11::Install(Display().c_str()));
  App().Reset();
  const Window hw = host->CreateWindow(100, 100, 320, 200);
  const WindowHandle standIn = x11::WrapForeignWindow(hw);
  Form* form = BuildScene(standIn);
  const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours) && NothingToPaint(standIn); }));
  // The server has drawn what we sent once a round trip through it is done.
  x11::Idle();
  const Bitmap shot = host->Capture(100, 100, 320, 200);

  ASSERT_EQ(shot.Width(), expected.Width());
  ASSERT_EQ(shot.Height(), expected.Height());
  int differing = 0;
  Bitmap diff(shot.Width(), shot.Height());
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      const bool same = PixelToColor(shot.PixelAt(x, y)) == PixelToColor(expected.PixelAt(x, y));
      diff.SetPixel(x, y, same ? MakePixel(0, 0, 0) : MakePixel(255, 0, 255));
      differing += same ? 0 : 1;
    }
  std::filesystem::create_directories(KEST_X11_SHOTS);
  SavePng(shot, std::string(KEST_X11_SHOTS) + "/embedded_x11.png");
  SavePng(expected, std::string(KEST_X11_SHOTS) + "/embedded_headless.png");
  SavePng(diff, std::string(KEST_X11_SHOTS) + "/embedded_diff.png");
  EXPECT_EQ(differing, 0) << "see " << KEST_X11_SHOTS;
  // Not a blank picture that would match anything blank.
  EXPECT_EQ(PixelToColor(shot.PixelAt(40, 40)), Rgb(200, 60, 40));
  delete form;
}

TEST_F(Embed, OpeningAndClosingManyTimesLeavesNothingBehind) {
  const Window hw = host->CreateWindow(10, 10, 330, 210);
  for (int i = 0; i < 40; ++i) {
    const WindowHandle standIn = x11::WrapForeignWindow(hw);
    ASSERT_NE(standIn, 0u);
    Form* form = BuildScene(standIn);
    x11::Idle();
    delete form;
    DestroyWnd(standIn);
    x11::Idle();
  }
  EXPECT_TRUE(PumpUntil([&] { return host->Children(hw).empty(); }));
  EXPECT_TRUE(GetTopLevelWindows().empty());
  // The host's window is untouched and still works for the next editor.
  EXPECT_TRUE(host->Viewable(hw));
  const WindowHandle again = x11::WrapForeignWindow(hw);
  Form* form = BuildScene(again);
  const auto ours = static_cast<Window>(x11::NativeWindowId(again));
  EXPECT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));
  delete form;
}

TEST_F(Embed, HostWindowDestroyedBeforeTheEditorCloses) {
  const Window hw = host->CreateWindow(10, 10, 330, 210);
  const WindowHandle standIn = x11::WrapForeignWindow(hw);
  Form* form = BuildScene(standIn);
  const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));

  XDestroyWindow(host->Dpy(), hw);
  host->Sync();
  ASSERT_TRUE(PumpUntil([&] { return x11::NativeWindowId(standIn) == 0; }));
  // The editor still paints (into nothing) and runs its timers, then closes.
  form->Invalidate();
  int ticks = 0;
  form->OnPaint = [&](Component*) { ++ticks; };
  EXPECT_TRUE(PumpUntil([&] { return ticks > 0 && NothingToPaint(standIn); }));
  delete form;
  DestroyWnd(standIn);
  x11::Idle();
  EXPECT_TRUE(GetTopLevelWindows().empty());

  // A new host window works as before.
  const Window hw2 = host->CreateWindow(20, 20, 330, 210);
  const WindowHandle standIn2 = x11::WrapForeignWindow(hw2);
  ASSERT_NE(standIn2, 0u);
  Form* form2 = BuildScene(standIn2);
  const auto ours2 = static_cast<Window>(x11::NativeWindowId(standIn2));
  EXPECT_TRUE(PumpUntil([&] { return host->Viewable(ours2); }));
  delete form2;
}

TEST_F(Embed, ALateWordAboutAnEarlierWindowOfTheSameIdChangesNothing) {
  const Window hw = host->CreateWindow(10, 10, 330, 210);
  const WindowHandle standIn = x11::WrapForeignWindow(hw);
  Form* form = BuildScene(standIn);
  const auto ours = static_cast<Window>(x11::NativeWindowId(standIn));
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(ours); }));
  // As a host that reconnected gets the id of its earlier window back, and
  // the end of that earlier window reaches us only now.
  XEvent e{};
  e.xdestroywindow.type = DestroyNotify;
  e.xdestroywindow.event = hw;
  e.xdestroywindow.window = hw;
  XSendEvent(host->Dpy(), hw, False, StructureNotifyMask, &e);
  host->Sync();
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(x11::NativeWindowId(standIn), ours) << "still drawing into the host's window";
  delete form;
  DestroyWnd(standIn);
}

TEST_F(Embed, NoWindowNoStandIn) {
  EXPECT_EQ(x11::WrapForeignWindow(0), 0u);
  const Window hw = host->CreateWindow(0, 0, 10, 10);
  XDestroyWindow(host->Dpy(), hw);
  host->Sync();
  EXPECT_EQ(x11::WrapForeignWindow(hw), 0u);
  EXPECT_TRUE(GetTopLevelWindows().empty());
}

} // namespace
} // namespace kest::x11test
