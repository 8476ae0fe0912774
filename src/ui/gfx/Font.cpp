#include "Font.h"

#include "FontFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

namespace kest::ui {

namespace {

using detail::FaceFile;

struct Pin {
  std::string regular;
  std::string bold;
};


class FontInstanceImpl;

// Everything FreeType holds, behind one lock: FreeType objects
// are not thread safe, and controls draw text from more than one thread.
struct FontSystem {
  std::mutex mutex;
  FT_Library library = nullptr;
  std::map<std::string, Pin> pins;
  std::map<std::tuple<std::string, std::string, int, bool>, std::shared_ptr<detail::FontInstance>>
      cache;

  FontSystem() {
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType cannot start");
  }
  ~FontSystem() {
    // The faces go before the library that made them.
    cache.clear();
    FT_Done_FreeType(library);
  }

  FaceFile Resolve(const std::string& face, bool bold) {
    const auto pin = pins.find(detail::FoldCase(face));
    if (pin != pins.end()) {
      if (bold && !pin->second.bold.empty()) return {pin->second.bold, 0, false};
      return {pin->second.regular, 0, bold};
    }
    FaceFile f;
    if (detail::FindFaceFile(face, bold, f) || detail::FindFaceFile(kFallbackFace, bold, f)) return f;
    throw std::runtime_error("No font found for face \"" + face + "\" nor for \"" + kFallbackFace +
                             "\"");
  }
};

FontSystem& Fonts() {
  static FontSystem system;
  return system;
}

class FontInstanceImpl : public detail::FontInstance {
public:
  FontInstanceImpl(FT_Library lib, const FaceFile& file, int height) : fSynthBold(file.synthBold) {
    if (FT_New_Face(lib, file.path.c_str(), file.index, &fFace) != 0) {
      throw std::runtime_error("Cannot open font file " + file.path);
    }
    int em = 12;
    if (height < 0) {
      em = -height;
    } else if (height > 0) {
      const double cell = fFace->ascender - fFace->descender;
      em = cell > 0 ? static_cast<int>(std::lround(height * fFace->units_per_EM / cell)) : height;
    }
    em = std::clamp(em, 1, 2000);
    FT_Set_Pixel_Sizes(fFace, 0, static_cast<FT_UInt>(em));
    const FT_Size_Metrics& m = fFace->size->metrics;
    fMetrics.ascent = static_cast<int>((m.ascender + 63) >> 6);
    fMetrics.descent = static_cast<int>((-m.descender + 63) >> 6);
    fMetrics.height = fMetrics.ascent + fMetrics.descent;
    fMetrics.internalLeading = std::max(0, fMetrics.height - em);
    fMetrics.externalLeading =
        std::max(0, static_cast<int>((m.height + 32) >> 6) - fMetrics.height);
    fMetrics.aveCharWidth = Render('x').advance;
  }
  ~FontInstanceImpl() override { FT_Done_Face(fFace); }

  const TextMetrics& Metrics() const override { return fMetrics; }

  const detail::Glyph& GlyphFor(char32_t c) override {
    std::lock_guard lock(Fonts().mutex);
    auto it = fGlyphs.find(c);
    if (it == fGlyphs.end()) it = fGlyphs.emplace(c, Render(c)).first;
    return it->second;
  }

private:
  detail::Glyph Render(char32_t c) {
    detail::Glyph g;
    if (FT_Load_Char(fFace, c, FT_LOAD_DEFAULT) != 0) return g;
    FT_GlyphSlot slot = fFace->glyph;
    if (fSynthBold) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(slot->bitmap.width);
    g.height = static_cast<int>(slot->bitmap.rows);
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y) {
      const unsigned char* row =
          slot->bitmap.buffer + static_cast<std::ptrdiff_t>(y) * slot->bitmap.pitch;
      std::copy_n(row, g.width, g.coverage.data() + static_cast<std::size_t>(y) * g.width);
    }
    return g;
  }

  FT_Face fFace = nullptr;
  bool fSynthBold;
  TextMetrics fMetrics;
  std::unordered_map<char32_t, detail::Glyph> fGlyphs;
};

} // namespace

void PinFontFace(const std::string& face, const std::string& regularFile,
                 const std::string& boldFile) {
  auto& fs = Fonts();
  std::lock_guard lock(fs.mutex);
  fs.pins[detail::FoldCase(face)] = Pin{regularFile, boldFile};
  fs.cache.clear();
}

void ClearPinnedFontFaces() {
  auto& fs = Fonts();
  std::lock_guard lock(fs.mutex);
  fs.pins.clear();
  fs.cache.clear();
}

bool FontFaceInstalled(std::string_view face) {
  auto& fs = Fonts();
  std::lock_guard lock(fs.mutex);
  if (fs.pins.count(detail::FoldCase(face)) != 0) return true;
  FaceFile f;
  return detail::FindFaceFile(std::string(face), false, f);
}

std::string FontFileFor(const Font& font) {
  auto& fs = Fonts();
  std::lock_guard lock(fs.mutex);
  return fs.Resolve(font.name, font.Bold()).path;
}

namespace detail {

std::shared_ptr<FontInstance> OpenFont(const Font& font) {
  auto& fs = Fonts();
  std::lock_guard lock(fs.mutex);
  const auto key = std::make_tuple(detail::FoldCase(font.name), std::string(), font.height, font.Bold());
  auto it = fs.cache.find(key);
  if (it != fs.cache.end()) {
    return it->second;
  }
  const FaceFile file = fs.Resolve(font.name, font.Bold());
  auto inst = std::make_shared<FontInstanceImpl>(fs.library, file, font.height);
  fs.cache[key] = inst;
  return inst;
}

} // namespace detail
} // namespace kest::ui
