#include "ui/toolkit/GraphicControl.h"

#include <stdexcept>

namespace kest::ui {

GraphicControl::GraphicControl(Component* owner) : Control(owner) {}

void GraphicControl::PaintTo(Canvas& canvas) {
  fCanvas = &canvas;
  struct Reset {
    Canvas*& c;
    ~Reset() { c = nullptr; }
  } reset{fCanvas};
  Paint();
}

Canvas& GraphicControl::GetCanvas() {
  if (!fCanvas) throw std::logic_error("A graphic control's canvas exists only while it paints");
  return *fCanvas;
}

} // namespace kest::ui
