// A picture of the editor in use, put together from the skin files the way
// the controls draw them, to judge the skin before the editor exists.
#include "pngio.h"
#include "skin.h"

#include <cmath>
#include <cstdio>
#include <map>

namespace skingen {
namespace {

using namespace layout;

class Skins {
 public:
  explicit Skins(std::string dir) : dir_(std::move(dir)) {}
  ~Skins() {
    for (auto& [name, s] : loaded_) cairo_surface_destroy(s);
  }
  Skins(const Skins&) = delete;
  Skins& operator=(const Skins&) = delete;

  cairo_surface_t* get(const std::string& name) {
    auto it = loaded_.find(name);
    if (it != loaded_.end()) return it->second;
    cairo_surface_t* s = cairo_image_surface_create_from_png((dir_ + "/" + name + ".png").c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "skingen: cannot read %s/%s.png\n", dir_.c_str(), name.c_str());
      ok_ = false;
    }
    loaded_[name] = s;
    return s;
  }
  bool ok() const { return ok_; }

 private:
  std::string dir_;
  std::map<std::string, cairo_surface_t*> loaded_;
  bool ok_ = true;
};

// Copies the rectangle (sx, sy, w, h) of a skin to (dx, dy), like a bitmap copy
// (alpha < 0) or a blend with one constant alpha.
void copy(cairo_t* cr, cairo_surface_t* src, double sx, double sy, double w, double h, double dx, double dy,
          double alpha = -1) {
  cairo_save(cr);
  cairo_rectangle(cr, dx, dy, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, src, dx - sx, dy - sy);
  if (alpha < 0)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, alpha);
  cairo_restore(cr);
}

void whole(cairo_t* cr, cairo_surface_t* src, double dx, double dy) {
  copy(cr, src, 0, 0, cairo_image_surface_get_width(src), cairo_image_surface_get_height(src), dx, dy);
}

void control_text(cairo_t* cr, double x, double y, double w, double h, const std::string& s) {
  text_mid(cr, Font::Bold, 9, x + w / 2.0, y + h / 2.0, s, Align::Centre, colour::kKnobText);
}

}  // namespace

