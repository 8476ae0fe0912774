#include "paint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

namespace skingen {
namespace {

FT_Library g_lib = nullptr;
FT_Face g_ft[3] = {};
cairo_font_face_t* g_face[3] = {};
cairo_font_options_t* g_opts = nullptr;

const char* const kFiles[3] = {"DejaVuSans-Bold.ttf", "DejaVuSansCondensed-Bold.ttf", "DejaVuSans.ttf"};

void select(cairo_t* cr, Font f, double px) {
  cairo_set_font_face(cr, g_face[static_cast<int>(f)]);
  cairo_set_font_size(cr, px);
  cairo_set_font_options(cr, g_opts);
}

double x_for(cairo_t* cr, double x, const std::string& s, Align a) {
  if (a == Align::Left) return x;
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  return a == Align::Centre ? x - e.x_advance / 2.0 : x - e.x_advance;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

void set(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

bool load_fonts(const std::string& dir) {
  if (FT_Init_FreeType(&g_lib) != 0) return false;
  for (int i = 0; i < 3; ++i) {
    const std::string path = dir + "/" + kFiles[i];
    if (FT_New_Face(g_lib, path.c_str(), 0, &g_ft[i]) != 0) {
      std::fprintf(stderr, "skingen: cannot load font %s\n", path.c_str());
      return false;
    }
    g_face[i] = cairo_ft_font_face_create_for_ft_face(g_ft[i], 0);
  }
  // Fixed rendering options: grey anti-aliasing with light hinting keeps 8-10
  // pixel labels crisp without depending on the desktop's settings.
  g_opts = cairo_font_options_create();
  cairo_font_options_set_antialias(g_opts, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(g_opts, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(g_opts, CAIRO_HINT_METRICS_ON);
  return true;
}

void release_fonts() {
  for (int i = 0; i < 3; ++i) {
    if (g_face[i]) cairo_font_face_destroy(g_face[i]);
    g_face[i] = nullptr;
  }
  // Cairo may keep the faces in its cache until reset; free FreeType last.
  cairo_debug_reset_static_data();
  for (int i = 0; i < 3; ++i) {
    if (g_ft[i]) FT_Done_Face(g_ft[i]);
    g_ft[i] = nullptr;
  }
  if (g_opts) cairo_font_options_destroy(g_opts);
  g_opts = nullptr;
  if (g_lib) FT_Done_FreeType(g_lib);
  g_lib = nullptr;
}

void text_base(cairo_t* cr, Font f, double px, double x, double y, const std::string& s, Align a, Rgb c,
               double alpha) {
  cairo_save(cr);
  select(cr, f, px);
  set(cr, c, alpha);
  cairo_move_to(cr, std::round(x_for(cr, x, s, a)), y);
  cairo_show_text(cr, s.c_str());
  cairo_restore(cr);
}

void text_mid(cairo_t* cr, Font f, double px, double x, double ymid, const std::string& s, Align a, Rgb c,
              double alpha) {
  cairo_save(cr);
  select(cr, f, px);
  cairo_text_extents_t e;
  cairo_text_extents(cr, "H", &e);
  const double base = std::round(ymid - e.y_bearing / 2.0);
  cairo_restore(cr);
  text_base(cr, f, px, x, base, s, a, c, alpha);
}

double text_width(cairo_t* cr, Font f, double px, const std::string& s) {
  cairo_save(cr);
  select(cr, f, px);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_restore(cr);
  return e.x_advance;
}

void round_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  const double d = M_PI / 180.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -90 * d, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, 90 * d);
  cairo_arc(cr, x + r, y + h - r, r, 90 * d, 180 * d);
  cairo_arc(cr, x + r, y + r, r, 180 * d, 270 * d);
  cairo_close_path(cr);
}

void fill_vgrad(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, bool preserve) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  if (preserve)
    cairo_fill_preserve(cr);
  else
    cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace skingen
