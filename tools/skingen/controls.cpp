// The look of each control in its resting and its active state.
#include "skin.h"

#include <cmath>

namespace skingen {
namespace {

using namespace colour;

constexpr Rgb kKeyTop = rgb(82, 92, 107);
constexpr Rgb kKeyBottom = rgb(54, 61, 72);
constexpr Rgb kKeyDownTop = rgb(30, 35, 42);
constexpr Rgb kKeyDownBottom = rgb(44, 50, 60);

void highlight_line(cairo_t* cr, double x0, double x1, double y, double alpha) {
  cairo_move_to(cr, x0, y);
  cairo_line_to(cr, x1, y);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 1, 1, 1, alpha);
  cairo_stroke(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

void radial_fill(cairo_t* cr, double cx, double cy, double r, Rgb inner, Rgb outer) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(p, 0, inner.r, inner.g, inner.b);
  cairo_pattern_add_color_stop_rgb(p, 1, outer.r, outer.g, outer.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// 5 x 7 digits, one string per row, for crisp numbers at a 6 x 9 cell.
constexpr const char* kDigits[10][7] = {
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
};

}  // namespace

void step_pad(cairo_t* cr, double x, double y, bool lit) {
  round_rect(cr, x + 0.5, y + 0.5, 17, 14, 2.5);
  if (lit)
    fill_vgrad(cr, y, y + 15, rgb(255, 214, 128), rgb(244, 146, 28), true);
  else
    fill_vgrad(cr, y, y + 15, kKeyTop, kKeyBottom, true);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  highlight_line(cr, x + 3, x + 15, y + 1.5, lit ? 0.55 : 0.14);
  if (lit) {
    // A soft hot spot keeps the lit pad reading as light, not as paint.
    cairo_save(cr);
    round_rect(cr, x + 1, y + 1, 16, 13, 2);
    cairo_clip(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x + 9, y + 7.5, 0, x + 9, y + 7.5, 8);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.96, 0.82, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.85, 0.5, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
  }
}

void knob(cairo_t* cr, double x, double y, int note) {
  const double cx = x + 9.5, cy = y + 9.5;
  const double a0 = 0.75 * M_PI, span = 1.5 * M_PI;
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_width(cr, 2.2);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, 8.1, a0, a0 + span);
  set(cr, kLcd);
  cairo_stroke(cr);
  const double a = a0 + span * (note < 0 ? 0 : note) / 127.0;
  if (note > 0) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 8.1, a0, a);
    set(cr, kAmber);
    cairo_stroke(cr);
  }
  // Cap, lit from above.
  circle(cr, cx, cy, 6.0);
  set(cr, kEdgeDark);
  cairo_fill(cr);
  circle(cr, cx, cy, 5.2);
  fill_vgrad(cr, cy - 5, cy + 5, rgb(128, 138, 154), rgb(58, 65, 77));
  if (note >= 0) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.7);
    cairo_move_to(cr, cx + 1.2 * std::cos(a), cy + 1.2 * std::sin(a));
    cairo_line_to(cr, cx + 4.6 * std::cos(a), cy + 4.6 * std::sin(a));
    set(cr, rgb(246, 248, 252));
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void channel_led(cairo_t* cr, double x, double y, bool lit) {
  const double cx = x + 6.5, cy = y + 6.5;
  cairo_save(cr);
  if (lit) {
    cairo_rectangle(cr, x, y, 13, 13);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 5.5, cx, cy, 9.5);
    cairo_pattern_add_color_stop_rgba(p, 0, kAmber.r, kAmber.g, kAmber.b, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, kAmber.r, kAmber.g, kAmber.b, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  circle(cr, cx, cy, 6.2);
  fill_vgrad(cr, cy - 6, cy + 6, rgb(8, 10, 13), rgb(58, 66, 78));
  circle(cr, cx, cy, 4.7);
  if (lit)
    radial_fill(cr, cx - 0.8, cy - 0.8, 5.2, rgb(255, 242, 196), rgb(236, 128, 14));
  else
    radial_fill(cr, cx - 0.8, cy - 0.8, 5.2, rgb(98, 70, 36), rgb(44, 30, 14));
  circle(cr, cx - 1.6, cy - 1.7, 1.4);
  cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.7 : 0.22);
  cairo_fill(cr);
  cairo_restore(cr);
}

