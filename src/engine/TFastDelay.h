#pragma once
// One mono feedback comb: a ring of samples, a fractional read position
// Delay samples behind the write position, four-point cubic interpolation,
// and the input plus the scaled delayed sample written back.
#include <atomic>
#include <cstdint>
#include <memory>

#include "TCombRing.h"

// A feedback amount and the loop gain it gives, always published together so
// a reader never sees the gain of one amount beside another amount.
struct alignas(8) TFeedback {
  float Feedback = 0.0f; // as set, at most 0.99
  float Feed = 0.0f;     // Feedback raised to the power 0.3
  // The setter's rules: at most 0.99, only finite non-negative amounts.
  static TFeedback From(float x);
};
static_assert(std::atomic<TFeedback>::is_always_lock_free);

class TFastDelay {
public:
  // A ring for a sample rate, made before it replaces a line's ring so that a
  // failed allocation changes nothing.
  struct TRing {
    std::unique_ptr<double[]> Buf;
    int32_t Max = 0;
  };
  static TRing NewRing(float SampleRate);

  explicit TFastDelay(float SampleRate);
  TFastDelay(const TFastDelay&) = delete;
  TFastDelay& operator=(const TFastDelay&) = delete;

  // One sample through the comb; answers the delayed (interpolated) sample.
  float Process(float v) { return CombSample(fRing, Feed(), v); }

  void Flush();
  // Makes the line new for a sample rate: new length, zeroed ring, delay 2.5,
  // feedback 0. The owner keeps processing away meanwhile.
  void Rebuild(float SampleRate) { Adopt(NewRing(SampleRate)); }
  // The same with a ring made beforehand; cannot fail.
  void Adopt(TRing&& ring) noexcept;

  float Delay() const { return fRing.Delay; }
  void SetDelay(float x) {
    float& delay = fRing.Delay;
    if (static_cast<double>(x) == static_cast<double>(delay)) return;
    delay = x;
    if (delay < 0.0f) delay = 0.0f;
    if (delay > static_cast<float>(fRing.Max)) delay = static_cast<float>(fRing.Max);
    // A NaN would fail both tests above; it must never index the ring.
    if (!(delay == delay)) delay = static_cast<float>(fRing.Max);
  }

  float Feedback() const { return fSource->load(std::memory_order_relaxed).Feedback; }
  float Feed() const { return fSource->load(std::memory_order_relaxed).Feed; }
  // Sets the line's own feedback (skipped when equal to the current amount).
  void SetFeedback(float x);
  // Makes the line follow a feedback its owner publishes for several lines
  // instead of its own; null returns to its own.
  void ShareFeedback(const std::atomic<TFeedback>* source) { fSource = source ? source : &fOwn; }

  bool Flushed() const { return fFlushed; }
  void SetFlushed(bool f) { fFlushed = f; }
  int32_t MaxDelay() const { return fRing.Max; }
  // The ring's first copy, the one the delay reads as a plain ring, in bytes
  // of single-precision samples (the storage holds them as doubles).
  int32_t SizeInBytes() const { return static_cast<int32_t>(sizeof(float)) * fRing.Max; }
  int32_t WriteIndex() const { return fRing.Cnt; }
  // The ring, MaxDelay samples.
  const double* Buffer() const { return fRing.Buf; }
  // The ring as the engine's block path works on it, delay included.
  TCombRing& Ring() { return fRing; }

private:
  std::unique_ptr<double[]> fStorage;
  TCombRing fRing;
  // Set from the thread that changes Depth while the audio thread reads it.
  std::atomic<TFeedback> fOwn{TFeedback{}};
  const std::atomic<TFeedback>* fSource = &fOwn;
  bool fFlushed = false;
};
