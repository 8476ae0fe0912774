// The skin set as files: every picture is cut from a face that was redrawn
// with the control in its active state, so edges always match the face.
#include "pngio.h"
#include "skin.h"

#include <cstdio>
#include <functional>

namespace skingen {
namespace {

using namespace layout;
using Draw = std::function<void(cairo_t*)>;

// An opaque picture of w x h taken at (x, y) of the face, with draw() painted
// over the face first (in face coordinates).
cairo_surface_t* cut(cairo_surface_t* face, int x, int y, int w, int h, const Draw& draw) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_translate(cr, -x, -y);
  cairo_set_source_surface(cr, face, 0, 0);
  cairo_paint(cr);
  draw(cr);
  cairo_destroy(cr);
  return s;
}

cairo_surface_t* glyph(int w, int h, const Draw& draw) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  draw(cr);
  cairo_destroy(cr);
  return s;
}

cairo_surface_t* knob_strip(cairo_surface_t* face) {
  const int x = kStepX + kKnobDX, y = kKnobY[0] + kKnobDY;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kKnobSize, kKnobSize * 128);
  cairo_t* cr = cairo_create(s);
  for (int n = 0; n < 128; ++n) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, kKnobSize * n, kKnobSize, kKnobSize);
    cairo_clip(cr);
    cairo_translate(cr, -x, kKnobSize * n - y);
    cairo_set_source_surface(cr, face, 0, 0);
    cairo_paint(cr);
    knob(cr, x, y, n);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  return s;
}

cairo_surface_t* spin_arrows(cairo_surface_t* face) {
  const int x = kSpinX + kArrowDX, y = kOctY + kArrowUpDY;
  return cut(face, x, y, kArrowW, 2 * kArrowH, [&](cairo_t* cr) {
    spin_arrow(cr, x, y, true, true);
    spin_arrow(cr, x, y + kArrowH, false, true);
  });
}

cairo_surface_t* spin_digits(cairo_surface_t* face) {
  const int x = kSpinX + kDigitDX, y = kOctY + kDigitDY;
  return cut(face, x, y, kDigitW * 11, kDigitH, [&](cairo_t* cr) {
    spin_digit(cr, x, y, -1);
    for (int d = 0; d < 10; ++d) spin_digit(cr, x + kDigitW * (d + 1), y, d);
  });
}

}  // namespace

bool write_skins(const std::string& dir) {
  cairo_surface_t* face = editor_face();
  cairo_surface_t* about = about_face();
  const int pad_x = kStepX + kPadDX, pad_y = kSwitchY[0] + kPadDY;
  const int run_x = kLedsX + kRunDX, run_y = kLedsY + kRunDY;
  const int bar_x = kVuX[0] + 1, bar_y = kVuY + 1;
  const struct {
    const char* name;
    cairo_surface_t* surface;
    bool alpha;
  } skins[] = {
      {"KEST_EDITOR", cairo_surface_reference(face), false},
      {"KEST_ABOUT", cairo_surface_reference(about), false},
      {"KEST_SLIDER_HEAD", glyph(kHeadW, kHeadH, [](cairo_t* cr) { slider_head(cr, 0, 0); }), true},
      {"KEST_STEP_ON",
       cut(face, pad_x, pad_y, kPadW, kPadH, [&](cairo_t* cr) { step_pad(cr, pad_x, pad_y, true); }), false},
      {"KEST_KNOB", knob_strip(face), false},
      {"KEST_BUTTON",
       cut(face, kBtnX, kRndY, 22, 22, [](cairo_t* cr) { push_button(cr, kBtnX, kRndY, 22, 22, true); }), false},
      {"KEST_BTNTOP",
       cut(face, kBankX, kTopY, 24, 23, [](cairo_t* cr) { push_button(cr, kBankX, kTopY, 24, 23, true); }), false},
      {"KEST_OCT_DN", spin_arrows(face), false},
      {"KEST_SPIN_DIGITS", spin_digits(face), false},
      {"KEST_STEP_LED_ON",
       cut(face, run_x, run_y, kRunW, kRunH, [&](cairo_t* cr) { run_light(cr, run_x, run_y, true); }), false},
      {"KEST_LED_ON",
       cut(face, kChLedX, kChLedY[0], 13, 13, [](cairo_t* cr) { channel_led(cr, kChLedX, kChLedY[0], true); }),
       false},
      {"KEST_PRESETBOX_BTN", cut(face, kPresetX + kDropDX, kPresetY, kDropW, 23,
                                 [](cairo_t* cr) { preset_box(cr, kPresetX, kPresetY, true); }),
       false},
      {"KEST_VUMETER",
       cut(face, bar_x, bar_y, kBarW, kBarH, [&](cairo_t* cr) { meter_bar(cr, bar_x, bar_y, true); }), false},
      {"KEST_CLOSE",
       cut(about, kCloseX, kCloseY, 16, 14, [](cairo_t* cr) { close_button(cr, kCloseX, kCloseY, true); }), false},
      {"KEST_RANDOM", glyph(22, 22, glyph_random), true},
      {"KEST_POPUP_STYLES", glyph(22, 22, glyph_styles), true},
      {"KEST_BANK", glyph(24, 23, glyph_bank), true},
      {"KEST_HELP", glyph(24, 23, glyph_help), true},
  };
  bool ok = true;
  for (const auto& s : skins) {
    ok = write_png(dir + "/" + s.name + ".png", s.surface, s.alpha) && ok;
    cairo_surface_destroy(s.surface);
  }
  cairo_surface_destroy(face);
  cairo_surface_destroy(about);
  return ok;
}

}  // namespace skingen
