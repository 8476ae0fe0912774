#pragma once
// An off-screen picture: 24-bit (colour only) or 32-bit with premultiplied
// alpha, the form the alpha blend expects for per-pixel transparency.
#include <memory>
#include <vector>

#include "Color.h"
#include "Geometry.h"

namespace kest::ui {

class Canvas;

enum class PixelFormat { Bits24, Bits32 };

class Bitmap {
public:
  // Largest side accepted; larger requests are refused with an error.
  static constexpr int kMaxSide = 16384;

  Bitmap();
  Bitmap(int width, int height, PixelFormat format = PixelFormat::Bits24);
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  ~Bitmap();

  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  bool Empty() const { return fWidth == 0 || fHeight == 0; }
  PixelFormat Format() const { return fFormat; }
  // Changing the format keeps every pixel word as it is.
  void SetFormat(PixelFormat format) { fFormat = format; }
  // Negative sides count as 0. The overlapping top-left part is kept, new
  // pixels are black.
  void SetSize(int width, int height);

  Pixel* Row(int y) { return fPixels.data() + static_cast<std::size_t>(y) * fWidth; }
  const Pixel* Row(int y) const { return fPixels.data() + static_cast<std::size_t>(y) * fWidth; }
  // Reads outside the picture answer 0; writes outside are ignored.
  Pixel PixelAt(int x, int y) const;
  void SetPixel(int x, int y, Pixel p);
  Color ColorAt(int x, int y) const { return PixelToColor(PixelAt(x, y)); }

  // The drawing surface of this bitmap; it carries the bitmap's lock.
  Canvas& GetCanvas();

private:
  int fWidth = 0;
  int fHeight = 0;
  PixelFormat fFormat = PixelFormat::Bits24;
  std::vector<Pixel> fPixels;
  std::unique_ptr<Canvas> fCanvas;
};

} // namespace kest::ui
