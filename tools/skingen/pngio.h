// PNG output with a chosen colour type and no time-dependent chunks, so that
// the same drawing always gives the same bytes.
#pragma once

#include <cairo.h>

#include <string>

namespace skingen {

// Writes an image surface as 8-bit RGB (alpha = false) or 8-bit RGBA with
// straight (not premultiplied) colour. Returns false and prints why on failure.
bool write_png(const std::string& path, cairo_surface_t* surface, bool alpha);

}  // namespace skingen
