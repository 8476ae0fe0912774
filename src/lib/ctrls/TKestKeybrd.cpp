#include "TKestKeybrd.h"

#include <vector>

namespace kest {

namespace {
// Key outlines in control coordinates, C up to B.
const std::vector<ui::Point> kKeys[12] = {
    {{2, 2}, {11, 2}, {11, 45}, {18, 45}, {18, 67}, {2, 67}},
    {{11, 2}, {25, 2}, {25, 45}, {11, 45}},
    {{25, 2}, {31, 2}, {31, 45}, {36, 45}, {36, 67}, {19, 67}, {19, 45}, {25, 45}},
    {{31, 2}, {44, 2}, {44, 45}, {31, 45}},
    {{44, 2}, {53, 2}, {53, 67}, {37, 67}, {37, 45}, {44, 45}},
    {{55, 2}, {63, 2}, {63, 45}, {71, 45}, {71, 67}, {55, 67}},
    {{63, 2}, {77, 2}, {77, 45}, {63, 45}},
    {{77, 2}, {83, 2}, {83, 45}, {89, 45}, {89, 67}, {72, 67}, {72, 45}, {77, 45}},
    {{83, 2}, {96, 2}, {96, 45}, {83, 45}},
    {{96, 2}, {102, 2}, {102, 45}, {106, 45}, {106, 67}, {90, 67}, {90, 45}, {96, 45}},
    {{102, 2}, {116, 2}, {116, 45}, {102, 45}},
    {{116, 2}, {123, 2}, {123, 67}, {108, 67}, {108, 45}, {116, 45}},
};
} // namespace

TKestKeybrd::TKestKeybrd(ui::Component* AOwner) : TKestControl(AOwner, kWidth, kHeight) {
  for (int i = 0; i < 12; ++i)
    fRgn[static_cast<std::size_t>(i)] = ui::Region::FromPolygon(kKeys[i]);
}

int TKestKeybrd::KeyAt(ui::Point P) const {
  for (int i = 0; i < 12; ++i) {
    if (fRgn[static_cast<std::size_t>(i)].Contains(P)) return i;
  }
  return -1;
}

void TKestKeybrd::UpdateScreenBmp() {
  CopyEditorBackground();
  if (fSelected >= 0)
    fScreenBmp.GetCanvas().FillRegion(fRgn[static_cast<std::size_t>(fSelected)],
                                      ui::Rgb(0, 255, 0));
}

void TKestKeybrd::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button)) {
    DoSelect();
    if (const int key = KeyAt({X, Y}); key >= 0) {
      fSelected = fValue = key;
      DoChange();
      Redraw();
    }
  }
  TKestControl::MouseDown(Button, Shift, X, Y);
}

void TKestKeybrd::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (fSelected >= 0) {
    fSelected = -1;
    Redraw();
  }
  TKestControl::MouseUp(Button, Shift, X, Y);
}

} // namespace kest
