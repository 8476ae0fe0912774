// Small drawing vocabulary shared by every picture of the skin: colours,
// pinned fonts, text placement and rounded shapes.
#pragma once

#include <cairo.h>

#include <string>

namespace skingen {

struct Rgb {
  double r, g, b;
};

constexpr Rgb rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t);

void set(cairo_t* cr, Rgb c, double alpha = 1.0);

enum class Font { Bold, CondBold, Book };
enum class Align { Left, Centre, Right };

// Faces are loaded from files, never looked up through fontconfig, so the
// pictures do not change with the machine's font configuration.
bool load_fonts(const std::string& dir);
void release_fonts();

// Draws one line of text whose capital letters are vertically centred on ymid.
void text_mid(cairo_t* cr, Font f, double px, double x, double ymid, const std::string& s, Align a, Rgb c,
              double alpha = 1.0);
// Same, with the baseline at y.
void text_base(cairo_t* cr, Font f, double px, double x, double y, const std::string& s, Align a, Rgb c,
               double alpha = 1.0);
double text_width(cairo_t* cr, Font f, double px, const std::string& s);

void round_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// Fills the current path with a vertical gradient between y0 and y1.
void fill_vgrad(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, bool preserve = false);

}  // namespace skingen
