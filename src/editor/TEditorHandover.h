#pragma once
// Values that reach the editor from threads other than its own (host
// automation, the audio thread's random fills and step clock) wait here for
// the user-interface thread. Writers only store atomics: no lock, no
// allocation, no message, so the audio thread never waits on the editor.
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <optional>

#include "ParamTable.h"

namespace kest {

class TEditorHandover {
public:
  // Any thread. The latest value per parameter wins; other indices are ignored.
  void StoreParameter(int32_t Index, float Value) {
    if (Index < 0 || Index >= kNumParams) return;
    const auto i = static_cast<std::size_t>(Index);
    fValues[i].store(Value, std::memory_order_relaxed);
    // Release: whoever sees the bit sees this value or a later one.
    fDirty[i / 64].fetch_or(std::uint64_t{1} << (i % 64), std::memory_order_release);
  }
  void StoreStep(int32_t Step) {
    fStep.store(Step, std::memory_order_relaxed);
    fStepStored.store(true, std::memory_order_release);
  }
  void StoreNameChange() { fNameChanged.store(true, std::memory_order_release); }

  // The user-interface thread: every parameter stored since the last take,
  // in index order, with its latest value.
  template <class Apply> void TakeParameters(Apply&& apply) {
    for (std::size_t word = 0; word < fDirty.size(); ++word) {
      std::uint64_t bits = fDirty[word].exchange(0, std::memory_order_acquire);
      while (bits != 0) {
        const int bit = std::countr_zero(bits);
        bits &= bits - 1;
        const std::size_t i = word * 64 + static_cast<std::size_t>(bit);
        apply(static_cast<int32_t>(i), fValues[i].load(std::memory_order_relaxed));
      }
    }
  }
  // The step stored since the last take, if any.
  std::optional<int32_t> TakeStep() {
    if (!fStepStored.exchange(false, std::memory_order_acquire)) return std::nullopt;
    return fStep.load(std::memory_order_relaxed);
  }
  bool TakeNameChange() { return fNameChanged.exchange(false, std::memory_order_acquire); }
  // Forgets everything stored (an editor about to show reads every value itself).
  void Clear() {
    for (auto& d : fDirty)
      d.store(0, std::memory_order_relaxed);
    fStepStored.store(false, std::memory_order_relaxed);
    fNameChanged.store(false, std::memory_order_relaxed);
  }

private:
  std::array<std::atomic<float>, kNumParams> fValues{};
  std::array<std::atomic<std::uint64_t>, (kNumParams + 63) / 64> fDirty{};
  std::atomic<int32_t> fStep{0};
  std::atomic<bool> fStepStored{false};
  std::atomic<bool> fNameChanged{false};
};

} // namespace kest