void push_button(cairo_t* cr, double x, double y, double w, double h, bool pressed) {
  round_rect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 3);
  if (pressed)
    fill_vgrad(cr, y, y + h, kKeyDownTop, kKeyDownBottom, true);
  else
    fill_vgrad(cr, y, y + h, kKeyTop, kKeyBottom, true);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (pressed) {
    highlight_line(cr, x + 3, x + w - 3, y + h - 1.5, 0.08);
    cairo_move_to(cr, x + 2, y + 1.5);
    cairo_line_to(cr, x + w - 2, y + 1.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_stroke(cr);
  } else {
    highlight_line(cr, x + 3, x + w - 3, y + 1.5, 0.16);
  }
}

void run_light(cairo_t* cr, double x, double y, bool lit) {
  round_rect(cr, x + 0.5, y + 0.5, 9, 4, 1.6);
  if (lit) {
    fill_vgrad(cr, y, y + 5, rgb(255, 150, 120), rgb(236, 52, 30));
    // White-hot core so the light stands out from the amber steps below.
    cairo_rectangle(cr, x + 2, y + 1, 6, 2);
    set(cr, rgb(255, 236, 224), 0.9);
    cairo_fill(cr);
  } else {
    fill_vgrad(cr, y, y + 5, rgb(60, 26, 22), rgb(40, 17, 15));
  }
}

void spinner(cairo_t* cr, double x, double y) {
  round_rect(cr, x + 0.5, y + 0.5, 24, 18, 2.5);
  set(cr, kLcd);
  cairo_fill_preserve(cr);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  highlight_line(cr, x + 3, x + 22, y + 18.5, 0.07);
  spin_arrow(cr, x + layout::kArrowDX, y + layout::kArrowUpDY, true, false);
  spin_arrow(cr, x + layout::kArrowDX, y + layout::kArrowDnDY, false, false);
}

void spin_arrow(cairo_t* cr, double x, double y, bool up, bool pressed) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, layout::kArrowW, layout::kArrowH);
  cairo_clip(cr);
  set(cr, kLcd);
  cairo_paint(cr);
  round_rect(cr, x + 0.5, y + 0.5, 8, 7, 1.5);
  if (pressed)
    fill_vgrad(cr, y, y + 8, kKeyDownTop, kKeyDownBottom);
  else
    fill_vgrad(cr, y, y + 8, kKeyTop, kKeyBottom);
  const double cx = x + 4.5, ty = up ? y + 2.5 : y + 5.5, by = up ? y + 5.5 : y + 2.5;
  cairo_move_to(cr, cx - 2.5, by);
  cairo_line_to(cr, cx + 2.5, by);
  cairo_line_to(cr, cx, ty);
  cairo_close_path(cr);
  set(cr, pressed ? kAmber : kText);
  cairo_fill(cr);
  cairo_restore(cr);
}

void spin_digit(cairo_t* cr, double x, double y, int digit) {
  cairo_rectangle(cr, x, y, layout::kDigitW, layout::kDigitH);
  set(cr, kLcd);
  cairo_fill(cr);
  if (digit < 0 || digit > 9) return;
  set(cr, kAmber);
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 5; ++c)
      if (kDigits[digit][r][c] == '#') cairo_rectangle(cr, x + 1 + c, y + 1 + r, 1, 1);
  cairo_fill(cr);
}

void meter_bar(cairo_t* cr, double x, double y, bool lit) {
  cairo_rectangle(cr, x, y, layout::kBarW, layout::kBarH);
  set(cr, kLcd);
  cairo_fill(cr);
  for (int r = 0; r < layout::kBarH; ++r) {
    // Two lit rows and one gap, counted from the bottom, so the bar reads as
    // segments; each row stands for 1/1.2 dB below full scale.
    if ((layout::kBarH - 1 - r) % 3 == 2) continue;
    const double db = -r / 1.2;
    Rgb c = db > -6 ? rgb(255, 72, 52) : db > -18 ? rgb(250, 206, 60) : rgb(84, 222, 112);
    if (!lit) c = mix(kLcd, c, 0.2);
    cairo_rectangle(cr, x, y + r, layout::kBarW, 1);
    set(cr, c);
    cairo_fill(cr);
  }
}

