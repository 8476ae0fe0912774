#pragma once
// A windowless control: it draws on its parent's surface when the parent
// paints, and the parent hands it the mouse.
#include "ui/toolkit/Control.h"

namespace kest::ui {

class GraphicControl : public Control {
public:
  explicit GraphicControl(Component* owner);

  // Paints the control onto its parent's canvas, whose origin is already at
  // the control's top-left corner and whose clip is within its bounds.
  void PaintTo(Canvas& canvas);

protected:
  // The canvas of the paint in progress; outside Paint it raises an error.
  Canvas& GetCanvas();
  virtual void Paint() {}

private:
  Canvas* fCanvas = nullptr;
};

} // namespace kest::ui
