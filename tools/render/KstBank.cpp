#include "KstBank.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kest::render {

namespace {

// How the file stores each parameter: the four continuous ones as doubles,
// range and style as 32-bit integers, every other one as a byte.
int ValueSize(int index) {
  if (index <= 3) return 8;
  if (index == 105 || index == 106) return 4;
  return 1;
}

class Reader {
public:
  Reader(const std::vector<unsigned char>& bytes, const std::string& path)
      : fBytes(bytes), fPath(path) {}
  const unsigned char* Take(std::size_t n) {
    if (fBytes.size() - fAt < n) {
      throw std::runtime_error("\"" + fPath + "\" is cut short: not a complete bank file");
    }
    const unsigned char* p = fBytes.data() + fAt;
    fAt += n;
    return p;
  }
  std::size_t At() const { return fAt; }

private:
  const std::vector<unsigned char>& fBytes;
  std::string fPath;
  std::size_t fAt = 0;
};

template <typename T> T Little(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof value); // x86-64 and the file are both little-endian
  return value;
}

} // namespace

std::vector<KstPreset> ReadKstBank(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open bank \"" + path + "\"");
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read bank \"" + path + "\"");
  Reader r(bytes, path);
  static const unsigned char kMagic[4] = {0xA4, 'K', 'S', 'T'};
  if (bytes.size() < 13 || std::memcmp(bytes.data(), kMagic, 4) != 0) {
    throw std::runtime_error("\"" + path + "\" is not a Kestrelphon bank file");
  }
  r.Take(4);
  const unsigned version = *r.Take(1);
  if (version != 1) {
    throw std::runtime_error("\"" + path + "\" is a bank of version " + std::to_string(version) +
                             "; this renderer reads version 1");
  }
  r.Take(4); // the preset count: the format always holds 32
  const auto size = Little<int32_t>(r.Take(4));
  if (size < 0 || static_cast<std::size_t>(size) != bytes.size()) {
    throw std::runtime_error("\"" + path + "\" is damaged: its size field says " +
                             std::to_string(size) + " bytes, the file has " +
                             std::to_string(bytes.size()));
  }
  std::vector<KstPreset> bank(kKstPresets);
  for (KstPreset& preset : bank) {
    const std::size_t length = *r.Take(1);
    const unsigned char* name = r.Take(length);
    preset.name.assign(reinterpret_cast<const char*>(name), length);
    for (int i = 0; i < kKstParams; ++i) {
      const unsigned char* p = r.Take(static_cast<std::size_t>(ValueSize(i)));
      switch (ValueSize(i)) {
      case 8: preset.values[static_cast<std::size_t>(i)] = Little<double>(p); break;
      case 4: preset.values[static_cast<std::size_t>(i)] = Little<int32_t>(p); break;
      default: preset.values[static_cast<std::size_t>(i)] = *p; break;
      }
    }
  }
  if (r.At() != bytes.size()) {
    throw std::runtime_error("\"" + path + "\" is damaged: bytes left over after 32 presets");
  }
  return bank;
}

} // namespace kest::render
