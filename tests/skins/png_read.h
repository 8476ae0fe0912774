// Reads a PNG into 8-bit RGBA rows and reports its header as stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngPicture {
  int width = 0;
  int height = 0;
  int bit_depth = 0;
  int colour_type = -1;
  int interlace = -1;
  std::vector<uint8_t> rgba;  // width * height * 4

  const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// False when the file is missing or not a readable PNG.
bool read_png(const std::string& path, PngPicture& out);
