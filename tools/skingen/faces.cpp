// The two window faces: the editor with every control in its resting look,
// and the about window.
#include "skin.h"

#include "lib/ctrls/KeyboardOutline.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace skingen {
namespace {

using namespace colour;
using namespace layout;

// Controls that are copied to several places need an even ground under them,
// so sections are flat panels; only the chassis between them has a gradient.
void panel(cairo_t* cr, double x, double y, double w, double h, Rgb fill) {
  round_rect(cr, x + 0.5, y + 1.5, w - 1, h - 1, 5);
  set(cr, kEdgeLight, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  round_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 5);
  set(cr, fill);
  cairo_fill_preserve(cr);
  set(cr, kEdgeDark);
  cairo_stroke(cr);
}

// Fine horizontal brushing on the chassis; a fixed generator keeps it the
// same on every run.
void brush(cairo_t* cr, int w, int h) {
  uint32_t seed = 0x4b455354u;
  for (int y = 0; y < h; ++y) {
    seed = seed * 1664525u + 1013904223u;
    const double a = ((seed >> 24) & 15) / 15.0 * 0.035;
    cairo_rectangle(cr, 0, y, w, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, a);
    cairo_fill(cr);
  }
}

void screw(cairo_t* cr, double cx, double cy) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, 3.5, 0, 2 * M_PI);
  fill_vgrad(cr, cy - 3.5, cy + 3.5, rgb(110, 118, 130), rgb(40, 46, 55), true);
  set(cr, kEdgeDark, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, cx - 2.2, cy + 1.2);
  cairo_line_to(cr, cx + 2.2, cy - 1.2);
  set(cr, kEdgeDark, 0.9);
  cairo_stroke(cr);
}

void keyboard(cairo_t* cr, double x, double y) {
  // Key outlines exactly as the control hit-tests them (pitch classes C..B).
  // Key bed.
  round_rect(cr, x + 0.5, y + 0.5, 125, 68, 2);
  set(cr, rgb(6, 8, 10));
  cairo_fill(cr);
  for (int black = 0; black < 2; ++black) {
    for (int k = 0; k < 12; ++k) {
      const auto& keys = kest::kKeyOutlines;
      const bool is_black = keys[k].Count == 4;
      if (is_black != (black == 1)) continue;
      cairo_move_to(cr, x + keys[k].Points[0][0], y + keys[k].Points[0][1]);
      for (int i = 1; i < keys[k].Count; ++i)
        cairo_line_to(cr, x + keys[k].Points[i][0], y + keys[k].Points[i][1]);
      cairo_close_path(cr);
      if (is_black) {
        fill_vgrad(cr, y + 2, y + 45, rgb(52, 58, 68), rgb(18, 21, 26));
        // Rounded front of the black key and a thin gap to its neighbours.
        const double l = x + keys[k].Points[0][0], r = x + keys[k].Points[1][0];
        cairo_rectangle(cr, l, y + 2, 1, 43);
        cairo_rectangle(cr, r - 1, y + 2, 1, 43);
        set(cr, rgb(6, 8, 10));
        cairo_fill(cr);
        // Sloped front edge catching the light.
        cairo_rectangle(cr, l + 1, y + 39, r - l - 2, 6);
        fill_vgrad(cr, y + 39, y + 45, rgb(22, 25, 30), rgb(78, 86, 98));
      } else {
        fill_vgrad(cr, y + 2, y + 67, rgb(232, 236, 240), rgb(198, 204, 212));
      }
    }
  }
  // Gaps between neighbouring white keys in their upper part, where the
  // outlines touch.
  for (double gx : {55.0}) {
    cairo_rectangle(cr, x + gx - 2, y + 2, 2, 65);
    set(cr, rgb(6, 8, 10));
    cairo_fill(cr);
  }
  // Shade where the key bed meets the keys.
  cairo_rectangle(cr, x + 2, y + 2, 121, 3);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y + 2, 0, y + 5);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void meter_scale(cairo_t* cr) {
  for (int db = 0; db <= 60; db += 6) {
    const double row = kVuY + 1 + std::round(db * 1.2);
    const bool major = db % 12 == 0;
    const double len = major ? 4 : 2;
    cairo_rectangle(cr, kVuX[0] - 2 - len, row, len, 1);
    cairo_rectangle(cr, kVuX[1] + 14, row, len, 1);
    set(cr, major ? kTextDim : mix(kPanel, kTextDim, 0.5));
    cairo_fill(cr);
  }
}

