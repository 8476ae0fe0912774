#pragma once
// Fonts by face name, pixel height and weight, rendered with FreeType. Faces
// are found through fontconfig; a face that is not installed falls back to
// kFallbackFace. Tests pin faces to font files so that pictures do not depend
// on the machine.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Color.h"

namespace kest::ui {

inline constexpr const char* kFallbackFace = "DejaVu Sans";
inline constexpr int kFontWeightNormal = 400;
inline constexpr int kFontWeightBold = 700;

struct Font {
  std::string name = "Tahoma";
  // Below 0: the character (em) height in pixels; above 0: the cell height
  // (ascent + descent); 0: a default of 12-pixel characters.
  int height = -11;
  int weight = kFontWeightNormal;
  Color color = 0;
  bool Bold() const { return weight >= 600; }
  void SetBold(bool b) { weight = b ? kFontWeightBold : kFontWeightNormal; }
  friend bool operator==(const Font&, const Font&) = default;
};

struct TextMetrics {
  int height = 0; // ascent + descent
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
};

// Uses the given font files for a face name from now on (bold may be empty:
// the regular face is then emboldened).
void PinFontFace(const std::string& face, const std::string& regularFile,
                 const std::string& boldFile = {});
void ClearPinnedFontFaces();
// True when a face of that name is pinned or installed.
bool FontFaceInstalled(std::string_view face);
// The file that draws this font, after pinning and fallback.
std::string FontFileFor(const Font& font);

namespace detail {

struct Glyph {
  int advance = 0; // pen advance in pixels
  int left = 0;    // bitmap offset from the pen position
  int top = 0;     // bitmap top above the baseline
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage; // width * height
};

class FontInstance {
public:
  virtual ~FontInstance() = default;
  virtual const TextMetrics& Metrics() const = 0;
  // The reference stays valid as long as the instance lives.
  virtual const Glyph& GlyphFor(char32_t c) = 0;
};

std::shared_ptr<FontInstance> OpenFont(const Font& font);

} // namespace detail
} // namespace kest::ui
