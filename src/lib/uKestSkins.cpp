#include "uKestSkins.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "uKestUtils.h"
#include "ui/gfx/Png.h"

namespace kest {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 0x50, 0x4E, 0x47,
                                                       0x0D, 0x0A, 0x1A, 0x0A};

constexpr std::array<std::uint8_t, 256> MakeKey() {
  std::array<std::uint8_t, 256> key{};
  std::uint32_t x = 0x4B455354u; // "KEST"
  for (auto& b : key) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<std::uint8_t>(x >> 11);
  }
  return key;
}

constexpr std::array<std::uint8_t, 256> kSkinKey = MakeKey();

std::unique_ptr<ui::Bitmap> BitmapFromPng(const ui::DecodedPng& png) {
  auto bmp = std::make_unique<ui::Bitmap>(
      png.width, png.height, png.hasAlpha ? ui::PixelFormat::Bits32 : ui::PixelFormat::Bits24);
  for (int y = 0; y < png.height; ++y) {
    ui::Pixel* row = bmp->Row(y);
    for (int x = 0; x < png.width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * png.width + x;
      int r = png.rgb[i * 3], g = png.rgb[i * 3 + 1], b = png.rgb[i * 3 + 2];
      int a = 255;
      if (png.hasAlpha) {
        // Premultiplied as the blend expects it; the division is by 256.
        a = png.alpha[i];
        r = (r * a) >> 8;
        g = (g * a) >> 8;
        b = (b * a) >> 8;
      }
      row[x] = ui::MakePixel(r, g, b, a);
    }
  }
  return bmp;
}

struct SharedSkins {
  std::mutex mutex;
  std::array<std::unique_ptr<ui::Bitmap>, 14> bitmaps;
};

SharedSkins& Shared() {
  static SharedSkins skins;
  return skins;
}

} // namespace

ui::Bitmap* SkinEditor = nullptr;
ui::Bitmap* SkinAbout = nullptr;
ui::Bitmap* SkinSliderHead = nullptr;
ui::Bitmap* SkinStepOn = nullptr;
ui::Bitmap* SkinKnob = nullptr;
ui::Bitmap* SkinButton = nullptr;
ui::Bitmap* SkinBtnTop = nullptr;
ui::Bitmap* SkinOctDn = nullptr;
ui::Bitmap* SkinSpinDigits = nullptr;
ui::Bitmap* SkinStepLedOn = nullptr;
ui::Bitmap* SkinLedOn = nullptr;
ui::Bitmap* SkinPresetBoxBtn = nullptr;
ui::Bitmap* SkinVUMeter = nullptr;
ui::Bitmap* SkinClose = nullptr;

namespace {
// In the order of SharedSkinNames.
std::array<ui::Bitmap**, 14> Globals() {
  return {&SkinEditor, &SkinAbout,        &SkinSliderHead, &SkinStepOn,     &SkinKnob,
          &SkinButton, &SkinBtnTop,       &SkinOctDn,      &SkinSpinDigits, &SkinStepLedOn,
          &SkinLedOn,  &SkinPresetBoxBtn, &SkinVUMeter,    &SkinClose};
}
} // namespace

const std::array<std::uint8_t, 256>& SkinKey() {
  return kSkinKey;
}

void UnscrambleSkin(TMemoryStream& stream) {
  auto& bytes = stream.Bytes();
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] ^= kSkinKey[i % 256];
}

bool HasPngSignature(const TMemoryStream& stream) {
  const auto& bytes = stream.Bytes();
  return bytes.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin());
}

std::unique_ptr<ui::Bitmap> LoadSkinBitmap(TMemoryStream& stream) {
  stream.Seek(0);
  if (!HasPngSignature(stream)) UnscrambleSkin(stream);
  stream.Seek(0);
  return BitmapFromPng(ui::DecodePng(stream.Bytes()));
}

std::unique_ptr<ui::Bitmap> LoadSkinBitmap(std::string_view resName) {
  auto stream = ResourceToStream(resName, "PNG");
  return LoadSkinBitmap(*stream);
}

void LoadSharedSkins(const SkinLoader& loader) {
  auto& shared = Shared();
  std::lock_guard lock(shared.mutex);
  if (shared.bitmaps[0]) return;
  std::array<std::unique_ptr<ui::Bitmap>, 14> loaded;
  for (std::size_t i = 0; i < SharedSkinNames.size(); ++i) {
    loaded[i] = loader ? loader(SharedSkinNames[i]) : LoadSkinBitmap(SharedSkinNames[i]);
    if (!loaded[i]) {
      throw EResourceError("The skin \"" + std::string(SharedSkinNames[i]) +
                           "\" could not be loaded");
    }
  }
  const auto globals = Globals();
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    shared.bitmaps[i] = std::move(loaded[i]);
    *globals[i] = shared.bitmaps[i].get();
  }
}

void FreeSharedSkins() {
  auto& shared = Shared();
  std::lock_guard lock(shared.mutex);
  for (ui::Bitmap** g : Globals())
    *g = nullptr;
  for (auto& b : shared.bitmaps)
    b.reset();
}

bool SharedSkinsLoaded() {
  auto& shared = Shared();
  std::lock_guard lock(shared.mutex);
  return shared.bitmaps[0] != nullptr;
}

} // namespace kest
