#include "Resources.h"

#include <cstring>

namespace kest::resdata {
struct Entry {
  const char* name;
  const char* type;
  const unsigned char* data;
  std::size_t size;
};
extern const Entry kEntries[];
} // namespace kest::resdata

namespace kest {

std::optional<ResourceView> FindResource(std::string_view name, std::string_view type) {
  for (const resdata::Entry* e = resdata::kEntries; e->name != nullptr; ++e) {
    if (name == e->name && type == e->type) return ResourceView{e->data, e->size};
  }
  return std::nullopt;
}

} // namespace kest
