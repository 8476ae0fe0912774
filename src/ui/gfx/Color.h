#pragma once
// Colours are 0x00BBGGRR values (red in the low byte), as the rest of the
// code base writes them; pixels in bitmaps are 0xAARRGGBB words.
#include <cstdint>

namespace kest::ui {

using Color = std::uint32_t;
using Pixel = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int RedOf(Color c) {
  return static_cast<int>(c & 255);
}
constexpr int GreenOf(Color c) {
  return static_cast<int>((c >> 8) & 255);
}
constexpr int BlueOf(Color c) {
  return static_cast<int>((c >> 16) & 255);
}

constexpr Pixel MakePixel(int r, int g, int b, int a = 255) {
  return (static_cast<Pixel>(a & 255) << 24) | (static_cast<Pixel>(r & 255) << 16) |
         (static_cast<Pixel>(g & 255) << 8) | static_cast<Pixel>(b & 255);
}
constexpr int PixelA(Pixel p) {
  return static_cast<int>(p >> 24);
}
constexpr int PixelR(Pixel p) {
  return static_cast<int>((p >> 16) & 255);
}
constexpr int PixelG(Pixel p) {
  return static_cast<int>((p >> 8) & 255);
}
constexpr int PixelB(Pixel p) {
  return static_cast<int>(p & 255);
}
constexpr Pixel ColorToPixel(Color c) {
  return MakePixel(RedOf(c), GreenOf(c), BlueOf(c));
}
constexpr Color PixelToColor(Pixel p) {
  return Rgb(PixelR(p), PixelG(p), PixelB(p));
}

} // namespace kest::ui
