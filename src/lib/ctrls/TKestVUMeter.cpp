#include "TKestVUMeter.h"

#include <algorithm>
#include <cmath>

#include "uKestSkins.h"
#include "uKestUtils.h"

namespace kest {

TKestVUMeter::TKestVUMeter(ui::Component* AOwner) : GraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | ui::csOpaque);
  SetBounds(0, 0, kWidth, kHeight);
}

bool TKestVUMeter::CanResize(int& NewWidth, int& NewHeight) {
  NewWidth = kWidth;
  NewHeight = kHeight;
  return true;
}

void TKestVUMeter::SetRange(int Value) {
  // A range is a span of decibels below full scale; none or a negative one
  // would turn the bars upside down (and the level clamp inside out).
  if (Value <= 0) return;
  fRange = Value;
  fRkoeff = static_cast<double>(Height() - 2) / Value;
}

void TKestVUMeter::Resize() {
  GraphicControl::Resize();
  fScBitmap.SetSize(Width(), Height());
  SetRange(fRange);
  CopyBackground();
}

void TKestVUMeter::BoundsChanged(const ui::Rect& Old) {
  GraphicControl::BoundsChanged(Old);
  CopyBackground();
}

void TKestVUMeter::CopyBackground() {
  if (!SkinEditor) return;
  ui::CanvasLock lock(SkinEditor->GetCanvas());
  fScBitmap.GetCanvas().BitBlt(0, 0, Width(), Height(), *SkinEditor, Left(), Top());
}

void TKestVUMeter::Display(float vLeft, float vRight) {
  fValue = {vLeft, vRight};
  const auto range = static_cast<float>(fRange);
  for (float& v : fValue)
    v = std::clamp(v, -range, 0.0f);
  CopyBackground();
  DrawChannel(0);
  DrawChannel(1);
  Invalidate(); // its own rectangle: the rest of the face has not changed
}

void TKestVUMeter::DrawChannel(int i) {
  const auto ch = static_cast<std::size_t>(i);
  ui::Canvas& c = fScBitmap.GetCanvas();
  const double v = fValue[ch] * fRkoeff;
  const int y = std::clamp(RoundEven(-v), 0, kBarRows);
  if (SkinVUMeter) c.BitBlt(1 + 6 * i, y + 1, 5, kBarRows - y, *SkinVUMeter, 0, y);

  float& peak = fPeakValue[ch];
  int& counter = fPassedCounter[ch];
  if (v >= std::trunc(peak)) {
    peak = static_cast<float>(v + 0.01);
    counter = 0;
    return;
  }
  if (std::trunc(peak) > -kBarRows) {
    const int row = std::clamp(RoundEven(-peak), 0, kBarRows);
    if (row < kBarRows) {
      c.pen.color = fPeakColor;
      c.MoveTo(1 + 6 * i, row);
      c.LineTo(6 + 6 * i, row);
    }
  }
  if (counter >= kPeakHold) peak -= static_cast<float>((counter - kPeakHold) * 0.3);
  if (peak < -kBarRows)
    peak = -kBarRows;
  else
    ++counter;
}

void TKestVUMeter::Paint() {
  GetCanvas().BitBlt(0, 0, Width(), Height(), fScBitmap, 0, 0);
}

} // namespace kest
