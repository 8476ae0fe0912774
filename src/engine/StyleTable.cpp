#include "StyleTable.h"

#include <array>

namespace kest {

const TStyle* FindStyle(int number) {
  static const std::array<const TStyle*, kNumStyles> byNumber = [] {
    std::array<const TStyle*, kNumStyles> index{};
    for (const TStyle& s : StylesInMenuOrder()) {
      if (s.Number >= 0 && s.Number < kNumStyles) index[s.Number] = &s;
    }
    return index;
  }();
  if (number < 0 || number >= kNumStyles) return nullptr;
  return byNumber[number];
}

const std::vector<StyleGroup>& StyleMenu() {
  static const std::vector<StyleGroup> menu = [] {
    std::vector<StyleGroup> groups;
    for (const TStyle& s : StylesInMenuOrder()) {
      if (groups.empty() || groups.back().Name != s.Group) groups.push_back({s.Group, {}});
      std::vector<int>& items = groups.back().Items;
      // Fixed steps come first in their group; a line follows the last one.
      if (!s.IsFixedStep() && !items.empty() && FindStyle(items.back()) != nullptr &&
          FindStyle(items.back())->IsFixedStep()) {
        items.push_back(StyleGroup::kSeparator);
      }
      items.push_back(s.Number);
    }
    return groups;
  }();
  return menu;
}

} // namespace kest
