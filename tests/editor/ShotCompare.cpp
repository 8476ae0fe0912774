// kest_shot_compare: how close two pictures of the editor are (the face
// under X11 and under Wine): the pixels that differ, where they lie (a grid
// of 32 x 32 cells, the busiest first), and a picture for people to look
// at: the first, the second, and the first dimmed with the differing pixels
// in red, side by side.
//
//   kest_shot_compare FIRST.png SECOND.png SIDE_BY_SIDE.png
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "ui/gfx/Png.h"

namespace {

using namespace kest::ui;

Bitmap Load(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  const DecodedPng png = DecodePng(bytes);
  Bitmap b(png.width, png.height);
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x) {
      const std::size_t i = 3 * (static_cast<std::size_t>(y) * png.width + x);
      b.SetPixel(x, y, MakePixel(png.rgb[i], png.rgb[i + 1], png.rgb[i + 2]));
    }
  return b;
}

// Copies a picture into another at (left, 0).
void Put(Bitmap& into, const Bitmap& from, int left) {
  for (int y = 0; y < from.Height(); ++y)
    for (int x = 0; x < from.Width(); ++x)
      into.SetPixel(left + x, y, from.PixelAt(x, y));
}

int Channel(Pixel p, int shift) {
  return static_cast<int>((p >> shift) & 255);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: kest_shot_compare FIRST.png SECOND.png SIDE_BY_SIDE.png\n");
    return 2;
  }
  try {
    const Bitmap a = Load(argv[1]), b = Load(argv[2]);
    const int w = std::min(a.Width(), b.Width()), h = std::min(a.Height(), b.Height());
    Bitmap side(a.Width() + b.Width() + w + 16, std::max(a.Height(), b.Height()));
    Put(side, a, 0);
    Put(side, b, a.Width() + 8);
    const int markLeft = a.Width() + b.Width() + 16;
    std::map<std::pair<int, int>, int> cells;
    long differing = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Pixel pa = a.PixelAt(x, y);
        const bool same = (pa & 0xFFFFFFu) == (b.PixelAt(x, y) & 0xFFFFFFu);
        const int grey = (Channel(pa, 16) + Channel(pa, 8) + Channel(pa, 0)) / 6 + 128;
        side.SetPixel(markLeft + x, y, same ? MakePixel(grey, grey, grey) : MakePixel(255, 0, 0));
        if (same) continue;
        ++differing;
        ++cells[{x / 32 * 32, y / 32 * 32}];
      }
    SavePng(side, argv[3]);
    std::printf("%s %dx%d, %s %dx%d: %ld of %d pixels differ (%.2f %%)\n", argv[1], a.Width(),
                a.Height(), argv[2], b.Width(), b.Height(), differing, w * h,
                100.0 * static_cast<double>(differing) / (w * h));
    std::vector<std::pair<int, std::pair<int, int>>> busiest;
    for (const auto& [cell, n] : cells)
      busiest.push_back({n, cell});
    std::sort(busiest.rbegin(), busiest.rend());
    for (std::size_t i = 0; i < busiest.size() && i < 12; ++i)
      std::printf("  %4d in the cell at %3d,%3d\n", busiest[i].first, busiest[i].second.first,
                  busiest[i].second.second);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kest_shot_compare: %s\n", e.what());
    return 1;
  }
}
