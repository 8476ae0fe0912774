#pragma once
// One mono feedback comb: a ring of samples, a fractional read position
// Delay samples behind the write position, four-point cubic interpolation,
// and the input plus the scaled delayed sample written back.
#include <atomic>
#include <cstdint>
#include <memory>

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
    std::unique_ptr<float[]> Buf;
    int32_t Max = 0;
  };
  static TRing NewRing(float SampleRate);

  explicit TFastDelay(float SampleRate);
  TFastDelay(const TFastDelay&) = delete;
  TFastDelay& operator=(const TFastDelay&) = delete;

  // One sample through the comb; answers the delayed (interpolated) sample.
  float Process(float v) {
    const int32_t N = fMax;
    double p = static_cast<double>(fCnt) - static_cast<double>(fDelay);
    if (p < 0.0) p += N;
    int32_t i = static_cast<int32_t>(p);
    const float t = static_cast<float>(p - i);
    // p can round up to exactly N when fCnt is 0 and the delay is tiny.
    if (i >= N) i -= N;
    const float xm1 = fBuf[i == 0 ? N - 1 : i - 1];
    const float x0 = fBuf[i];
    const int32_t i1 = i + 1 >= N ? i + 1 - N : i + 1;
    const int32_t i2 = i + 2 >= N ? i + 2 - N : i + 2;
    const float x1 = fBuf[i1];
    const float x2 = fBuf[i2];
    const float c1 = static_cast<float>(0.5 * (static_cast<double>(x1) - xm1));
    const float c2 = static_cast<float>(static_cast<double>(xm1) - 2.5 * x0 + 2.0 * x1 - 0.5 * x2);
    const float c3 = static_cast<float>(1.5 * (static_cast<double>(x0) - x1) +
                                        0.5 * (static_cast<double>(x2) - xm1));
    const double td = t;
    const float out = static_cast<float>(((c3 * td + c2) * td + c1) * td + x0);
    const float feed = fSource->load(std::memory_order_relaxed).Feed;
    fBuf[fCnt] = static_cast<float>(static_cast<double>(v) + static_cast<double>(out) * feed);
    if (++fCnt >= N) fCnt = 0;
    return out;
  }

  void Flush();
  // Makes the line new for a sample rate: new length, zeroed ring, delay 2.5,
  // feedback 0. The owner keeps processing away meanwhile.
  void Rebuild(float SampleRate) { Adopt(NewRing(SampleRate)); }
  // The same with a ring made beforehand; cannot fail.
  void Adopt(TRing&& ring) noexcept;

  float Delay() const { return fDelay; }
  void SetDelay(float x) {
    if (static_cast<double>(x) == static_cast<double>(fDelay)) return;
    fDelay = x;
    if (fDelay < 0.0f) fDelay = 0.0f;
    if (fDelay > static_cast<float>(fMax)) fDelay = static_cast<float>(fMax);
    // A NaN would fail both tests above; it must never index the ring.
    if (!(fDelay == fDelay)) fDelay = static_cast<float>(fMax);
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
  int32_t MaxDelay() const { return fMax; }
  int32_t SizeInBytes() const { return fSize; }
  int32_t WriteIndex() const { return fCnt; }
  const float* Buffer() const { return fBuf.get(); }

private:
  std::unique_ptr<float[]> fBuf;
  int32_t fSize;
  int32_t fMax;
  // Set from the thread that changes Depth while the audio thread reads it.
  std::atomic<TFeedback> fOwn{TFeedback{}};
  const std::atomic<TFeedback>* fSource = &fOwn;
  float fDelay = 2.5f;
  int32_t fCnt = 0;
  bool fFlushed = false;
};
