// The toolkit: ownership, windowless controls with capture while a button
// is held, size checks, key preview, timers, painting, errors and closing.
#include <gtest/gtest.h>

#include <string>

#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Edit.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/GraphicControl.h"
#include "ui/toolkit/Timer.h"

namespace kest::ui {
namespace {

using headless::HeadlessScreen;

class Probe : public GraphicControl {
public:
  explicit Probe(Component* owner, Color fill = Rgb(200, 0, 0))
      : GraphicControl(owner), fFill(fill) {}
  std::vector<std::string> events;
  int paints = 0;

protected:
  void Paint() override {
    ++paints;
    GetCanvas().FillRect(ClientRect(), fFill);
  }
  void MouseDown(MouseButton, ShiftState s, int x, int y) override {
    events.push_back("down " + Pos(x, y) + ((s & ssDouble) ? " double" : ""));
  }
  void MouseMove(ShiftState, int x, int y) override { events.push_back("move " + Pos(x, y)); }
  void MouseUp(MouseButton, ShiftState, int x, int y) override {
    events.push_back("up " + Pos(x, y));
  }
  void Click() override { events.push_back("click"); }

private:
  static std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  Color fFill;
};

// A control that accepts one size only.
class FixedProbe : public Probe {
public:
  using Probe::Probe;

protected:
  bool CanResize(int& w, int& h) override { return w == 24 && h == 33; }
};

class Flag : public Component {
public:
  Flag(Component* owner, bool* gone) : Component(owner), fGone(gone) {}
  ~Flag() override { *fGone = true; }

private:
  bool* fGone;
};

class Toolkit : public ::testing::Test {
protected:
  HeadlessScreen screen;
  WindowHandle host = 0;
  Form* form = nullptr;
  void SetUp() override {
    App().Reset();
    WindowDesc d;
    d.bounds = {100, 100, 500, 400};
    d.visible = true;
    d.background = Rgb(0, 0, 0);
    host = CreateWnd(d);
    form = new Form(nullptr);
    form->SetParentWindow(host);
    form->SetBounds(0, 0, 300, 200);
    form->SetColor(Rgb(10, 20, 30));
    form->Show();
    screen.Pump();
  }
  void TearDown() override {
    delete form;
    App().Reset();
  }
};

TEST_F(Toolkit, OwnersFreeWhatTheyOwnAndInterestedComponentsHearOfIt) {
  bool gone = false;
  auto* owner = new Component(nullptr);
  auto* flag = new Flag(owner, &gone);
  flag->SetName("Flag");
  EXPECT_EQ(owner->FindComponent("Flag"), flag);
  EXPECT_THROW((new Component(owner))->SetName("Flag"), std::invalid_argument);

  Probe* watcher = new Probe(form);
  watcher->SetPopupMenu(flag);
  EXPECT_EQ(watcher->PopupMenu(), flag);
  delete owner;
  EXPECT_TRUE(gone);
  EXPECT_EQ(watcher->PopupMenu(), nullptr); // told that the menu went
}

TEST_F(Toolkit, APressedGraphicControlKeepsTheMouseUntilRelease) {
  auto* a = new Probe(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 20, 20);
  auto* b = new Probe(form);
  b->SetParent(form);
  b->SetBounds(40, 10, 20, 20);
  const Point origin = form->ClientToScreen({0, 0});
  EXPECT_EQ(origin, (Point{100, 100}));

  screen.MoveTo({115, 115});
  screen.Press();
  screen.MoveTo({145, 115}); // over b
  screen.MoveTo({450, 350}); // outside the form
  screen.Release();
  screen.Pump();
  EXPECT_EQ(a->events, (std::vector<std::string>{"move 5,5", "down 5,5", "move 35,5",
                                                 "move 340,240", "up 340,240"}));
  EXPECT_TRUE(b->events.empty());
  EXPECT_EQ(Control::CaptureControl(), nullptr);
  EXPECT_EQ(GetCaptureWnd(), 0u);

  // Released inside: a click. A second press soon after is a double click
  // (its release makes no second click).
  a->events.clear();
  screen.Advance(1000);
  screen.Click({115, 115});
  screen.Click({115, 115});
  screen.Pump();
  EXPECT_EQ(a->events, (std::vector<std::string>{"move 5,5", "down 5,5", "click", "up 5,5",
                                                 "move 5,5", "down 5,5 double", "up 5,5"}));
}

TEST_F(Toolkit, WithoutCaptureTheReleaseGoesWhereThePointerIs) {
  auto* a = new Probe(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 20, 20);
  a->SetControlStyle(csOpaque);
  screen.MoveTo({115, 115});
  screen.Press();
  screen.MoveTo({250, 250});
  screen.Release();
  screen.Pump();
  EXPECT_EQ(a->events, (std::vector<std::string>{"move 5,5", "down 5,5"}));
}

TEST_F(Toolkit, CancelModeEndsTheCaptureOfAPressedControl) {
  auto* a = new Probe(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 20, 20);
  screen.MoveTo({115, 115});
  screen.Press();
  screen.Pump();
  EXPECT_EQ(Control::CaptureControl(), a);
  SendMsg(form->Handle(), WM_CANCELMODE);
  EXPECT_EQ(Control::CaptureControl(), nullptr);
  EXPECT_EQ(GetCaptureWnd(), 0u);
  screen.MoveTo({300, 300});
  screen.Pump();
  EXPECT_EQ(a->events.back(), "down 5,5");
}

TEST_F(Toolkit, SizeCheckKeepsAFixedSizeWhileMoving) {
  auto* k = new FixedProbe(form);
  k->SetParent(form);
  k->SetBounds(0, 0, 24, 33);
  k->SetBounds(75, 93, 50, 50);
  EXPECT_EQ(k->BoundsRect(), Rect::FromSize(75, 93, 24, 33));
  k->SetWidth(10);
  EXPECT_EQ(k->Width(), 24);
}

TEST_F(Toolkit, KeyPreviewLetsTheFormSwallowKeysBeforeTheFocusedControl) {
  form->SetKeyPreview(true);
  std::vector<std::uint16_t> formKeys;
  form->OnKeyDown = [&](Component*, std::uint16_t& key, ShiftState) {
    formKeys.push_back(key);
    if (key == VK_ESCAPE) key = 0;
  };
  auto* edit = new Edit(form);
  edit->SetParent(form);
  std::vector<std::uint16_t> editKeys;
  edit->OnKeyDown = [&](Component*, std::uint16_t& key, ShiftState) { editKeys.push_back(key); };
  edit->SetFocus();
  EXPECT_TRUE(edit->Focused());
  screen.Key(VK_ESCAPE);
  screen.Key('Q', u'q');
  screen.Pump();
  EXPECT_EQ(formKeys, (std::vector<std::uint16_t>{VK_ESCAPE, 'Q'}));
  EXPECT_EQ(editKeys, (std::vector<std::uint16_t>{'Q'}));
  EXPECT_EQ(edit->Text(), u"q");
}

TEST_F(Toolkit, TimersFireOnTheFakeClockWhileEnabled) {
  int ticks = 0;
  auto* t = new Timer(form);
  t->SetInterval(25);
  t->SetOnTimer([&](Component*) { ++ticks; });
  screen.RunFor(100);
  EXPECT_EQ(ticks, 4);
  t->SetEnabled(false);
  screen.RunFor(100);
  EXPECT_EQ(ticks, 4);
  delete t;
  screen.RunFor(100);
  EXPECT_EQ(ticks, 4);
}

TEST_F(Toolkit, ChildrenPaintOverTheFormBackgroundInBothPaintModes) {
  for (bool buffered : {false, true}) {
    form->SetDoubleBuffered(buffered);
    auto* p = new Probe(form, Rgb(0, 200, 0));
    p->SetParent(form);
    p->SetBounds(50, 60, 10, 10);
    form->Invalidate();
    screen.Pump();
    const Bitmap shot = screen.Screenshot(form->Handle());
    EXPECT_EQ(shot.ColorAt(50, 60), Rgb(0, 200, 0));
    EXPECT_EQ(shot.ColorAt(59, 69), Rgb(0, 200, 0));
    EXPECT_EQ(shot.ColorAt(60, 60), Rgb(10, 20, 30));
    EXPECT_EQ(screen.Screenshot().ColorAt(150, 160), Rgb(0, 200, 0));
    delete p;
  }
}

TEST_F(Toolkit, OnlyTheInvalidPartIsRepainted) {
  auto* a = new Probe(form);
  a->SetParent(form);
  a->SetBounds(0, 0, 10, 10);
  auto* b = new Probe(form);
  b->SetParent(form);
  b->SetBounds(100, 100, 10, 10);
  screen.Pump();
  const int before = b->paints;
  a->Invalidate();
  screen.Pump();
  EXPECT_EQ(b->paints, before);
  EXPECT_GT(a->paints, 0);
}

TEST_F(Toolkit, ErrorsInHandlersGoToTheApplication) {
  std::string caught;
  App().OnException = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      caught = ex.what();
    }
  };
  form->OnMouseDown = [](Component*, MouseButton, ShiftState, int, int) {
    throw std::runtime_error("boom");
  };
  screen.Click({250, 250});
  screen.Pump();
  EXPECT_EQ(caught, "boom");

