#include "KstBank.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "BankFile.h"
#include "TextCodec.h"

namespace kest::render {

// The file format itself is the parameters layer's (no engine, no plug-in
// object): one reader for the plug-in and the renderer.
std::vector<KstPreset> ReadKstBank(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open bank \"" + path + "\"");
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  if (in.bad()) throw std::runtime_error("cannot read bank \"" + path + "\"");
  TMemoryStream stream(bytes.data(), bytes.size());
  BankData data;
  try {
    data = ReadBank(stream);
  } catch (const EBankRead& e) {
    throw std::runtime_error("bank \"" + path + "\": " + e.what());
  }
  std::vector<KstPreset> bank(kKstPresets);
  for (int p = 0; p < kKstPresets; ++p) {
    bank[p].name = Cp1252ToUtf8(data[p].name); // hosts on Linux speak UTF-8
    bank[p].values = data[p].values;
  }
  return bank;
}

} // namespace kest::render
