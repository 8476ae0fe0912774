// Where the controls sit on the editor and about faces, the palette, and the
// drawing of every control look. The faces carry each control's resting look;
// the control pictures are cut from a face redrawn with the control active, so
// they always sit seamlessly on it.
#pragma once

#include "paint.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace skingen {

namespace layout {
constexpr int kFaceW = 494, kFaceH = 383;
constexpr int kAboutW = 328, kAboutH = 240;

constexpr int kStepX = 75, kStepPitch = 24;
constexpr int kLedsX = 75, kLedsY = 46;
constexpr int kSwitchY[3] = {70, 132, 194};
constexpr int kKnobY[3] = {93, 155, 217};
constexpr int kChLedX = 43;
constexpr int kChLedY[3] = {99, 161, 223};
constexpr int kSliderX = 338;
constexpr int kSliderY[4] = {258, 285, 312, 339};
constexpr int kNoteLabelX = 161, kNoteLabelY = 267;
constexpr int kKeysX = 113, kKeysY = 287;
constexpr int kSpinX = 77, kOctY = 314, kRngY = 337;
constexpr int kBtnX = 77, kRndY = 262, kMnuY = 288;
constexpr int kPresetX = 292, kPresetY = 4;
constexpr int kBankX = 419, kHelpX = 443, kTopY = 4;
constexpr int kVuX[2] = {261, 278};
constexpr int kVuY = 287;
constexpr int kCloseX = 308, kCloseY = 4;
constexpr int kLinkX = 80, kLinkY = 166, kLinkW = 162, kLinkH = 49;

// Offsets of the pictures inside their controls.
constexpr int kPadDX = 4, kPadDY = 4, kPadW = 18, kPadH = 15;
constexpr int kKnobDX = 3, kKnobDY = 3, kKnobSize = 19;
constexpr int kRunDX = 7, kRunDY = 7, kRunW = 10, kRunH = 5;
constexpr int kDigitDX = 4, kDigitDY = 5, kDigitW = 6, kDigitH = 9;
constexpr int kArrowDX = 14, kArrowUpDY = 2, kArrowDnDY = 10, kArrowW = 9, kArrowH = 8;
constexpr int kBarW = 5, kBarH = 72;
constexpr int kHeadW = 26, kHeadH = 24;
constexpr int kDropDX = 107, kDropW = 20;
}  // namespace layout

namespace colour {
constexpr Rgb kChassisTop = rgb(52, 60, 72);
constexpr Rgb kChassisBottom = rgb(36, 42, 51);
constexpr Rgb kPanel = rgb(24, 29, 36);
constexpr Rgb kBand = rgb(31, 37, 46);
constexpr Rgb kEdgeDark = rgb(9, 11, 14);
constexpr Rgb kEdgeLight = rgb(66, 75, 89);
constexpr Rgb kText = rgb(223, 232, 255);     // menu item text
constexpr Rgb kTextDim = rgb(134, 142, 155);  // menu frame line
constexpr Rgb kLcd = rgb(13, 16, 20);
constexpr Rgb kAmber = rgb(255, 172, 52);
constexpr Rgb kPlayhead = rgb(255, 84, 58);
constexpr Rgb kKnobText = rgb(200, 200, 200);
constexpr Rgb kPresetText = rgb(77, 84, 93);
constexpr Rgb kPresetField = rgb(216, 226, 225);
}  // namespace colour

// Control looks, drawn at absolute positions of the face they sit on.
void step_pad(cairo_t* cr, double x, double y, bool lit);
void knob(cairo_t* cr, double x, double y, int note);  // note < 0: no pointer
void channel_led(cairo_t* cr, double x, double y, bool lit);
void push_button(cairo_t* cr, double x, double y, double w, double h, bool pressed);
void run_light(cairo_t* cr, double x, double y, bool lit);
void spinner(cairo_t* cr, double x, double y);
void spin_arrow(cairo_t* cr, double x, double y, bool up, bool pressed);
void spin_digit(cairo_t* cr, double x, double y, int digit);  // digit < 0: empty cell
void meter_bar(cairo_t* cr, double x, double y, bool lit);
void preset_box(cairo_t* cr, double x, double y, bool drop_pressed);
void slider_head(cairo_t* cr, double x, double y);
void close_button(cairo_t* cr, double x, double y, bool pressed);

// Glyphs with per-pixel alpha, drawn at the origin.
void glyph_random(cairo_t* cr);
void glyph_styles(cairo_t* cr);
void glyph_bank(cairo_t* cr);
void glyph_help(cairo_t* cr);

cairo_surface_t* editor_face();
cairo_surface_t* about_face();

// Writes the whole skin set into dir; false when a file could not be written.
bool write_skins(const std::string& dir);
// Composes the face with its controls in a playing state from the PNGs in dir.
bool write_preview(const std::string& skin_dir, const std::string& out);
// Nearest-neighbour enlargement of a rectangle of a PNG, for close inspection.
bool write_zoom(const std::string& in, int x, int y, int w, int h, int scale, const std::string& out);

std::string note_name(int note);

}  // namespace skingen
