#include "png_read.h"

#include <png.h>

#include <cstdio>

namespace {

// No objects with destructors here: libpng reports errors by longjmp.
bool decode(FILE* f, PngPicture* out, std::vector<png_bytep>* rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, f);
  png_read_info(png, info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, type = 0, interlace = 0;
  png_get_IHDR(png, info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
  out->width = static_cast<int>(w);
  out->height = static_cast<int>(h);
  out->bit_depth = depth;
  out->colour_type = type;
  out->interlace = interlace;
  // Whatever is stored, hand the pixels over as 8-bit RGBA.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out->rgba.resize(static_cast<size_t>(w) * h * 4);
  rows->resize(h);
  for (png_uint_32 y = 0; y < h; ++y) (*rows)[y] = out->rgba.data() + static_cast<size_t>(y) * w * 4;
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool read_png(const std::string& path, PngPicture& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<png_bytep> rows;
  const bool ok = decode(f, &out, &rows);
  std::fclose(f);
  return ok;
}
