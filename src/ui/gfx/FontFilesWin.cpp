#include "FontFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace kest::ui::detail {

namespace {

struct IndexedFace {
  FaceFile file;
  bool bold = false;
  bool italic = false;
  bool plain = false; // the family's everyday style ("Regular", "Bold"), not "Light" or "Condensed"
};

using FaceIndex = std::map<std::string, std::vector<IndexedFace>>; // by folded family

std::filesystem::path WindowsFontFolder() {
  wchar_t dir[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(dir) / L"Fonts";
}

// Fonts installed for the user alone (Windows 10 and later).
std::filesystem::path UserFontFolder() {
  wchar_t dir[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(dir) / L"Microsoft" / L"Windows" / L"Fonts";
}

// FreeType opens files by narrow name: a name with characters outside ASCII
// goes by its short (8.3) form, or not at all.
bool NarrowPath(const std::filesystem::path& p, std::string& out) {
  std::wstring w = p.wstring();
  if (std::any_of(w.begin(), w.end(), [](wchar_t c) { return c > 0x7f; })) {
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(w.c_str(), shortName, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    w.assign(shortName, n);
    if (std::any_of(w.begin(), w.end(), [](wchar_t c) { return c > 0x7f; })) return false;
  }
  out.assign(w.begin(), w.end());
  return true;
}

bool IsFontFile(const std::filesystem::path& p) {
  const std::string ext = FoldCase(p.extension().string());
  return ext == ".ttf" || ext == ".ttc" || ext == ".otf";
}

void IndexFile(FT_Library lib, const std::string& path, FaceIndex& index) {
  FT_Long count = 1;
  for (FT_Long i = 0; i < count; ++i) {
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), i, &face) != 0) return;
    count = face->num_faces;
    if (face->family_name != nullptr) {
      IndexedFace f;
      f.file.path = path;
      f.file.index = static_cast<int>(i);
      f.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
      f.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
      const std::string style = face->style_name != nullptr ? FoldCase(face->style_name) : "";
      f.plain = style == "regular" || style == "bold" || style == "normal" || style == "book";
      index[FoldCase(face->family_name)].push_back(f);
    }
    FT_Done_Face(face);
  }
}

// Every face of the font folders by family, read once: the folders change
// only when fonts are installed, which a running editor need not follow.
FaceIndex BuildIndex() {
  FaceIndex index;
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return index;
  for (const std::filesystem::path& folder : {WindowsFontFolder(), UserFontFolder()}) {
    if (folder.empty()) continue;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
      std::string path;
      if (IsFontFile(it->path()) && NarrowPath(it->path(), path)) IndexFile(lib, path, index);
    }
  }
  FT_Done_FreeType(lib);
  return index;
}

} // namespace

// An upright face is preferred to an italic one, then the asked weight, then
// the everyday style.
bool FindFaceFile(const std::string& face, bool bold, FaceFile& out) {
  static const FaceIndex index = BuildIndex();
  const auto family = index.find(FoldCase(face));
  if (family == index.end()) return false;
  const auto cost = [bold](const IndexedFace& f) { return 4 * f.italic + 2 * (f.bold != bold) + !f.plain;
  };
  const IndexedFace& best = *std::min_element(
      family->second.begin(), family->second.end(),
      [&](const IndexedFace& a, const IndexedFace& b) { return cost(a) < cost(b); });
  out = best.file;
  out.synthBold = bold && !best.bold;
  return true;
}

} // namespace kest::ui::detail