std::string note_name(int note) {
  static const char* const names[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  return names[note % 12] + std::to_string(note / 12);
}

bool write_preview(const std::string& skin_dir, const std::string& out) {
  Skins sk(skin_dir);
  for (const char* name : {"KEST_EDITOR", "KEST_STEP_ON", "KEST_KNOB", "KEST_STEP_LED_ON", "KEST_LED_ON",
                           "KEST_SLIDER_HEAD", "KEST_BUTTON", "KEST_RANDOM", "KEST_POPUP_STYLES", "KEST_BANK",
                           "KEST_HELP", "KEST_SPIN_DIGITS", "KEST_OCT_DN", "KEST_VUMETER"})
    sk.get(name);
  if (!sk.ok()) return false;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFaceW, kFaceH);
  cairo_t* cr = cairo_create(s);
  whole(cr, sk.get("KEST_EDITOR"), 0, 0);

  // A pattern as a user might have it: a bass line, chords and a melody.
  static const int notes[3][16] = {
      {36, 36, 48, 36, 39, 39, 51, 39, 41, 41, 53, 41, 43, 46, 43, 31},
      {60, 63, 67, 70, 60, 63, 67, 72, 58, 62, 65, 70, 58, 62, 65, 74},
      {75, 79, 82, 84, 87, 84, 82, 79, 77, 80, 84, 89, 91, 89, 86, 84},
  };
  static const char* const steps[3] = {"x..xx.x.x..x.xx.", "x.x.x.x.x.x.x.xx", "xx.x..x.xxx.x..x"};
  const int running = 5;
  for (int v = 0; v < 3; ++v) {
    for (int i = 0; i < 16; ++i) {
      const int x = kStepX + kStepPitch * i;
      if (steps[v][i] == 'x')
        copy(cr, sk.get("KEST_STEP_ON"), 0, 0, kPadW, kPadH, x + kPadDX, kSwitchY[v] + kPadDY);
      copy(cr, sk.get("KEST_KNOB"), 0, kKnobSize * notes[v][i], kKnobSize, kKnobSize, x + kKnobDX,
           kKnobY[v] + kKnobDY);
      control_text(cr, x, kKnobY[v] + 24, 24, 9, note_name(notes[v][i]));
    }
  }
  whole(cr, sk.get("KEST_STEP_LED_ON"), kLedsX + kRunDX + kStepPitch * running, kLedsY + kRunDY);
  // Voices A and B on, C fading out.
  const double led_alpha[3] = {1.0, 1.0, 0.25};
  for (int v = 0; v < 3; ++v) copy(cr, sk.get("KEST_LED_ON"), 0, 0, 13, 13, kChLedX, kChLedY[v], led_alpha[v]);

  const int positions[4] = {80, 56, 24, 30};
  for (int i = 0; i < 4; ++i) whole(cr, sk.get("KEST_SLIDER_HEAD"), kSliderX + positions[i] + 3, kSliderY[i]);

  // Random pressed (glyph moves with the face), style button at rest.
  copy(cr, sk.get("KEST_BUTTON"), 0, 0, 22, 22, kBtnX, kRndY);
  whole(cr, sk.get("KEST_RANDOM"), kBtnX + 1, kRndY + 1);
  whole(cr, sk.get("KEST_POPUP_STYLES"), kBtnX, kMnuY);
  whole(cr, sk.get("KEST_BANK"), kBankX, kTopY);
  whole(cr, sk.get("KEST_HELP"), kHelpX, kTopY);

  // Root C4 over a range of two octaves; the octave's up arrow held.
  copy(cr, sk.get("KEST_SPIN_DIGITS"), kDigitW + kDigitW * 4, 0, kDigitW, kDigitH, kSpinX + kDigitDX, kOctY + kDigitDY);
  copy(cr, sk.get("KEST_SPIN_DIGITS"), kDigitW + kDigitW * 2, 0, kDigitW, kDigitH, kSpinX + kDigitDX, kRngY + kDigitDY);
  copy(cr, sk.get("KEST_OCT_DN"), 0, 0, kArrowW, kArrowH, kSpinX + kArrowDX, kOctY + kArrowUpDY);
  text_base(cr, Font::Bold, 9, kNoteLabelX, kNoteLabelY + 8, note_name(48), Align::Left, colour::kKnobText);

  // Meters: input a little under output, each with a peak mark above it.
  const double levels[4] = {-14, -11, -7, -5};
  for (int m = 0; m < 2; ++m)
    for (int c = 0; c < 2; ++c) {
      const int y = static_cast<int>(std::nearbyint(-levels[m * 2 + c] * 1.2));
      const double x = kVuX[m] + 1 + 6 * c;
      copy(cr, sk.get("KEST_VUMETER"), 0, y, kBarW, kBarH - y, x, kVuY + y + 1);
      cairo_rectangle(cr, x, kVuY + y - 5, kBarW, 1);
      set(cr, rgb(180, 192, 200));
      cairo_fill(cr);
    }

  text_base(cr, Font::Bold, 11, kPresetX + 8, kPresetY + 5 + 10, "Glass Choir", Align::Left, colour::kPresetText);

  cairo_destroy(cr);
  const bool ok = write_png(out, s, false);
  cairo_surface_destroy(s);
  return ok;
}

bool write_zoom(const std::string& in, int x, int y, int w, int h, int scale, const std::string& out) {
  cairo_surface_t* src = cairo_image_surface_create_from_png(in.c_str());
  if (cairo_surface_status(src) != CAIRO_STATUS_SUCCESS || w <= 0 || h <= 0 || scale <= 0) {
    std::fprintf(stderr, "skingen: cannot zoom %s\n", in.c_str());
    cairo_surface_destroy(src);
    return false;
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w * scale, h * scale);
  cairo_t* cr = cairo_create(s);
  set(cr, rgb(255, 0, 255));  // transparent pixels show as magenta
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, src, -x, -y);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_destroy(cr);
  const bool ok = write_png(out, s, false);
  cairo_surface_destroy(s);
  cairo_surface_destroy(src);
  return ok;
}

}  // namespace skingen
