#include "StyleTable.h"

namespace kest {

// A plain search: the audio thread may ask (auto random), so no lazily
// built index that could allocate or lock on first use.
const TStyle* FindStyle(int number) {
  for (const TStyle& s : StylesInMenuOrder()) {
    if (s.Number == number) return &s;
  }
  return nullptr;
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
