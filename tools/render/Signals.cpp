#include "Signals.h"

#include <cmath>
#include <numbers>

namespace kest::render {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A fixed-seed generator so every render of a built-in signal is identical.
class Noise {
public:
  float Next() {
    fState = fState * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int32_t>(fState) / 2147483648.0);
  }

private:
  uint32_t fState = 0x2545F491u;
};

// Kick on every beat, snare on 2 and 4, hi-hat on every sixteenth (accents on
// the eighths, an open hat before each bar): broadband hits on every step, so
// the comb voices show their pitch wherever a step sounds.
class DrumSource final : public Source {
public:
  explicit DrumSource(const SignalSettings& s) : fSettings(s) {}

  int64_t Read(float* left, float* right, int64_t frames) override {
    const double dt = 1.0 / fSettings.sampleRate;
    for (int64_t i = 0; i < frames; ++i, ++fFrame) {
      const double quarter = fSettings.startQuarter + fFrame * dt * fSettings.tempo / 60.0;
      const auto sixteenth = static_cast<int64_t>(std::floor(quarter * 4.0));
      if (sixteenth != fSixteenth) {
        fSixteenth = sixteenth;
        const int step = static_cast<int>(((sixteenth % 16) + 16) % 16);
        if (step % 4 == 0) fKickAge = 0.0, fKickPhase = 0.0;
        if (step == 4 || step == 12) fSnareAge = 0.0;
        fHatAge = 0.0;
        fHatLevel = step % 2 == 0 ? 0.3 : 0.2;
        fHatDecay = step == 14 ? 0.2 : 0.09;
      }
      const double kickFreq = 45.0 + 110.0 * std::exp(-fKickAge / 0.03);
      fKickPhase += kTwoPi * kickFreq * dt;
      const double kick = std::sin(fKickPhase) * std::exp(-fKickAge / 0.22);
      const double n1 = fNoise.Next();
      const double snare = 0.5 * n1 * std::exp(-fSnareAge / 0.1) +
                           0.3 * std::sin(kTwoPi * 185.0 * fSnareAge) * std::exp(-fSnareAge / 0.07);
      const double hat = fHatLevel * fNoise.Next() * std::exp(-fHatAge / fHatDecay);
      left[i] = static_cast<float>(0.55 * (kick + snare) + 0.8 * hat);
      right[i] = static_cast<float>(0.55 * (kick + snare) + 1.0 * hat);
      fKickAge += dt;
      fSnareAge += dt;
      fHatAge += dt;
    }
    return frames;
  }
  double SampleRate() const override { return fSettings.sampleRate; }
  std::string Describe() const override { return "built-in drum pattern"; }

private:
  SignalSettings fSettings;
  int64_t fFrame = 0;
  int64_t fSixteenth = INT64_MIN;
  double fKickAge = 1e3, fKickPhase = 0.0, fSnareAge = 1e3, fHatAge = 1e3;
  double fHatLevel = 0.0, fHatDecay = 0.05;
  Noise fNoise;
};

// A held C major ninth chord of soft band-limited saws, slightly spread.
class ChordSource final : public Source {
public:
  explicit ChordSource(const SignalSettings& s) : fRate(s.sampleRate) {}

  int64_t Read(float* left, float* right, int64_t frames) override {
    static const int kNotes[] = {48, 55, 64, 71, 74};
    for (int64_t i = 0; i < frames; ++i, ++fFrame) {
      const double t = fFrame / fRate;
      const double attack = std::min(1.0, t / 0.03);
      double l = 0.0;
      double r = 0.0;
      for (int note : kNotes) {
        const double f = 440.0 * std::pow(2.0, (note - 69) / 12.0);
        for (int h = 1; h <= 8 && f * h < fRate * 0.45; ++h) {
          l += std::sin(kTwoPi * f * 0.999 * h * t) / h;
          r += std::sin(kTwoPi * f * 1.001 * h * t) / h;
        }
      }
      left[i] = static_cast<float>(0.07 * attack * l);
      right[i] = static_cast<float>(0.07 * attack * r);
    }
    return frames;
  }
  double SampleRate() const override { return fRate; }
  std::string Describe() const override { return "built-in sustained chord"; }

private:
  double fRate;
  int64_t fFrame = 0;
};

class NoiseSource final : public Source {
public:
  explicit NoiseSource(const SignalSettings& s) : fRate(s.sampleRate) {}
  int64_t Read(float* left, float* right, int64_t frames) override {
    for (int64_t i = 0; i < frames; ++i) {
      left[i] = 0.25f * fNoise.Next();
      right[i] = 0.25f * fNoise.Next();
    }
    return frames;
  }
  double SampleRate() const override { return fRate; }
  std::string Describe() const override { return "built-in white noise"; }

private:
  double fRate;
  Noise fNoise;
};

} // namespace

std::vector<std::string> SignalNames() {
  return {"drums", "chord", "noise"};
}

std::unique_ptr<Source> MakeSignal(const std::string& name, const SignalSettings& settings) {
  if (name == "drums") return std::make_unique<DrumSource>(settings);
  if (name == "chord") return std::make_unique<ChordSource>(settings);
  if (name == "noise") return std::make_unique<NoiseSource>(settings);
  return nullptr;
}

} // namespace kest::render
