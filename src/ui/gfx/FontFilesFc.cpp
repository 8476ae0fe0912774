#include "FontFiles.h"

#include <fontconfig/fontconfig.h>

namespace kest::ui::detail {

namespace {

// fontconfig's configuration lives from the first look-up to the exit.
struct FcSession {
  FcSession() { FcInit(); }
  ~FcSession() { FcFini(); }
};

} // namespace

// fontconfig always finds something: a match of another family is refused.
bool FindFaceFile(const std::string& face, bool bold, FaceFile& out) {
  static FcSession session;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pat, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  FcPatternDestroy(pat);
  if (match == nullptr) return false;
  bool sameFamily = false;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    if (FoldCase(reinterpret_cast<const char*>(family)) == FoldCase(face)) sameFamily = true;
  }
  FcChar8* file = nullptr;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;
  const bool ok = sameFamily && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    out.path = reinterpret_cast<const char*>(file);
    out.index = index;
    out.synthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
  }
  FcPatternDestroy(match);
  return ok;
}

} // namespace kest::ui::detail
