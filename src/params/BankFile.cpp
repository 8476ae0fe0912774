#include "BankFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "uKestUtils.h"

namespace kest {

namespace {

template <typename T> void Put(TMemoryStream& s, T value) {
  unsigned char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T)); // little-endian hosts only (x86-64)
  s.Write(bytes, sizeof(T));
}

template <typename T> T Get(TMemoryStream& s) {
  unsigned char bytes[sizeof(T)];
  if (s.Read(bytes, sizeof(T)) != sizeof(T)) throw EBankRead(kReadError);
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

void WriteHeader(TMemoryStream& s, int32_t size) {
  s.Write(kBankMagic, 4);
  Put<std::uint8_t>(s, kBankVersion);
  Put<int32_t>(s, kNumPresets);
  Put<int32_t>(s, size);
}

void WriteValue(TMemoryStream& s, TVSTParType type, double value) {
  switch (type) {
  case ptFloat:
    Put<double>(s, value);
    break;
  case ptInt:
    Put<int32_t>(s, RoundEven(value));
    break;
  default:
    Put<std::uint8_t>(s, static_cast<std::uint8_t>(std::clamp(RoundEven(value), 0, 255)));
    break;
  }
}

// Values come back into the parameter's range as they are read; a value
// within the range keeps its bytes. Non-finite ones become the default.
double ReadValue(TMemoryStream& s, const TVSTParam& row) {
  double v;
  switch (row._Type) {
  case ptFloat:
    v = Get<double>(s);
    if (!std::isfinite(v)) return row.Val;
    break;
  case ptInt:
    v = Get<int32_t>(s);
    break;
  default:
    v = Get<std::uint8_t>(s);
    break;
  }
  return std::clamp(v, static_cast<double>(row.Min), static_cast<double>(row.Max));
}

} // namespace

void WriteBank(TMemoryStream& stream, const std::array<const TParamList*, kNumPresets>& presets) {
  const auto& table = ParamTable();
  stream.Seek(0);
  WriteHeader(stream, 0);
  for (const TParamList* preset : presets) {
    const std::string& name = preset->Preset();
    const std::size_t length = std::min(name.size(), kMaxPresetNameLength);
    Put<std::uint8_t>(stream, static_cast<std::uint8_t>(length));
    stream.Write(name.data(), length);
    for (int i = 0; i < kNumParams; ++i)
      WriteValue(stream, table[i]._Type, (*preset)[i].Value());
  }
  const auto size = static_cast<int32_t>(stream.Size());
  stream.Seek(0);
  WriteHeader(stream, size);
  stream.Seek(stream.Size());
}

BankData ReadBank(TMemoryStream& stream) {
  stream.Seek(0);
  std::uint8_t header[kBankHeaderSize];
  if (stream.Read(header, kBankHeaderSize) < kBankHeaderSize) throw EBankRead(kUnsupportedFormat);
  if (std::memcmp(header, kBankMagic, 4) != 0) throw EBankRead(kUnsupportedFormat);
  if (header[4] != kBankVersion) throw EBankRead(kNewVersion);
  int32_t size;
  std::memcpy(&size, header + 9, 4);
  if (size < 0 || static_cast<std::size_t>(size) != stream.Size()) throw EBankRead(kCorrupted);
  // The preset count field is not examined: the format always holds 32.

  const auto& table = ParamTable();
  BankData bank;
  for (PresetData& preset : bank) {
    const auto length = Get<std::uint8_t>(stream);
    preset.name.resize(length);
    if (stream.Read(preset.name.data(), length) != length) throw EBankRead(kReadError);
    for (int i = 0; i < kNumParams; ++i)
      preset.values[i] = ReadValue(stream, table[i]);
  }
  return bank;
}

} // namespace kest
