#pragma once
// A stereo level meter: two bars over a range of decibels, with peak marks
// that hold for a while and then fall ever faster.
#include <array>

#include "ui/gfx/Bitmap.h"
#include "ui/toolkit/GraphicControl.h"

namespace kest {

class TKestVUMeter : public ui::GraphicControl {
public:
  static constexpr int kWidth = 13;
  static constexpr int kHeight = 74;
  static constexpr int kBarRows = 72;
  // Updates a new peak mark stays put before it starts to fall.
  static constexpr int kPeakHold = 8;

  explicit TKestVUMeter(ui::Component* AOwner);

  // Levels in decibels, 0 = full scale.
  void Display(float vLeft, float vRight);
  int Range() const { return fRange; }
  // 0 and negative ranges are ignored.
  void SetRange(int Value);
  float PeakValue(int Channel) const { return fPeakValue[static_cast<std::size_t>(Channel)]; }
  const ui::Bitmap& ScBitmap() const { return fScBitmap; }
  ui::Color PeakColor() const { return fPeakColor; }

protected:
  void Paint() override;
  void Resize() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  // Moved, it shows the face under its new place until the next levels.
  void BoundsChanged(const ui::Rect& Old) override;

private:
  void CopyBackground();
  void DrawChannel(int i);

  int fRange = 60;
  double fRkoeff = 0;
  std::array<float, 2> fValue{0, 0};
  std::array<float, 2> fPeakValue{-200, -200};
  std::array<int, 2> fPassedCounter{0, 0};
  ui::Bitmap fScBitmap{0, 0, ui::PixelFormat::Bits32};
  ui::Color fPeakColor = ui::Rgb(180, 192, 200);
};

} // namespace kest
