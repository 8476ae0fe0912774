#pragma once
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "MessageBoxService.h"
#include "TPresetList.h"

// Messages shown since the test began, and a snapshot of a whole bank.
struct MessageLog {
  MessageLog() { kest::RecordedMessages().Clear(); }
  std::vector<kest::RecordedMessage> All() const { return kest::RecordedMessages().Messages(); }
};

inline std::vector<std::uint8_t> SaveBytes(const TPresetList& bank) {
  kest::TMemoryStream s;
  bank.SaveToStream(s);
  return s.Bytes();
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void PutInt32(std::vector<std::uint8_t>& bytes, std::size_t at, int32_t v) {
  std::memcpy(bytes.data() + at, &v, 4);
}
