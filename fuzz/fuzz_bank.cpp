// libFuzzer target: any bytes given to the bank reader end in a loaded bank or
// a reported failure, never a crash, and a failed load changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "MessageBoxService.h"
#include "TPresetList.h"

namespace {
// Failed loads are expected by the thousand: shown nowhere.
class SilentMessages : public kest::IMessageBoxService {
public:
  int Show(const std::string&, const std::string&, unsigned) override { return 1; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SilentMessages silent;
  kest::SetMessageBoxService(&silent);
  static TPresetList bank;
  kest::TMemoryStream before;
  bank.SaveToStream(before);
  kest::TMemoryStream input(data, size);
  try {
    bank.LoadFromStream(input, "fuzz.kst");
  } catch (const kest::EAbort&) {
    kest::TMemoryStream after;
    bank.SaveToStream(after);
    if (after.Bytes() != before.Bytes()) std::abort(); // a failed load changed the bank
  }
  return 0;
}