  App().OnException = nullptr; // the default shows the text in a message box
  screen.Click({250, 250});
  screen.Pump();
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_EQ(screen->messageBoxes[0].text, u"boom");
}

TEST_F(Toolkit, ClosingHidesOrFreesTheForm) {
  bool shown = false, hidden = false;
  auto* f = new Form(nullptr);
  f->OnShow = [&](Component*) { shown = true; };
  f->OnHide = [&](Component*) { hidden = true; };
  f->Show();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  f->Close();
  EXPECT_TRUE(hidden);
  EXPECT_FALSE(f->Visible());

  bool gone = false;
  new Flag(f, &gone);
  f->OnClose = [](Component*, CloseAction& a) { a = CloseAction::Free; };
  f->Close();
  EXPECT_FALSE(gone); // freed only when the queue gets to it
  screen.Pump();
  EXPECT_TRUE(gone);
}

TEST_F(Toolkit, ApplicationCursorOverridesControlCursors) {
  auto* a = new Probe(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 20, 20);
  a->SetCursor(Cursor::Hand);
  screen.MoveTo({115, 115});
  screen.Pump();
  EXPECT_EQ(GetCursorShape(), Cursor::Hand);
  screen.MoveTo({200, 200});
  screen.Pump();
  EXPECT_EQ(GetCursorShape(), Cursor::Arrow);
  App().SetCursor(Cursor::None);
  EXPECT_FALSE(PointerVisible());
  screen.MoveTo({115, 115});
  screen.Pump();
  EXPECT_EQ(GetCursorShape(), Cursor::None);
  App().SetCursor(Cursor::Default);
  EXPECT_TRUE(PointerVisible());

  // A cursor a control chooses while the pointer moves shows with that move.
  class LinkProbe : public Probe {
  public:
    using Probe::Probe;

  protected:
    void MouseMove(ShiftState, int x, int) override {
      SetCursor(x < 10 ? Cursor::Hand : Cursor::Default);
    }
  };
  auto* link = new LinkProbe(form);
  link->SetParent(form);
  link->SetBounds(50, 50, 20, 20);
  screen.MoveTo({155, 155});
  screen.Pump();
  EXPECT_EQ(GetCursorShape(), Cursor::Hand);
  screen.MoveTo({165, 155});
  screen.Pump();
  EXPECT_EQ(GetCursorShape(), Cursor::Arrow);
}

