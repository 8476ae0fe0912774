// Writes the default bank file: kestrelphon-bankgen OUTPUT.kst
#include <cstdio>
#include <fstream>

#include "DefaultBank.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.kst\n", argv[0]);
    return 2;
  }
  const auto bank = kest::BuildDefaultBank();
  std::array<const TParamList*, kest::kNumPresets> presets{};
  for (int i = 0; i < kest::kNumPresets; ++i)
    presets[i] = bank[i].get();
  kest::TMemoryStream stream;
  kest::WriteBank(stream, presets);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(stream.Bytes().data()),
            static_cast<std::streamsize>(stream.Size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %zu bytes\n", argv[1], stream.Size());
  return 0;
}
