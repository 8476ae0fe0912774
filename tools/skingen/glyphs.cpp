// Button glyphs: light shapes with a soft shadow, on a transparent ground,
// so they sit on the button face in both its raised and pressed states.
#include "skin.h"

#include <cmath>
#include <functional>

namespace skingen {
namespace {

using namespace colour;

// Draws the shape once as a shadow one pixel lower, then in its colour.
void with_shadow(cairo_t* cr, const std::function<void(Rgb, double)>& shape) {
  cairo_save(cr);
  cairo_translate(cr, 0, 1);
  shape(rgb(0, 0, 0), 0.55);
  cairo_restore(cr);
  shape(kText, 1.0);
}

void dot(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

}  // namespace

void glyph_random(cairo_t* cr) {
  // A die showing five.
  with_shadow(cr, [cr](Rgb c, double a) {
    cairo_save(cr);
    round_rect(cr, 5, 5, 12, 12, 2.6);
    for (double px : {8.0, 14.0})
      for (double py : {8.0, 14.0}) dot(cr, px, py, 1.25);
    dot(cr, 11, 11, 1.25);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    set(cr, c, a);
    cairo_fill(cr);
    cairo_restore(cr);
  });
}

void glyph_styles(cairo_t* cr) {
  // Three rising notes under one beam: a scale to choose.
  with_shadow(cr, [cr](Rgb c, double a) {
    cairo_save(cr);
    set(cr, c, a);
    const double heads[3][2] = {{6.0, 16.5}, {11.0, 14.5}, {16.0, 12.5}};
    for (const auto& h : heads) {
      cairo_save(cr);
      cairo_translate(cr, h[0], h[1]);
      cairo_rotate(cr, -0.45);
      cairo_scale(cr, 2.2, 1.6);
      dot(cr, 0, 0, 1);
      cairo_restore(cr);
      cairo_fill(cr);
      // Stem from the head up to the beam.
      const double sx = h[0] + 1.2, top = 6.5 - (sx - 7.2) * 4.0 / 11.2;
      cairo_rectangle(cr, sx, top, 1.2, h[1] - top);
      cairo_fill(cr);
    }
    // Beam over the three stems, rising with the notes.
    cairo_move_to(cr, 7.2, 6.2);
    cairo_line_to(cr, 18.4, 2.2);
    cairo_line_to(cr, 18.4, 4.6);
    cairo_line_to(cr, 7.2, 8.6);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
  });
}

void glyph_bank(cairo_t* cr) {
  // A folder: banks are loaded from and saved to files.
  with_shadow(cr, [cr](Rgb c, double a) {
    cairo_save(cr);
    set(cr, c, a);
    cairo_move_to(cr, 5, 7.5);
    cairo_line_to(cr, 10, 7.5);
    cairo_line_to(cr, 11.5, 9);
    cairo_line_to(cr, 19, 9);
    cairo_line_to(cr, 19, 17);
    cairo_line_to(cr, 5, 17);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
  });
  // Fold line of the front flap.
  cairo_move_to(cr, 5.5, 11.5);
  cairo_line_to(cr, 18.5, 11.5);
  cairo_set_line_width(cr, 1);
  set(cr, rgb(60, 68, 80), 0.9);
  cairo_stroke(cr);
}

void glyph_help(cairo_t* cr) {
  with_shadow(cr, [cr](Rgb c, double a) {
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 12, 11.5, 7.0, 0, 2 * M_PI);
    set(cr, c, a);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    text_mid(cr, Font::Bold, 11, 12, 11.5, "?", Align::Centre, c, a);
    cairo_restore(cr);
  });
}

}  // namespace skingen
