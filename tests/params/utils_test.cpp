// Shared helpers: note names, decibels, module path, resources, text codecs.
#include <cmath>

#include <gtest/gtest.h>

#include "KestRandom.h"
#include "TextCodec.h"
#include "uKestUtils.h"

using namespace kest;

TEST(Utils, NoteNames) {
  EXPECT_EQ(NoteName(0), "C0");
  EXPECT_EQ(NoteName(11), "B0");
  EXPECT_EQ(NoteName(12), "C1");
  EXPECT_EQ(NoteName(60), "C5");
  EXPECT_EQ(NoteName(61), "C#5");
  EXPECT_EQ(NoteName(69), "A5");
  EXPECT_EQ(NoteName(127), "G10");
}

TEST(Utils, Decibels) {
  EXPECT_EQ(AmpToDb(1.0f), 0.0f);
  EXPECT_NEAR(AmpToDb(0.5f), -6.0206f, 1e-4);
  EXPECT_NEAR(AmpToDb(0.001f), -60.0f, 1e-3);
  EXPECT_TRUE(std::isfinite(AmpToDb(0.0f)));
  EXPECT_LT(AmpToDb(0.0f), -150.0f);
  EXPECT_LT(AmpToDb(-1.0f), -150.0f);
}

TEST(Utils, RoundingTiesToEven) {
  EXPECT_EQ(RoundEven(0.5), 0);
  EXPECT_EQ(RoundEven(1.5), 2);
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(5512.5), 5512);
  EXPECT_EQ(RoundEven(NAN), 0);
  EXPECT_EQ(RoundEven(1e300), INT_MAX);
}

TEST(Utils, ModulePathEndsWithADelimiter) {
  const std::string path = ModulePath();
  ASSERT_FALSE(path.empty());
#if defined(_WIN32)
  EXPECT_EQ(path.back(), '\\');
#else
  EXPECT_EQ(path.back(), '/');
#endif
}

TEST(Utils, ResourcesFoundByNameAndType) {
  auto bank = ResourceToStream("KEST_DEFAULT", "BANK");
  EXPECT_EQ(bank->Size(), 4862u);
  EXPECT_EQ(bank->Position(), 0u);
  EXPECT_THROW(ResourceToStream("KEST_DEFAULT", "PNG"), EResourceError);
  try {
    ResourceToStream("NO_SUCH", "BANK");
    FAIL();
  } catch (const EResourceError& e) {
    EXPECT_NE(std::string(e.what()).find("NO_SUCH"), std::string::npos);
  }
}

TEST(Utils, FourCharacterCodes) {
  EXPECT_EQ(FourCharCode('K', 'E', 'S', 'T'), 0x4B455354);
}

TEST(TextCodec, Windows1252RoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all += static_cast<char>(b);
  }
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("Quil\x92s \x80"), "Quil\u2019s \u20AC");
  EXPECT_EQ(Utf8ToCp1252("caf\u00e9 \u65e5"), "caf\xe9 ?"); // not in the code page
  EXPECT_EQ(Utf8ToUtf16("a\xF0\x9F\x8E\xB5"), std::u16string(u"a\U0001F3B5"));
  EXPECT_EQ(Utf16ToUtf8(u"a\U0001F3B5"), "a\xF0\x9F\x8E\xB5");
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?"); // truncated sequence
}

TEST(Random, RangeAndReproducibility) {
  RandomSeed(42);
  std::vector<int> first;
  for (int i = 0; i < 100; ++i)
    first.push_back(Random(7));
  RandomSeed(42);
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(Random(7), first[i]);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(1), 0);
  EXPECT_EQ(Random(-3), 0);
  int seen[5] = {};
  for (int i = 0; i < 5000; ++i) {
    const int r = Random(5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    ++seen[r];
  }
  for (int n : seen)
    EXPECT_GT(n, 800); // roughly uniform
}
