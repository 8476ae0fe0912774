#include "Widgets.h"

#include <algorithm>
#include <string>

#include "ui/gfx/Utf.h"

namespace kest::gallery {

using namespace kest::ui;

PlainButton::PlainButton(Component* owner, std::u16string caption)
    : GraphicControl(owner), fCaption(std::move(caption)) {
  SetCursor(Cursor::Hand);
}

void PlainButton::SetCaption(std::u16string c) {
  fCaption = std::move(c);
  Invalidate();
}

void PlainButton::Paint() {
  Canvas& c = GetCanvas();
  const Rect r = ClientRect();
  c.FillRect(r, fDown ? Rgb(70, 90, 120) : Rgb(90, 115, 150));
  c.brush.color = Rgb(200, 210, 230);
  c.FrameRect(r);
  c.textBackground = TextBackground::Transparent;
  c.font.color = Rgb(255, 255, 255);
  Rect t = r.Offset(fDown ? 1 : 0, fDown ? 1 : 0);
  c.TextRect(t, fCaption, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void PlainButton::MouseDown(MouseButton b, ShiftState s, int x, int y) {
  fDown = b == MouseButton::Left;
  Invalidate();
  GraphicControl::MouseDown(b, s, x, y);
}

void PlainButton::MouseUp(MouseButton b, ShiftState s, int x, int y) {
  fDown = false;
  Invalidate();
  GraphicControl::MouseUp(b, s, x, y);
}

Label::Label(Component* owner, std::u16string text)
    : GraphicControl(owner), fText(std::move(text)) {}

void Label::SetText(std::u16string t) {
  if (t == fText) return;
  fText = std::move(t);
  Invalidate();
}

void Label::Paint() {
  Canvas& c = GetCanvas();
  c.textBackground = TextBackground::Transparent;
  c.font.color = Rgb(220, 226, 235);
  Rect r = ClientRect();
  c.TextRect(r, fText, DT_NOPREFIX);
}

Bar::Bar(Component* owner) : GraphicControl(owner) {}

void Bar::SetLevel(double v) {
  fLevel = std::clamp(v, 0.0, 1.0);
  Invalidate();
}

void Bar::Paint() {
  Canvas& c = GetCanvas();
  const Rect r = ClientRect();
  c.FillRect(r, Rgb(20, 24, 30));
  const int w = static_cast<int>(fLevel * (r.Width() - 2));
  c.FillRect({1, 1, 1 + w, r.bottom - 1}, fLevel > 0.85 ? Rgb(220, 80, 60) : Rgb(70, 190, 110));
}

MousePad::MousePad(Component* owner) : GraphicControl(owner) {
  SetCursor(Cursor::Cross);
}

void MousePad::Paint() {
  Canvas& c = GetCanvas();
  const Rect r = ClientRect();
  c.FillRect(r, Rgb(36, 44, 58));
  c.brush.color = Rgb(110, 120, 140);
  c.FrameRect(r);
  if (fAt.x >= 0) {
    c.pen.color = Rgb(240, 200, 80);
    c.MoveTo(fAt.x, 0);
    c.LineTo(fAt.x, r.bottom);
    c.MoveTo(0, fAt.y);
    c.LineTo(r.right, fAt.y);
  }
  c.textBackground = TextBackground::Transparent;
  c.font.color = Rgb(220, 226, 235);
  Rect t = r.Offset(6, 4);
  c.TextRect(t, fLast, DT_SINGLELINE);
}

void MousePad::MouseDown(MouseButton b, ShiftState s, int x, int y) {
  const char* name = b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
  fLast = Utf8ToUtf16(std::string(name) + " at " + std::to_string(x) + ", " + std::to_string(y) +
                      ((s & ssDouble) ? " (double)" : ""));
  Invalidate();
  GraphicControl::MouseDown(b, s, x, y);
}

void MousePad::MouseMove(ShiftState s, int x, int y) {
  fAt = {x, y};
  Invalidate();
  GraphicControl::MouseMove(s, x, y);
}

} // namespace kest::gallery