void preset_box(cairo_t* cr, double x, double y, bool drop_pressed) {
  using namespace layout;
  // Name field: the inline editor paints the same colour over it.
  cairo_save(cr);
  round_rect(cr, x + 0.5, y + 0.5, 126, 22, 3);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke_preserve(cr);
  cairo_clip(cr);
  cairo_rectangle(cr, x + 1, y + 1, kDropDX - 1, 21);
  set(cr, kPresetField);
  cairo_fill(cr);
  cairo_rectangle(cr, x + 1, y + 1, kDropDX - 1, 1);
  set(cr, rgb(170, 180, 182));
  cairo_fill(cr);
  cairo_rectangle(cr, x + kDropDX, y + 1, kDropW - 1, 21);
  if (drop_pressed)
    fill_vgrad(cr, y, y + 23, kKeyDownTop, kKeyDownBottom);
  else
    fill_vgrad(cr, y, y + 23, kKeyTop, kKeyBottom);
  cairo_rectangle(cr, x + kDropDX, y + 1, 1, 21);
  set(cr, kEdgeDark);
  cairo_fill(cr);
  if (!drop_pressed) highlight_line(cr, x + kDropDX + 2, x + 125, y + 1.5, 0.16);
  const double cx = x + kDropDX + 10, cy = y + 12 + (drop_pressed ? 1 : 0);
  cairo_move_to(cr, cx - 4, cy - 2);
  cairo_line_to(cr, cx + 4, cy - 2);
  cairo_line_to(cr, cx, cy + 2.5);
  cairo_close_path(cr);
  set(cr, drop_pressed ? kAmber : kText);
  cairo_fill(cr);
  cairo_restore(cr);
}

void slider_head(cairo_t* cr, double x, double y) {
  cairo_save(cr);
  // Drop shadow under the cap.
  for (int i = 0; i < 3; ++i) {
    round_rect(cr, x + 1 - i * 0.5, y + 5 + i * 0.5, 24 + i, 17, 3);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.22);
    cairo_fill(cr);
  }
  round_rect(cr, x + 0.5, y + 3.5, 25, 16, 2.5);
  fill_vgrad(cr, y + 3, y + 20, rgb(226, 231, 238), rgb(146, 154, 166), true);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  highlight_line(cr, x + 3, x + 23, y + 4.5, 0.8);
  // Grip grooves either side of the amber index line.
  for (double gx : {x + 6.5, x + 9.5, x + 16.5, x + 19.5}) {
    cairo_move_to(cr, gx, y + 7);
    cairo_line_to(cr, gx, y + 16);
    cairo_set_source_rgba(cr, 0.1, 0.12, 0.15, 0.45);
    cairo_stroke(cr);
  }
  cairo_rectangle(cr, x + 12, y + 5, 2, 14);
  set(cr, rgb(232, 128, 16));
  cairo_fill(cr);
  cairo_restore(cr);
}

void close_button(cairo_t* cr, double x, double y, bool pressed) {
  round_rect(cr, x + 0.5, y + 0.5, 15, 13, 2.5);
  if (pressed)
    fill_vgrad(cr, y, y + 14, kKeyDownTop, kKeyDownBottom, true);
  else
    fill_vgrad(cr, y, y + 14, kKeyTop, kKeyBottom, true);
  set(cr, kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (!pressed) highlight_line(cr, x + 3, x + 13, y + 1.5, 0.16);
  const double cx = x + 8, cy = y + 7 + (pressed ? 0.5 : 0);
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx - 3, cy - 3);
  cairo_line_to(cr, cx + 3, cy + 3);
  cairo_move_to(cr, cx + 3, cy - 3);
  cairo_line_to(cr, cx - 3, cy + 3);
  set(cr, pressed ? kAmber : kText);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

}  // namespace skingen