void sliders(cairo_t* cr) {
  static const char* const names[4] = {"Level", "Depth", "Glide", "Detune"};
  for (int i = 0; i < 4; ++i) {
    const double x = kSliderX, y = kSliderY[i];
    const double mid = y + 11.5;  // centre of the head's cap
    // Left-aligned so the longest label stays clear of the head at its lowest position.
    text_mid(cr, Font::CondBold, 9, 306, mid, names[i], Align::Left, kText);
    // Groove from the first to the last head position.
    round_rect(cr, x + 10, mid - 2, 100, 4, 2);
    set(cr, kLcd);
    cairo_fill(cr);
    cairo_rectangle(cr, x + 11, mid + 2, 98, 1);
    set(cr, kEdgeLight, 0.35);
    cairo_fill(cr);
    // Scale ticks under the travel, one per eighth of the range.
    for (int k = 0; k <= 8; ++k) {
      const double tx = x + 16 + 11 * k;
      cairo_rectangle(cr, tx, y + 22, 1, (k % 4 == 0) ? 3 : 2);
      set(cr, mix(kPanel, kTextDim, 0.6));
      cairo_fill(cr);
    }
    if (i == 0) {
      // Unity gain: position 80 of 88 on the -60..+6 dB travel.
      cairo_rectangle(cr, x + 16 + 80 - 0.5, y + 21, 2, 4);
      set(cr, kAmber);
      cairo_fill(cr);
    }
  }
}

}  // namespace

cairo_surface_t* editor_face() {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFaceW, kFaceH);
  cairo_t* cr = cairo_create(s);

  cairo_rectangle(cr, 0, 0, kFaceW, kFaceH);
  fill_vgrad(cr, 0, kFaceH, kChassisTop, kChassisBottom);
  brush(cr, kFaceW, kFaceH);
  cairo_rectangle(cr, 0, 0, kFaceW, 1);
  set(cr, rgb(255, 255, 255), 0.12);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, kFaceH - 1, kFaceW, 1);
  set(cr, kEdgeDark);
  cairo_fill(cr);
  screw(cr, 7, 16);
  screw(cr, kFaceW - 8, 16);

  // Title.
  text_base(cr, Font::Bold, 17, 16, 22, "Kestrelphon", Align::Left, kText);
  const double tw = text_width(cr, Font::Bold, 17, "Kestrelphon");
  text_base(cr, Font::CondBold, 8, 16 + tw + 8, 22, "STEP  COMB  RESONATOR", Align::Left, kTextDim);

  preset_box(cr, kPresetX, kPresetY, false);
  push_button(cr, kBankX, kTopY, 24, 23, false);
  push_button(cr, kHelpX, kTopY, 24, 23, false);

  // Sequencer: step numbers, running-step lights, three voices.
  panel(cr, 10, 33, 474, 221, kPanel);
  for (int s = 0; s < 16; ++s) {
    const double cx = kStepX + kStepPitch * s + 12;
    const bool downbeat = s % 4 == 0;
    text_base(cr, Font::CondBold, 8, cx, 43, std::to_string(s + 1), Align::Centre, downbeat ? kText : kTextDim);
  }
  text_base(cr, Font::CondBold, 8, 22, 43, "STEP", Align::Left, kTextDim);
  round_rect(cr, kLedsX + 3, kLedsY + 4, 380, 11, 3);
  set(cr, kLcd);
  cairo_fill(cr);
  for (int s = 0; s < 16; ++s) run_light(cr, kLedsX + kRunDX + kStepPitch * s, kLedsY + kRunDY, false);

  static const char* const voices[3] = {"A", "B", "C"};
  for (int v = 0; v < 3; ++v) {
    const double top = kSwitchY[v] - 2;
    round_rect(cr, 14, top, 466, 60, 3);
    set(cr, kBand);
    cairo_fill(cr);
    text_mid(cr, Font::Bold, 15, 27, kChLedY[v] + 6.5, voices[v], Align::Centre, kText);
    channel_led(cr, kChLedX, kChLedY[v], false);
    // Beat dividers between every fourth step.
    for (int beat = 1; beat < 4; ++beat) {
      cairo_rectangle(cr, kStepX + kStepPitch * 4 * beat, top + 4, 1, 52);
      set(cr, kPanel);
      cairo_fill(cr);
    }
    for (int s = 0; s < 16; ++s) {
      const double x = kStepX + kStepPitch * s;
      step_pad(cr, x + kPadDX, kSwitchY[v] + kPadDY, false);
      knob(cr, x + kKnobDX, kKnobY[v] + kKnobDY, -1);
    }
  }

  // Random pattern section.
  panel(cr, 10, 257, 236, 120, kPanel);
  const struct {
    const char* name;
    int y, h;
  } labels[4] = {{"Random", kRndY, 22}, {"Style", kMnuY, 22}, {"Octave", kOctY, 19}, {"Range", kRngY, 19}};
  for (const auto& l : labels) text_mid(cr, Font::CondBold, 9.5, kBtnX - 6, l.y + l.h / 2.0, l.name, Align::Right, kText);
  push_button(cr, kBtnX, kRndY, 22, 22, false);
  push_button(cr, kBtnX, kMnuY, 22, 22, false);
  spinner(cr, kSpinX, kOctY);
  spinner(cr, kSpinX, kRngY);
  text_mid(cr, Font::CondBold, 9.5, kNoteLabelX - 9, kNoteLabelY + 5, "Root", Align::Right, kText);
  round_rect(cr, kNoteLabelX - 4.5, kNoteLabelY - 3.5, 37, 16, 2.5);
  set(cr, kLcd);
  cairo_fill_preserve(cr);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  keyboard(cr, kKeysX, kKeysY);

  // Level meters.
  panel(cr, 250, 257, 48, 120, kPanel);
  text_mid(cr, Font::CondBold, 8, 274, 271, "VU", Align::Centre, kTextDim);
  for (int m = 0; m < 2; ++m) {
    round_rect(cr, kVuX[m] + 0.5, kVuY + 0.5, 12, 73, 1.5);
    set(cr, kLcd);
    cairo_fill_preserve(cr);
    set(cr, kEdgeDark);
    cairo_stroke(cr);
    for (int c = 0; c < 2; ++c) meter_bar(cr, kVuX[m] + 1 + 6 * c, kVuY + 1, false);
  }
  meter_scale(cr);
  text_mid(cr, Font::CondBold, 8, kVuX[0] + 6.5, 368, "IN", Align::Centre, kText);
  text_mid(cr, Font::CondBold, 8, kVuX[1] + 6.5, 368, "OUT", Align::Centre, kText);

  // Voice controls.
  panel(cr, 302, 257, 182, 120, kPanel);
  sliders(cr);

  cairo_destroy(cr);
  return s;
}

