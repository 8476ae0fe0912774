#pragma once
// Small plain controls the gallery builds its pages from.
#include <functional>
#include <string>

#include "ui/toolkit/GraphicControl.h"

namespace kest::gallery {

// A push button drawn with plain shapes.
class PlainButton : public ui::GraphicControl {
public:
  PlainButton(ui::Component* owner, std::u16string caption);
  void SetCaption(std::u16string c);

protected:
  void Paint() override;
  void MouseDown(ui::MouseButton b, ui::ShiftState s, int x, int y) override;
  void MouseUp(ui::MouseButton b, ui::ShiftState s, int x, int y) override;

private:
  std::u16string fCaption;
  bool fDown = false;
};

// One or more lines of text.
class Label : public ui::GraphicControl {
public:
  Label(ui::Component* owner, std::u16string text);
  void SetText(std::u16string t);
  const std::u16string& Text() const { return fText; }

protected:
  void Paint() override;

private:
  std::u16string fText;
};

// A bar that a timer moves (shows that timers tick and repaints reach the screen).
class Bar : public ui::GraphicControl {
public:
  explicit Bar(ui::Component* owner);
  void SetLevel(double v);

protected:
  void Paint() override;

private:
  double fLevel = 0;
};

// A field that shows where the mouse is and which button pressed last.
class MousePad : public ui::GraphicControl {
public:
  explicit MousePad(ui::Component* owner);

protected:
  void Paint() override;
  void MouseDown(ui::MouseButton b, ui::ShiftState s, int x, int y) override;
  void MouseMove(ui::ShiftState s, int x, int y) override;

private:
  ui::Point fAt{-1, -1};
  std::u16string fLast = u"press any button";
};

ui::Form* BuildToolkitPanel(ui::Form* main);
ui::Form* BuildSkinnedPanel(ui::Form* main); // null when the controls are not built

} // namespace kest::gallery
