#pragma once
// What the screen shows in a rectangle, as 0xRRGGBB pixels row by row
// (Windows builds only): a copy from the screen's DC, child windows, popups
// and all, as the user sees it.
#include <cstdint>
#include <vector>

namespace kest::host {

std::vector<std::uint32_t> ScreenPixels(int x, int y, int width, int height);

} // namespace kest::host
