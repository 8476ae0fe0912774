#include "TFastDelay.h"

#include <cmath>
#include <cstring>

#include "uKestUtils.h"

TFeedback TFeedback::From(float x) {
  float f = x;
  if (static_cast<double>(f) > 0.99) f = 0.99f;
  // Only finite, non-negative amounts make a stable loop.
  if (!(f >= 0.0f)) f = 0.0f;
  return {f, f == 0.0f ? 0.0f : static_cast<float>(std::pow(static_cast<double>(f), 0.3))};
}

TFastDelay::TRing TFastDelay::NewRing(float SampleRate) {
  TRing ring;
  // One sixteenth of a second, ties to even (88200 Hz gives 5512).
  ring.Max = kest::RoundEven(static_cast<double>(SampleRate) / 16.0);
  if (ring.Max < 4) ring.Max = 4; // the four taps need a ring of at least four
  ring.Buf = std::make_unique<double[]>(static_cast<std::size_t>(TCombRing::Samples(ring.Max)));
  return ring;
}

TFastDelay::TFastDelay(float SampleRate) {
  Rebuild(SampleRate);
}

void TFastDelay::Adopt(TRing&& ring) noexcept {
  fFlushed = false;
  fOwn.store(TFeedback{}, std::memory_order_relaxed);
  fStorage = std::move(ring.Buf);
  fRing = TCombRing{fStorage.get(), ring.Max, 0, 2.5f};
  Flush();
}

void TFastDelay::Flush() {
  if (fFlushed) return;
  std::memset(fStorage.get(), 0,
              sizeof(double) * static_cast<std::size_t>(TCombRing::Samples(fRing.Max)));
  fFlushed = true;
}

void TFastDelay::SetFeedback(float x) {
  if (static_cast<double>(x) ==
      static_cast<double>(fOwn.load(std::memory_order_relaxed).Feedback)) {
    return;
  }
  fOwn.store(TFeedback::From(x), std::memory_order_relaxed);
}
