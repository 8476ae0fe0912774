#pragma once
// A growable byte stream with a position, used for resources and bank files.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kest {

class TMemoryStream {
public:
  TMemoryStream() = default;
  TMemoryStream(const void* data, std::size_t size);

  // Reads up to count bytes at the position; answers how many were read.
  std::size_t Read(void* buffer, std::size_t count);
  // Writes at the position, growing the stream as needed.
  void Write(const void* buffer, std::size_t count);
  void Seek(std::size_t position) { fPosition = position; }
  std::size_t Position() const { return fPosition; }
  std::size_t Size() const { return fBytes.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return fBytes; }
  std::vector<std::uint8_t>& Bytes() { return fBytes; }

private:
  std::vector<std::uint8_t> fBytes;
  std::size_t fPosition = 0;
};

} // namespace kest
