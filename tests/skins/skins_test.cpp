// Checks the committed skin pictures: the geometry the controls rely on, that
// copied pictures fit the face at every place they are drawn, that the knob
// strip turns with the note, and that the generator reproduces the files.
#include "png_read.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Expected {
  const char* name;
  int width;  // 0: own size, checked by the fit tests below
  int height;
  bool alpha;
};

constexpr Expected kSkins[] = {
    {"KEST_EDITOR", 494, 383, false},      {"KEST_ABOUT", 328, 240, false},
    {"KEST_SLIDER_HEAD", 0, 0, true},      {"KEST_STEP_ON", 18, 15, false},
    {"KEST_KNOB", 19, 2432, false},        {"KEST_BUTTON", 22, 22, false},
    {"KEST_BTNTOP", 24, 23, false},        {"KEST_OCT_DN", 9, 16, false},
    {"KEST_SPIN_DIGITS", 66, 9, false},    {"KEST_STEP_LED_ON", 0, 0, false},
    {"KEST_LED_ON", 13, 13, false},        {"KEST_PRESETBOX_BTN", 20, 23, false},
    {"KEST_VUMETER", 5, 72, false},        {"KEST_CLOSE", 16, 14, false},
    {"KEST_RANDOM", 22, 22, true},         {"KEST_POPUP_STYLES", 22, 22, true},
    {"KEST_BANK", 24, 23, true},           {"KEST_HELP", 24, 23, true},
};

std::string path_of(const std::string& dir, const std::string& name) { return dir + "/" + name + ".png"; }

const PngPicture& skin(const std::string& name) {
  static std::map<std::string, PngPicture> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    PngPicture p;
    read_png(path_of(KEST_RESOURCES_DIR, name), p);
    it = cache.emplace(name, std::move(p)).first;
  }
  return it->second;
}

int channel_diff(const uint8_t* a, const uint8_t* b) {
  int d = 0;
  for (int c = 0; c < 4; ++c) d = std::max(d, std::abs(a[c] - b[c]));
  return d;
}

// Largest channel difference between a w x h area of a at (ax, ay) and of b at (bx, by).
int area_diff(const PngPicture& a, int ax, int ay, const PngPicture& b, int bx, int by, int w, int h) {
  int d = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) d = std::max(d, channel_diff(a.at(ax + x, ay + y), b.at(bx + x, by + y)));
  return d;
}

struct Place {
  int x, y;
};

// Every place on the face where a copied picture of the given size lands.
std::vector<Place> switch_places() {
  std::vector<Place> v;
  for (int row : {70, 132, 194})
    for (int i = 0; i < 16; ++i) v.push_back({75 + 24 * i + 4, row + 4});
  return v;
}
std::vector<Place> knob_places() {
  std::vector<Place> v;
  for (int row : {93, 155, 217})
    for (int i = 0; i < 16; ++i) v.push_back({75 + 24 * i + 3, row + 3});
  return v;
}
std::vector<Place> run_light_places() {
  std::vector<Place> v;
  for (int s = 0; s < 16; ++s) v.push_back({75 + 7 + 24 * s, 46 + 7});
  return v;
}

TEST(SkinFiles, EachPictureHasItsSizeAndPixelFormat) {
  uintmax_t total = 0;
  for (const Expected& e : kSkins) {
    SCOPED_TRACE(e.name);
    const std::string path = path_of(KEST_RESOURCES_DIR, e.name);
    PngPicture p;
    ASSERT_TRUE(read_png(path, p)) << path;
    EXPECT_EQ(p.bit_depth, 8);
    EXPECT_EQ(p.colour_type, e.alpha ? 6 : 2);  // RGBA with per-pixel alpha, else plain RGB
    EXPECT_EQ(p.interlace, 0);
    if (e.width != 0) {
      EXPECT_EQ(p.width, e.width);
      EXPECT_EQ(p.height, e.height);
    }
    total += fs::file_size(path);
  }
  EXPECT_LT(total, 1024u * 1024u) << "the skin set is embedded in the module";
}

