#include "TFastDelay.h"

#include <cmath>
#include <cstring>

#include "uKestUtils.h"

TFastDelay::TFastDelay(float SampleRate) {
  Rebuild(SampleRate);
}

void TFastDelay::Rebuild(float SampleRate) {
  fFlushed = false;
  fDelay = 2.5f;
  fFeed.store(0.0f, std::memory_order_relaxed);
  fFeedback.store(0.0f, std::memory_order_relaxed);
  fCnt = 0;
  // One sixteenth of a second, ties to even (88200 Hz gives 5512).
  fMax = kest::RoundEven(static_cast<double>(SampleRate) / 16.0);
  if (fMax < 4) fMax = 4; // the four taps need a ring of at least four
  fSize = 4 * fMax;
  fBuf = std::make_unique<float[]>(static_cast<std::size_t>(fMax));
  Flush();
}

void TFastDelay::Flush() {
  if (fFlushed) return;
  std::memset(fBuf.get(), 0, static_cast<std::size_t>(fSize));
  fFlushed = true;
}

void TFastDelay::SetFeedback(float x) {
  if (static_cast<double>(x) == static_cast<double>(fFeedback.load(std::memory_order_relaxed))) {
    return;
  }
  float f = x;
  if (static_cast<double>(f) > 0.99) f = 0.99f;
  // Only finite, non-negative amounts make a stable loop.
  if (!(f >= 0.0f)) f = 0.0f;
  fFeedback.store(f, std::memory_order_relaxed);
  fFeed.store(f == 0.0f ? 0.0f : static_cast<float>(std::pow(static_cast<double>(f), 0.3)),
              std::memory_order_relaxed);
}
