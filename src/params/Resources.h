#pragma once
// Resources carried inside the module (the default bank, the skins). On every
// platform they are found by name and type through this one function.
#include <cstddef>
#include <optional>
#include <string_view>

namespace kest {

struct ResourceView {
  const unsigned char* data;
  std::size_t size;
};

// The resource of that name and type ("BANK", "PNG"), or nothing.
std::optional<ResourceView> FindResource(std::string_view name, std::string_view type);

} // namespace kest
