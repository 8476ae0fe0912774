#pragma once
// Reads a Kestrelphon bank file (.kst): 32 named presets of 108 plain values.
#include <array>
#include <string>
#include <vector>

namespace kest::render {

inline constexpr int kKstPresets = 32;
inline constexpr int kKstParams = 108;

struct KstPreset {
  std::string name;
  std::array<double, kKstParams> values{}; // each in the parameter's own unit
};

// Throws std::runtime_error naming what is wrong with the file.
std::vector<KstPreset> ReadKstBank(const std::string& path);

} // namespace kest::render
