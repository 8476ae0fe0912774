#include "pngio.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace skingen {
namespace {

// Cairo keeps colour premultiplied; PNG wants it straight.
uint8_t unpremultiply(uint32_t c, uint32_t a) { return a == 0 ? 0 : static_cast<uint8_t>((c * 255 + a / 2) / a); }

std::vector<uint8_t> pack_rows(cairo_surface_t* s, bool alpha) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s);
  const int h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const bool has_alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int channels = alpha ? 4 : 3;
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * channels);
  size_t o = 0;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = row[x];
      const uint32_t a = has_alpha ? p >> 24 : 255;
      out[o++] = unpremultiply((p >> 16) & 255, a);
      out[o++] = unpremultiply((p >> 8) & 255, a);
      out[o++] = unpremultiply(p & 255, a);
      if (alpha) out[o++] = static_cast<uint8_t>(a);
    }
  }
  return out;
}

// Kept free of objects with destructors: libpng reports errors by longjmp.
bool encode(FILE* f, const uint8_t* pixels, int w, int h, bool alpha) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const size_t row_bytes = static_cast<size_t>(w) * (alpha ? 4 : 3);
  for (int y = 0; y < h; ++y) png_write_row(png, pixels + row_bytes * y);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool write_png(const std::string& path, cairo_surface_t* surface, bool alpha) {
  const std::vector<uint8_t> pixels = pack_rows(surface, alpha);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
    return false;
  }
  const bool ok = encode(f, pixels.data(), cairo_image_surface_get_width(surface),
                         cairo_image_surface_get_height(surface), alpha);
  const bool closed = std::fclose(f) == 0;
  if (!ok || !closed) std::fprintf(stderr, "skingen: PNG encoding failed for %s\n", path.c_str());
  return ok && closed;
}

}  // namespace skingen