TEST(SkinFiles, OwnSizePicturesFitTheirControls) {
  // The slider head is drawn at x = position + 3 for positions 0..88 inside a
  // 127 x 27 control, and the user grabs it in the 26 x 17 rectangle at (position + 3, 3).
  const PngPicture& head = skin("KEST_SLIDER_HEAD");
  EXPECT_GE(head.width, 26);
  EXPECT_LE(88 + 3 + head.width, 127);
  EXPECT_GE(head.height, 20);
  EXPECT_LE(head.height, 27);
  // The running-step light for step 15 sits at (7 + 24 * 15, 7) in a 386 x 19 strip.
  const PngPicture& run = skin("KEST_STEP_LED_ON");
  EXPECT_GT(run.width, 0);
  EXPECT_LE(7 + 24 * 15 + run.width, 386);
  EXPECT_LE(run.width, 24) << "lights of neighbouring steps would overlap";
  EXPECT_LE(7 + run.height, 19);
}

TEST(SkinFaces, FaceIsEvenUnderEveryCopyOfAPicture) {
  // A picture copied to several places only fits if the face under all of
  // them is the same.
  const PngPicture& face = skin("KEST_EDITOR");
  ASSERT_EQ(face.width, 494);
  ASSERT_EQ(face.height, 383);
  const struct {
    const char* what;
    std::vector<Place> places;
    int w, h;
  } groups[] = {
      {"step switch", switch_places(), 18, 15},
      {"knob", knob_places(), 19, 19},
      {"running-step light", run_light_places(), 10, 5},
      {"channel LED", {{43, 99}, {43, 161}, {43, 223}}, 13, 13},
      {"button", {{77, 262}, {77, 288}}, 22, 22},
      {"top button", {{419, 4}, {443, 4}}, 24, 23},
      {"spinner", {{77, 314}, {77, 337}}, 25, 19},
      {"meter", {{261, 287}, {278, 287}}, 13, 74},
      {"meter channel", {{262, 288}, {268, 288}, {279, 288}, {285, 288}}, 5, 72},
  };
  for (const auto& g : groups) {
    SCOPED_TRACE(g.what);
    for (const Place& p : g.places)
      EXPECT_EQ(area_diff(face, g.places[0].x, g.places[0].y, face, p.x, p.y, g.w, g.h), 0)
          << "at (" << p.x << ", " << p.y << ")";
  }
}

TEST(SkinFaces, OpaquePicturesMatchTheFaceAtTheirCorners) {
  // The corners of a copied picture are outside the drawn shape: they must
  // show the face under the control, or the copy leaves a visible patch.
  const PngPicture& face = skin("KEST_EDITOR");
  const PngPicture& about = skin("KEST_ABOUT");
  ASSERT_EQ(face.width * face.height, 494 * 383);
  ASSERT_EQ(about.width * about.height, 328 * 240);
  const struct {
    const char* name;
    const PngPicture* ground;
    Place place;
    int frames;  // pictures stacked vertically, each checked
    int w, h;
  } pictures[] = {
      {"KEST_STEP_ON", &face, {79, 74}, 1, 18, 15},
      {"KEST_KNOB", &face, {78, 96}, 128, 19, 19},
      {"KEST_BUTTON", &face, {77, 262}, 1, 22, 22},
      {"KEST_BTNTOP", &face, {443, 4}, 1, 24, 23},
      {"KEST_OCT_DN", &face, {91, 316}, 2, 9, 8},
      {"KEST_STEP_LED_ON", &face, {82, 53}, 1, 10, 5},
      {"KEST_PRESETBOX_BTN", &face, {399, 4}, 1, 20, 23},
      {"KEST_CLOSE", &about, {308, 4}, 1, 16, 14},
  };
  constexpr int kTolerance = 12;  // anti-aliased edges may differ slightly
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.name);
    const PngPicture& pic = skin(p.name);
    ASSERT_GE(pic.width, p.w);
    ASSERT_GE(pic.height, p.h * p.frames);
    for (int f = 0; f < p.frames; ++f) {
      const int gy = p.place.y + (std::string(p.name) == "KEST_OCT_DN" ? f * 8 : 0);
      for (Place c : {Place{0, 0}, Place{p.w - 1, 0}, Place{0, p.h - 1}, Place{p.w - 1, p.h - 1}}) {
        EXPECT_LE(channel_diff(pic.at(c.x, f * p.h + c.y), p.ground->at(p.place.x + c.x, gy + c.y)), kTolerance)
            << "frame " << f << " corner (" << c.x << ", " << c.y << ")";
      }
    }
  }
}