TEST_F(Toolkit, AChildFormShownBeforeItsParentHasAWindowGetsOneWindow) {
  auto* outer = new Form(nullptr);
  outer->SetBounds(50, 50, 200, 150);
  auto* inner = new Form(outer);
  inner->SetParent(outer);
  inner->SetBounds(10, 10, 100, 80);
  inner->Show(); // makes the parent's window, which makes the shown child's
  outer->Show();
  EXPECT_NO_THROW(screen.Pump()); // an orphan window would ask to be painted forever
  EXPECT_EQ(GetChildren(outer->Handle()), std::vector<WindowHandle>{inner->Handle()});
  delete outer;
}

} // namespace
} // namespace kest::ui

namespace kest::ui {
namespace {

TEST_F(Toolkit, PrintRequestsDrawTheControlIntoAnyCanvas) {
  auto* p = new Probe(form, Rgb(0, 0, 250));
  p->SetParent(form);
  p->SetBounds(5, 5, 10, 10);
  Bitmap snapshot(300, 200);
  SendMsg(form->Handle(), WM_PRINT, reinterpret_cast<WParam>(&snapshot.GetCanvas()),
          PRF_CLIENT | PRF_ERASEBKGND | PRF_CHECKVISIBLE);
  EXPECT_EQ(snapshot.ColorAt(6, 6), Rgb(0, 0, 250));
  EXPECT_EQ(snapshot.ColorAt(100, 100), Rgb(10, 20, 30));
  form->Hide();
  Bitmap hidden(300, 200);
  SendMsg(form->Handle(), WM_PRINT, reinterpret_cast<WParam>(&hidden.GetCanvas()), PRF_CLIENT | PRF_CHECKVISIBLE);
  EXPECT_EQ(hidden.ColorAt(6, 6), 0u);
}

} // namespace
} // namespace kest::ui
