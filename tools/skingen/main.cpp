// kest_skingen: draws the editor's skin pictures.
//
//   kest_skingen [--fonts DIR] OUTDIR
//       writes the skin set (KEST_*.png) into OUTDIR
//   kest_skingen [--fonts DIR] --preview OUT.png [--skins DIR]
//       composes the editor in a playing state from the skin files
//   kest_skingen --zoom IN.png X Y W H SCALE OUT.png
//       enlarges a rectangle of a picture for close inspection
#include "skin.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifndef KEST_SKINGEN_FONT_DIR
#define KEST_SKINGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif
#ifndef KEST_SKINGEN_RESOURCES
#define KEST_SKINGEN_RESOURCES "resources"
#endif

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: kest_skingen [--fonts DIR] OUTDIR\n"
               "       kest_skingen [--fonts DIR] --preview OUT.png [--skins DIR]\n"
               "       kest_skingen --zoom IN.png X Y W H SCALE OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string fonts = KEST_SKINGEN_FONT_DIR;
  std::string skins = KEST_SKINGEN_RESOURCES;
  std::string preview;
  std::string out;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--zoom") {
      if (args.size() - i != 8) return usage();
      const auto n = [&](size_t k) { return std::atoi(args[i + k].c_str()); };
      return skingen::write_zoom(args[i + 1], n(2), n(3), n(4), n(5), n(6), args[i + 7]) ? 0 : 1;
    } else if (a == "--fonts" && has_value) {
      fonts = args[++i];
    } else if (a == "--preview" && has_value) {
      preview = args[++i];
    } else if (a == "--skins" && has_value) {
      skins = args[++i];
    } else if (!a.empty() && a[0] != '-' && out.empty()) {
      out = a;
    } else {
      return usage();
    }
  }
  if (preview.empty() == out.empty()) return usage();
  if (!skingen::load_fonts(fonts)) return 1;
  const bool ok = preview.empty() ? skingen::write_skins(out) : skingen::write_preview(skins, preview);
  skingen::release_fonts();
  return ok ? 0 : 1;
}
