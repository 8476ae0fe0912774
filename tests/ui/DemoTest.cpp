// A small panel built the way the editor will be: a double-buffered form
// embedded in a host window, windowless controls, a timer and an edit,
// driven by injected input. Leaves a screenshot in the build folder.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "ui/gfx/Png.h"
#include "ui/gfx/Utf.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Edit.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/GraphicControl.h"
#include "ui/toolkit/Timer.h"

namespace kest::ui {
namespace {

constexpr Color kPanel = Rgb(38, 44, 52);
constexpr Color kLit = Rgb(90, 220, 120);

class DemoSwitch : public GraphicControl {
public:
  explicit DemoSwitch(Component* owner) : GraphicControl(owner) { fControlStyle |= csOpaque; }
  bool on = false;

protected:
  bool CanResize(int& w, int& h) override { return w == 24 && h == 23; }
  void MouseDown(MouseButton b, ShiftState s, int x, int y) override {
    if (b == MouseButton::Left) {
      on = !on;
      Invalidate();
    }
    GraphicControl::MouseDown(b, s, x, y);
  }
  void Paint() override {
    Canvas& c = GetCanvas();
    c.FillRect(ClientRect(), kPanel);
    c.brush = {on ? kLit : Rgb(70, 78, 90), false};
    c.pen.color = Rgb(140, 150, 160);
    c.Rectangle({3, 4, 21, 19});
  }
};

class DemoSlider : public GraphicControl {
public:
  explicit DemoSlider(Component* owner) : GraphicControl(owner) { fControlStyle |= csOpaque; }
  int position = 0; // 0..88

protected:
  void MouseDown(MouseButton b, ShiftState s, int x, int y) override {
    if (b == MouseButton::Left && x >= position + 3 && x < position + 29) {
      fDrag = x - position;
      App().SetCursor(Cursor::None);
    }
    GraphicControl::MouseDown(b, s, x, y);
  }
  void MouseMove(ShiftState s, int x, int y) override {
    if (fDrag >= 0) {
      position = std::clamp(x - fDrag, 0, 88);
      Invalidate();
    }
    GraphicControl::MouseMove(s, x, y);
  }
  void MouseUp(MouseButton b, ShiftState s, int x, int y) override {
    if (fDrag >= 0) {
      fDrag = -1;
      App().SetCursor(Cursor::Default);
    }
    GraphicControl::MouseUp(b, s, x, y);
  }
  void Paint() override {
    Canvas& c = GetCanvas();
    c.FillRect(ClientRect(), kPanel);
    c.pen.color = Rgb(120, 130, 140);
    c.MoveTo(8, 13);
    c.LineTo(119, 13);
    // A round-ish translucent handle blended with per-pixel alpha.
    Bitmap head(26, 17, PixelFormat::Bits32);
    for (int y = 0; y < 17; ++y) {
      for (int x = 0; x < 26; ++x) {
        const int a = (x == 0 || x == 25 || y == 0 || y == 16) ? 120 : 230;
        head.SetPixel(x, y, MakePixel(220 * a >> 8, 180 * a >> 8, 60 * a >> 8, a));
      }
    }
    c.AlphaBlend(Rect::FromSize(position + 3, 5, 26, 17), head, {0, 0, 26, 17}, {255, true});
  }

private:
  int fDrag = -1;
};

class DemoKeyboard : public GraphicControl {
public:
  explicit DemoKeyboard(Component* owner) : GraphicControl(owner) {
    fControlStyle |= csOpaque;
    for (const auto& k : test::KeyboardPolygons())
      fKeys.push_back(Region::FromPolygon(k));
  }
  int selected = -1;
  int value = 0;

protected:
  void MouseDown(MouseButton b, ShiftState s, int x, int y) override {
    for (int i = 0; i < 12 && b == MouseButton::Left; ++i) {
      if (fKeys[static_cast<std::size_t>(i)].Contains(x, y)) {
        selected = value = i;
        Invalidate();
        break;
      }
    }
    GraphicControl::MouseDown(b, s, x, y);
  }
  void MouseUp(MouseButton b, ShiftState s, int x, int y) override {
    if (selected >= 0) {
      selected = -1;
      Invalidate();
    }
    GraphicControl::MouseUp(b, s, x, y);
  }
  void Paint() override {
    Canvas& c = GetCanvas();
    c.FillRect(ClientRect(), Rgb(20, 20, 24));
    for (int i = 0; i < 12; ++i) {
      const bool black = i == 1 || i == 3 || i == 6 || i == 8 || i == 10;
      c.FillRegion(fKeys[static_cast<std::size_t>(i)],
                   black ? Rgb(40, 40, 44) : Rgb(230, 230, 226));
    }
    if (selected >= 0) c.FillRegion(fKeys[static_cast<std::size_t>(selected)], Rgb(0, 255, 0));
  }

private:
  std::vector<Region> fKeys;
};

class DemoLabel : public GraphicControl {
public:
  explicit DemoLabel(Component* owner) : GraphicControl(owner) {}
  std::u16string text;

protected:
  void Paint() override {
    Canvas& c = GetCanvas();
    c.FillRect(ClientRect(), kPanel);
    c.font.name = "Tahoma";
    c.font.height = -9;
    c.font.SetBold(true);
    c.font.color = Rgb(200, 200, 200);
    c.textBackground = TextBackground::Transparent;
    Rect r = ClientRect();
    c.TextRect(r, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
};

TEST(Demo, PanelDrivenByInjectedInputLooksRight) {
  if (!test::PinTestFonts()) GTEST_SKIP() << "DejaVu fonts are not installed";
  headless::HeadlessScreen screen(
      {{{{0, 0, 480, 320}, {0, 0, 480, 300}}}, {}, 1000, Rgb(58, 110, 165)});
  App().Reset();

  WindowDesc hostDesc; // stands in for the host's window
  hostDesc.bounds = {40, 40, 440, 290};
  hostDesc.visible = true;
  hostDesc.background = Rgb(0, 0, 0);
  const WindowHandle host = CreateWnd(hostDesc);

  auto* form = new Form(nullptr);
  form->SetParentWindow(host);
  form->SetBounds(10, 10, 380, 230);
  form->SetColor(kPanel);
  form->SetDoubleBuffered(true);
  form->SetKeyPreview(true);

  auto* sw = new DemoSwitch(form);
  sw->SetParent(form);
  sw->SetBounds(20, 20, 24, 23);
  auto* sw2 = new DemoSwitch(form);
  sw2->SetParent(form);
  sw2->SetBounds(44, 20, 24, 23);
  auto* slider = new DemoSlider(form);
  slider->SetParent(form);
  slider->SetBounds(90, 18, 127, 27);
  auto* keys = new DemoKeyboard(form);
  keys->SetParent(form);
  keys->SetBounds(20, 60, 126, 69);
  auto* label = new DemoLabel(form);
  label->SetParent(form);
  label->SetBounds(170, 70, 180, 20);
  auto* edit = new Edit(form);
  edit->SetParent(form);
  edit->SetBounds(170, 110, 120, 18);
  edit->GetFont() = Font{"Tahoma", -11, kFontWeightBold, Rgb(77, 84, 93)};
  edit->SetColor(Rgb(216, 226, 225));
  edit->SetBorder(false);
  int ticks = 0;
  auto* timer = new Timer(form);
  timer->SetInterval(25);
  timer->SetEnabled(false);
  timer->SetOnTimer([&](Component*) {
    label->text = u"ticks " + Utf8ToUtf16(std::to_string(++ticks));
    label->Invalidate();
  });
  form->Show();
  screen.Pump();

  const Point origin = form->ClientToScreen({0, 0});
  auto at = [&](int x, int y) { return Point{origin.x + x, origin.y + y}; };

  screen.Click(at(30, 30)); // first switch on
  screen.Advance(600);
  screen.MoveTo(at(90 + 10, 30)); // grab the slider handle
  screen.Press();
  screen.MoveTo(at(90 + 40, 31));
  screen.MoveTo(at(90 + 400, 31)); // far outside: the slider keeps the mouse
  screen.Pump();
  EXPECT_FALSE(PointerVisible());
  screen.MoveTo(at(90 + 50, 31));
  screen.Release();
  screen.Pump();
  EXPECT_TRUE(PointerVisible());
  timer->SetEnabled(true);
  screen.RunFor(100);
  timer->SetEnabled(false);

  screen.Click(at(175, 115)); // into the edit
  screen.Type(u"Kestrel");
  screen.Advance(600);
  screen.MoveTo(at(20 + 50, 60 + 60)); // key E of the keyboard
  screen.Press();
  screen.Pump();

  EXPECT_TRUE(sw->on);
  EXPECT_FALSE(sw2->on);
  EXPECT_EQ(slider->position, 40);
  EXPECT_EQ(keys->value, 4);
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(edit->Text(), u"Kestrel");
  EXPECT_EQ(label->text, u"ticks 4");

  const Bitmap shot = screen.Screenshot();
  SavePng(shot, test::OutputPath("demo_panel.png"));
  EXPECT_EQ(shot.ColorAt(at(30, 30).x, at(30, 30).y), kLit); // lit switch
  EXPECT_EQ(shot.ColorAt(at(20 + 50, 60 + 60).x, at(20 + 50, 60 + 60).y),
            Rgb(0, 255, 0));                        // held key
  EXPECT_EQ(shot.ColorAt(5, 5), Rgb(58, 110, 165)); // desktop
  EXPECT_EQ(shot.ColorAt(45, 45), Rgb(0, 0, 0));    // host window
  screen.Release();
  screen.Pump();
  EXPECT_EQ(keys->selected, -1);
  delete form;
  DestroyWnd(host);
}

} // namespace
} // namespace kest::ui
