#pragma once
// One mono feedback comb: a ring of samples, a fractional read position
// Delay samples behind the write position, four-point cubic interpolation,
// and the input plus the scaled delayed sample written back.
#include <atomic>
#include <cstdint>
#include <memory>

class TFastDelay {
public:
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
    const float feed = fFeed.load(std::memory_order_relaxed);
    fBuf[fCnt] = static_cast<float>(static_cast<double>(v) + static_cast<double>(out) * feed);
    if (++fCnt >= N) fCnt = 0;
    return out;
  }

  void Flush();
  // Makes the line new for a sample rate: new length, zeroed ring, delay 2.5,
  // feedback 0. The owner keeps processing away meanwhile.
  void Rebuild(float SampleRate);

  float Delay() const { return fDelay; }
  void SetDelay(float x) {
    if (static_cast<double>(x) == static_cast<double>(fDelay)) return;
    fDelay = x;
    if (fDelay < 0.0f) fDelay = 0.0f;
    if (fDelay > static_cast<float>(fMax)) fDelay = static_cast<float>(fMax);
    // A NaN would fail both tests above; it must never index the ring.
    if (!(fDelay == fDelay)) fDelay = static_cast<float>(fMax);
  }

  float Feedback() const { return fFeedback.load(std::memory_order_relaxed); }
  void SetFeedback(float x);
  float Feed() const { return fFeed.load(std::memory_order_relaxed); }

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
  std::atomic<float> fFeed{0.0f};
  std::atomic<float> fFeedback{0.0f};
  float fDelay = 2.5f;
  int32_t fCnt = 0;
  bool fFlushed = false;
};
