#include "HostText.h"

#include <cstring>

namespace kest {

void CopyHostText(char* dest, std::string_view text, std::size_t capacity) {
  if (dest == nullptr || capacity == 0) return;
  std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  if (n < text.size()) {
    // Back off continuation bytes so a multi-byte character is dropped whole.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
      --n;
  }
  std::memcpy(dest, text.data(), n);
  dest[n] = '\0';
}

} // namespace kest
