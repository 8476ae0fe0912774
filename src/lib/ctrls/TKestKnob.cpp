#include "TKestKnob.h"

#include <algorithm>

#include "uKestSkins.h"
#include "uKestUtils.h"
#include "ui/gfx/Utf.h"

namespace kest {

TKestKnob::TKestKnob(ui::Component* AOwner) : TKestStepCtrl(AOwner, kWidth, kHeight) {
  fMaxValue = 127;
  UpdateScreenBmp();
}

void TKestKnob::SetValue(float Value) {
  const int n = RoundEven(Value);
  if (n == fIndex) return;
  // The note range is fixed, whatever MinValue and MaxValue say.
  fIndex = std::clamp(n, 0, 127);
  Redraw();
}

void TKestKnob::UpdateScreenBmp() {
  ui::Canvas& c = fScreenBmp.GetCanvas();
  c.font = ui::Font{"Tahoma", -9, ui::kFontWeightBold, ui::Rgb(200, 200, 200)};
  const std::u16string name = ui::Utf8ToUtf16(NoteName(fIndex));
  ui::CanvasLock lock(c);
  c.BitBlt(0, 0, Width(), Height(), fBgBmp, 0, 0);
  if (SkinKnob) {
    ui::CanvasLock skinLock(SkinKnob->GetCanvas());
    const ui::Rect frame = KnobFrameRect(fIndex);
    c.BitBlt(3, 3, frame.Width(), frame.Height(), *SkinKnob, frame.left, frame.top);
  }
  c.textBackground = ui::TextBackground::Transparent;
  ui::Rect r{0, 24, 24, 33};
  c.TextRect(r, name, ui::DT_CENTER | ui::DT_VCENTER | ui::DT_SINGLELINE);
}

void TKestKnob::MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (LeftPressCounts(Button)) {
    fDragPos = Y + fIndex;
    fDragged = true;
    HidePointerForDrag();
    DoSelect();
  }
  TKestStepCtrl::MouseDown(Button, Shift, X, Y);
}

void TKestKnob::MouseMove(ui::ShiftState Shift, int X, int Y) {
  if (fDragged) {
    const int before = fIndex;
    SetValue(static_cast<float>(fDragPos - Y));
    if (fIndex != before) DoChange();
  }
  TKestStepCtrl::MouseMove(Shift, X, Y);
}

void TKestKnob::MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) {
  if (fDragged) {
    fDragged = false;
    RestorePointerAfterDrag();
    fDragPos = 0;
  }
  TKestStepCtrl::MouseUp(Button, Shift, X, Y);
}

} // namespace kest