cairo_surface_t* about_face() {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kAboutW, kAboutH);
  cairo_t* cr = cairo_create(s);
  cairo_rectangle(cr, 0, 0, kAboutW, kAboutH);
  fill_vgrad(cr, 0, kAboutH, kChassisTop, kChassisBottom);
  brush(cr, kAboutW, kAboutH);

  // Drag strip, styled as a title bar.
  cairo_rectangle(cr, 0, 0, kAboutW, 20);
  fill_vgrad(cr, 0, 20, rgb(24, 29, 36), rgb(18, 23, 29));
  cairo_rectangle(cr, 0, 20, kAboutW, 1);
  set(cr, kEdgeDark);
  cairo_fill(cr);
  text_mid(cr, Font::Bold, 9, 9, 10, "About Kestrelphon", Align::Left, kTextDim);
  close_button(cr, kCloseX, kCloseY, false);

  // Emblem: the peaks of a comb response, the sound of the three voices.
  const double base = 70, cx = kAboutW / 2.0;
  for (int i = -8; i <= 8; ++i) {
    const double env = std::exp(-std::abs(i) / 7.0);
    const double h = 6 + 30 * env * (i % 3 == 0 ? 1.0 : 0.55);
    round_rect(cr, cx + i * 7 - 2, base - h, 4, h, 1.5);
    fill_vgrad(cr, base - 36, base, rgb(255, 206, 120), rgb(220, 110, 20));
  }
  cairo_rectangle(cr, cx - 64, base + 2, 128, 1);
  set(cr, kEdgeLight);
  cairo_fill(cr);

  text_base(cr, Font::Bold, 26, cx, 108, "Kestrelphon", Align::Centre, kText);
  text_base(cr, Font::CondBold, 9, cx, 126, "STEP  COMB  RESONATOR", Align::Centre, kTextDim);
  text_base(cr, Font::Book, 10, cx, 148, "Version 1.0", Align::Centre, kText);

  // Link area: drawn as a button so it invites a click.
  round_rect(cr, kLinkX + 0.5, kLinkY + 0.5, kLinkW - 1, kLinkH - 1, 6);
  fill_vgrad(cr, kLinkY, kLinkY + kLinkH, rgb(62, 71, 85), rgb(40, 46, 56), true);
  set(cr, kAmber, 0.85);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  text_base(cr, Font::Book, 8, kLinkX + kLinkW / 2.0, kLinkY + 16, "made by", Align::Centre, kTextDim);
  text_base(cr, Font::Bold, 15, kLinkX + kLinkW / 2.0, kLinkY + 33, "Grauwick", Align::Centre, kText);
  const std::string visit = "visit the website \xe2\x80\xba";
  text_base(cr, Font::CondBold, 8, kLinkX + kLinkW / 2.0, kLinkY + 44, visit, Align::Centre, kAmber);

  text_base(cr, Font::Book, 8, cx, 232, "Three voices, sixteen steps, one comb.", Align::Centre, kTextDim);
  cairo_rectangle(cr, 0, 0, kAboutW, kAboutH);
  cairo_rectangle(cr, 1, 1, kAboutW - 2, kAboutH - 2);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  set(cr, kTextDim);
  cairo_fill(cr);
  cairo_destroy(cr);
  return s;
}

}  // namespace skingen
