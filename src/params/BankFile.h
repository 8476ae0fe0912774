#pragma once
// The ".kst" bank file: a 13-byte header (magic A4 'K' 'S' 'T', version 1,
// preset count, file size), then 32 preset records of a length-prefixed name
// and the 108 values, each encoded by its parameter's kind.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "ParamTable.h"
#include "TMemoryStream.h"
#include "TParamList.h"

namespace kest {

inline constexpr int kNumPresets = 32;
inline constexpr std::size_t kBankHeaderSize = 13;
inline constexpr std::uint8_t kBankMagic[4] = {0xA4, 'K', 'S', 'T'};
inline constexpr std::uint8_t kBankVersion = 1;
inline constexpr std::size_t kMaxPresetNameLength = 255;

// The reasons a bank cannot be read, as the user reads them.
inline constexpr const char* kUnsupportedFormat = "The file is an unsupported format.";
inline constexpr const char* kNewVersion = "The file is a new version of Kestrelphon.";
inline constexpr const char* kCorrupted = "The file is corrupted.";
inline constexpr const char* kReadError = "Error reading file.";

class EBankRead : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One preset as read from a file, before it replaces anything.
struct PresetData {
  std::string name;
  std::array<double, kNumParams> values{};
};
using BankData = std::array<PresetData, kNumPresets>;

// Writes the 32 presets; the size field holds the stream's final size.
void WriteBank(TMemoryStream& stream, const std::array<const TParamList*, kNumPresets>& presets);

// Reads a whole bank; throws EBankRead with one of the reasons above.
// Values read from the file are held to their parameter's range; non-finite
// ones come back as the parameter's default.
BankData ReadBank(TMemoryStream& stream);

} // namespace kest
