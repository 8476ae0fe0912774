#include "Bitmap.h"

#include <stdexcept>
#include <string>

#include "Canvas.h"

namespace kest::ui {

namespace {
int CheckedSide(int v) {
  if (v < 0) return 0;
  if (v > Bitmap::kMaxSide) {
    throw std::invalid_argument("Bitmap side " + std::to_string(v) + " exceeds " +
                                std::to_string(Bitmap::kMaxSide) + " pixels");
  }
  return v;
}
} // namespace

Bitmap::Bitmap() : fCanvas(std::make_unique<Canvas>(*this)) {}

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : fFormat(format), fCanvas(std::make_unique<Canvas>(*this)) {
  SetSize(width, height);
}

Bitmap::Bitmap(const Bitmap& other)
    : fWidth(other.fWidth), fHeight(other.fHeight), fFormat(other.fFormat), fPixels(other.fPixels),
      fCanvas(std::make_unique<Canvas>(*this)) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) {
    fWidth = other.fWidth;
    fHeight = other.fHeight;
    fFormat = other.fFormat;
    fPixels = other.fPixels;
  }
  return *this;
}

Bitmap::~Bitmap() = default;

void Bitmap::SetSize(int width, int height) {
  width = CheckedSide(width);
  height = CheckedSide(height);
  if (width == fWidth && height == fHeight) return;
  std::vector<Pixel> pixels(static_cast<std::size_t>(width) * height, MakePixel(0, 0, 0, 0));
  const int w = std::min(width, fWidth);
  const int h = std::min(height, fHeight);
  for (int y = 0; y < h; ++y) {
    std::copy_n(Row(y), w, pixels.data() + static_cast<std::size_t>(y) * width);
  }
  fPixels.swap(pixels);
  fWidth = width;
  fHeight = height;
}

Pixel Bitmap::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return 0;
  return Row(y)[x];
}

void Bitmap::SetPixel(int x, int y, Pixel p) {
  if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return;
  Row(y)[x] = p;
}

Canvas& Bitmap::GetCanvas() {
  return *fCanvas;
}

} // namespace kest::ui
