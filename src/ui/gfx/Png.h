#pragma once
// PNG decoding into 8-bit colour and alpha rows, and encoding of bitmaps
// (screenshots, test pictures).
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "Bitmap.h"

namespace kest::ui {

class EPngError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct DecodedPng {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;           // the picture carries transparency
  std::vector<std::uint8_t> rgb;   // width * height * 3, row after row
  std::vector<std::uint8_t> alpha; // width * height when hasAlpha, else empty
};

// Raises EPngError with the decoder's reason when the bytes are no PNG.
DecodedPng DecodePng(std::span<const std::uint8_t> bytes);

// 24-bit bitmaps are written as RGB, 32-bit ones as RGBA with the colour
// un-premultiplied.
std::vector<std::uint8_t> EncodePng(const Bitmap& bmp);
std::vector<std::uint8_t> EncodePngRgba(int width, int height, std::span<const std::uint8_t> rgba,
                                        bool withAlpha);
void SavePng(const Bitmap& bmp, const std::string& path);

} // namespace kest::ui
