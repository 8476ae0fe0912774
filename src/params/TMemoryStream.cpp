#include "TMemoryStream.h"

#include <algorithm>
#include <cstring>

namespace kest {

TMemoryStream::TMemoryStream(const void* data, std::size_t size)
    : fBytes(static_cast<const std::uint8_t*>(data),
             static_cast<const std::uint8_t*>(data) + size) {}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (fPosition >= fBytes.size()) return 0;
  const std::size_t n = std::min(count, fBytes.size() - fPosition);
  std::memcpy(buffer, fBytes.data() + fPosition, n);
  fPosition += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return;
  if (fPosition + count > fBytes.size()) fBytes.resize(fPosition + count);
  std::memcpy(fBytes.data() + fPosition, buffer, count);
  fPosition += count;
}

} // namespace kest