TEST(SkinFaces, DigitCellsSitOnTheSpinnerWindow) {
  // Every digit cell replaces the 6 x 9 area at (4, 5) of both spinners; its
  // ground must be the window's, and the unused first cell is blank.
  const PngPicture& face = skin("KEST_EDITOR");
  const PngPicture& digits = skin("KEST_SPIN_DIGITS");
  ASSERT_EQ(face.width * face.height, 494 * 383);
  ASSERT_GE(digits.width, 66);
  ASSERT_GE(digits.height, 9);
  EXPECT_EQ(area_diff(digits, 0, 0, face, 81, 319, 6, 9), 0);
  for (int d = 0; d < 10; ++d) {
    SCOPED_TRACE(d);
    EXPECT_EQ(channel_diff(digits.at(6 + 6 * d, 0), face.at(81, 319)), 0);
    EXPECT_GT(area_diff(digits, 6 + 6 * d, 0, face, 81, 319, 6, 9), 100) << "digit not visible";
    for (int e = 0; e < d; ++e) EXPECT_GT(area_diff(digits, 6 + 6 * d, 0, digits, 6 + 6 * e, 0, 6, 9), 0) << e;
  }
}

// Angle (degrees, clockwise from 3 o'clock, screen coordinates) of the
// knob's pointer in frame n, from the centroid of its near-white pixels.
double pointer_angle(const PngPicture& strip, int n) {
  double sx = 0, sy = 0, count = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 19; ++x) {
      const uint8_t* p = strip.at(x, 19 * n + y);
      if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
        sx += x + 0.5 - 9.5;
        sy += y + 0.5 - 9.5;
        count += 1;
      }
    }
  if (count == 0) return NAN;
  double a = std::atan2(sy, sx) * 180.0 / std::numbers::pi;
  if (a < 90) a += 360;  // unwrap so the travel runs from about 135 to 405
  return a;
}

TEST(KnobStrip, PointerTurnsClockwiseWithTheNote) {
  const PngPicture& strip = skin("KEST_KNOB");
  ASSERT_EQ(strip.width, 19);
  ASSERT_EQ(strip.height, 19 * 128);
  double previous = pointer_angle(strip, 0);
  ASSERT_FALSE(std::isnan(previous));
  const double first = previous;
  for (int n = 1; n < 128; ++n) {
    SCOPED_TRACE(n);
    const double a = pointer_angle(strip, n);
    ASSERT_FALSE(std::isnan(a)) << "no pointer";
    EXPECT_GE(a, previous - 3.0) << "pointer moved back";
    EXPECT_GT(area_diff(strip, 0, 19 * n, strip, 0, 19 * (n - 1), 19, 19), 0) << "same picture as the note below";
    previous = a;
  }
  EXPECT_NEAR(previous - first, 270.0, 25.0) << "travel from note 0 to note 127";
  // Note 64 points about straight up.
  EXPECT_NEAR(pointer_angle(strip, 64), 270.0, 12.0);
}

TEST(Glyphs, AlphaPicturesAreCutOut) {
  for (const char* name : {"KEST_SLIDER_HEAD", "KEST_RANDOM", "KEST_POPUP_STYLES", "KEST_BANK", "KEST_HELP"}) {
    SCOPED_TRACE(name);
    const PngPicture& p = skin(name);
    ASSERT_GT(p.width, 0);
    int clear = 0, solid = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        clear += p.at(x, y)[3] == 0;
        solid += p.at(x, y)[3] == 255;
      }
    EXPECT_EQ(p.at(0, 0)[3], 0) << "corner should let the button show through";
    EXPECT_GT(clear, p.width * p.height / 8);
    EXPECT_GE(solid, 12) << "no opaque body";
  }
}

#ifdef KEST_SKINGEN_EXE
std::vector<char> bytes_of(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Generator, ReproducesTheCommittedPicturesByteForByte) {
  const fs::path dir = fs::temp_directory_path() / ("kest_skins_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string cmd = std::string("\"") + KEST_SKINGEN_EXE + "\" \"" + dir.string() + "\"";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  int produced = 0;
  for (const auto& entry : fs::directory_iterator(dir)) produced += entry.path().extension() == ".png";
  EXPECT_EQ(produced, static_cast<int>(std::size(kSkins)));
  for (const Expected& e : kSkins) {
    SCOPED_TRACE(e.name);
    const std::vector<char> fresh = bytes_of(dir / (std::string(e.name) + ".png"));
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(fresh == bytes_of(path_of(KEST_RESOURCES_DIR, e.name)))
        << "resources/ is out of date: rebuild the 'skins' target and commit";
  }
  fs::remove_all(dir);
}
#endif

}  // namespace
