// Skin loading: signature check, unscrambling, decoding, premultiplying,
// the shared skin set and its loading order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Resources.h"
#include "uKestSkins.h"
#include "uKestUtils.h"
#include "ui/gfx/Png.h"

namespace kest {
namespace {

TMemoryStream PngStream(int w, int h, const std::vector<std::uint8_t>& rgba, bool alpha) {
  const auto bytes = ui::EncodePngRgba(w, h, rgba, alpha);
  return TMemoryStream(bytes.data(), bytes.size());
}

// A noisy picture, so that its PNG is well over 256 bytes.
std::vector<std::uint8_t> Noise(int w, int h) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
  std::uint32_t x = 12345;
  for (auto& b : rgba) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 24);
  }
  return rgba;
}

TEST(SkinBitmap, OpaquePngStaysA24BitPictureWithItsColours) {
  TMemoryStream s = PngStream(2, 1, {10, 20, 30, 255, 255, 255, 255, 255}, false);
  const auto bmp = LoadSkinBitmap(s);
  EXPECT_EQ(bmp->Format(), ui::PixelFormat::Bits24);
  EXPECT_EQ(bmp->ColorAt(0, 0), ui::Rgb(10, 20, 30));
  EXPECT_EQ(bmp->ColorAt(1, 0), ui::Rgb(255, 255, 255));
}

TEST(SkinBitmap, TransparentPngIsPremultipliedDividingBy256) {
  TMemoryStream s = PngStream(3, 1, {255, 255, 255, 255, 200, 100, 50, 128, 90, 90, 90, 0}, true);
  const auto bmp = LoadSkinBitmap(s);
  EXPECT_EQ(bmp->Format(), ui::PixelFormat::Bits32);
  EXPECT_EQ(bmp->PixelAt(0, 0), ui::MakePixel(254, 254, 254, 255));
  EXPECT_EQ(bmp->PixelAt(1, 0), ui::MakePixel(100, 50, 25, 128));
  EXPECT_EQ(bmp->PixelAt(2, 0), ui::MakePixel(0, 0, 0, 0));
}

TEST(SkinBitmap, ScrambledResourcesAreUnscrambledFromTheFirstByte) {
  const auto rgba = Noise(24, 24);
  TMemoryStream plain = PngStream(24, 24, rgba, true);
  ASSERT_GT(plain.Size(), 600u); // the key index must wrap more than once
  const std::vector<std::uint8_t> original = plain.Bytes();
  TMemoryStream scrambled(original.data(), original.size());
  UnscrambleSkin(scrambled); // XOR is its own inverse: this scrambles
  EXPECT_FALSE(HasPngSignature(scrambled));
  EXPECT_EQ(scrambled.Bytes()[300], original[300] ^ SkinKey()[300 % 256]);

  const auto fromPlain = LoadSkinBitmap(plain);
  EXPECT_EQ(plain.Bytes(), original); // a signed resource is used unchanged
  const auto fromScrambled = LoadSkinBitmap(scrambled);
  ASSERT_EQ(fromScrambled->Width(), 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x)
      ASSERT_EQ(fromScrambled->PixelAt(x, y), fromPlain->PixelAt(x, y));
  }
}

TEST(SkinBitmap, BadDataAndMissingResourcesRaiseClearErrors) {
  const std::uint8_t junk[] = {1, 2, 3};
  TMemoryStream s(junk, sizeof junk);
  EXPECT_THROW(LoadSkinBitmap(s), ui::EPngError);
  TMemoryStream empty;
  EXPECT_THROW(LoadSkinBitmap(empty), ui::EPngError);
  try {
    LoadSkinBitmap("KEST_NO_SUCH_SKIN");
    FAIL() << "no error";
  } catch (const EResourceError& e) {
    EXPECT_NE(std::string(e.what()).find("KEST_NO_SUCH_SKIN"), std::string::npos);
  }
}

TEST(SharedSkins, LoadInOrderOnceAndAllOrNothing) {
  FreeSharedSkins();
  std::vector<std::string> order;
  auto fake = [&](std::string_view name) {
    order.emplace_back(name);
    return std::make_unique<ui::Bitmap>(static_cast<int>(order.size()), 1);
  };
  // A failure half way frees what was loaded and reaches the caller.
  EXPECT_THROW(LoadSharedSkins([&](std::string_view name) -> std::unique_ptr<ui::Bitmap> {
                 if (name == "KEST_KNOB") throw EResourceError("missing KEST_KNOB");
                 return fake(name);
               }),
               EResourceError);
  EXPECT_FALSE(SharedSkinsLoaded());
  EXPECT_EQ(SkinEditor, nullptr);

  order.clear();
  LoadSharedSkins(fake);
  ASSERT_EQ(order.size(), 14u);
  for (std::size_t i = 0; i < 14; ++i)
    EXPECT_EQ(order[i], SharedSkinNames[i]);
  EXPECT_EQ(SkinEditor->Width(), 1);
  EXPECT_EQ(SkinKnob->Width(), 5);
  EXPECT_EQ(SkinClose->Width(), 14);
  LoadSharedSkins(fake); // already there: nothing happens
  EXPECT_EQ(order.size(), 14u);
  FreeSharedSkins();
  EXPECT_EQ(SkinClose, nullptr);
}

TEST(SharedSkins, KnobFrameOfTheTopNote) {
  const ui::Rect r = KnobFrameRect(127);
  EXPECT_EQ(r.top, 2413);
  EXPECT_EQ(r.bottom - 1, 2431);
  EXPECT_EQ(KnobFrameRect(0), ui::Rect::FromSize(0, 0, 19, 19));
}

// Runs once the skin pictures are among the resources.
TEST(SharedSkins, ShippedSkinsHaveTheGeometryTheControlsExpect) {
  for (auto name : SharedSkinNames) {
    if (!FindResource(name, "PNG"))
      GTEST_SKIP() << "skin " << name << " is not among the resources yet";
  }
  FreeSharedSkins();
  KestCtrlsInitialization();
  EXPECT_EQ(SkinEditor->Width(), 494);
  EXPECT_EQ(SkinEditor->Height(), 383);
  EXPECT_EQ(SkinAbout->Width(), 328);
  EXPECT_EQ(SkinKnob->Height(), 2432);
  EXPECT_EQ(SkinSliderHead->Format(), ui::PixelFormat::Bits32);
  EXPECT_EQ(SkinVUMeter->Height(), 72);
  KestCtrlsFinalization();
  EXPECT_FALSE(SharedSkinsLoaded());
}

} // namespace
} // namespace kest
