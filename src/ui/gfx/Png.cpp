#include "Png.h"

#include <png.h>

#include <fstream>

namespace kest::ui {

DecodedPng DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    const std::string why = image.message;
    png_image_free(&image);
    throw EPngError("PNG decoding failed: " + why);
  }
  DecodedPng out;
  out.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = out.hasAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  if (image.width > static_cast<png_uint_32>(Bitmap::kMaxSide) ||
      image.height > static_cast<png_uint_32>(Bitmap::kMaxSide)) {
    png_image_free(&image);
    throw EPngError("PNG picture too large");
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
    const std::string why = image.message;
    png_image_free(&image);
    throw EPngError("PNG decoding failed: " + why);
  }
  const std::size_t count = static_cast<std::size_t>(out.width) * out.height;
  if (!out.hasAlpha) {
    out.rgb = std::move(buffer);
    return out;
  }
  out.rgb.resize(count * 3);
  out.alpha.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    out.rgb[i * 3 + 0] = buffer[i * 4 + 0];
    out.rgb[i * 3 + 1] = buffer[i * 4 + 1];
    out.rgb[i * 3 + 2] = buffer[i * 4 + 2];
    out.alpha[i] = buffer[i * 4 + 3];
  }
  return out;
}

std::vector<std::uint8_t> EncodePngRgba(int width, int height, std::span<const std::uint8_t> rgba,
                                        bool withAlpha) {
  if (width <= 0 || height <= 0 || rgba.size() < static_cast<std::size_t>(width) * height * 4) {
    throw EPngError("PNG encoding needs a non-empty picture");
  }
  std::vector<std::uint8_t> pixels;
  const std::uint8_t* src = rgba.data();
  if (!withAlpha) {
    pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
      pixels[i * 3] = rgba[i * 4];
      pixels[i * 3 + 1] = rgba[i * 4 + 1];
      pixels[i * 3 + 2] = rgba[i * 4 + 2];
    }
    src = pixels.data();
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, src, 0, nullptr)) {
    throw EPngError(std::string("PNG encoding failed: ") + image.message);
  }
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, src, 0, nullptr)) {
    throw EPngError(std::string("PNG encoding failed: ") + image.message);
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> EncodePng(const Bitmap& bmp) {
  const bool alpha = bmp.Format() == PixelFormat::Bits32;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(bmp.Width()) * bmp.Height() * 4);
  std::size_t i = 0;
  for (int y = 0; y < bmp.Height(); ++y) {
    const Pixel* row = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x, i += 4) {
      const Pixel p = row[x];
      const int a = PixelA(p);
      auto unmul = [&](int c) {
        return alpha ? (a == 0 ? 0 : std::min(255, (c * 255 + a / 2) / a)) : c;
      };
      rgba[i] = static_cast<std::uint8_t>(unmul(PixelR(p)));
      rgba[i + 1] = static_cast<std::uint8_t>(unmul(PixelG(p)));
      rgba[i + 2] = static_cast<std::uint8_t>(unmul(PixelB(p)));
      rgba[i + 3] = static_cast<std::uint8_t>(alpha ? a : 255);
    }
  }
  return EncodePngRgba(bmp.Width(), bmp.Height(), rgba, alpha);
}

void SavePng(const Bitmap& bmp, const std::string& path) {
  const auto bytes = EncodePng(bmp);
  std::ofstream f(path, std::ios::binary);
  if (!f) throw EPngError("Cannot write " + path);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw EPngError("Cannot write " + path);
}

} // namespace kest::ui
