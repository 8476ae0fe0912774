#include "EngineRender.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "SynthFixture.h"

namespace engine_render {

float Noise::Draw() {
  fState = fState * 1664525u + 1013904223u;
  return static_cast<float>(static_cast<int32_t>(fState) / 2147483648.0);
}

void Noise::Next(float& left, float& right) {
  left = 0.25f * Draw();
  right = 0.25f * Draw();
}

// Decay factors per frame for time constants in seconds: 1 - 1 / (rate x tau)
// keeps to + - * /, unlike exp.
Drums::Drums(double rate, double tempo, double startQuarter)
    : fRate(rate), fFramesPerSixteenth(rate * 15.0 / tempo),
      fFrame(startQuarter * 4.0 * rate * 15.0 / tempo), fKickRate(1.0 - 1.0 / (rate * 0.22)),
      fSnareRate(1.0 - 1.0 / (rate * 0.1)), fHatRate(1.0 - 1.0 / (rate * 0.04)),
      fSweepRate(1.0 - 1.0 / (rate * 0.03)) {}

void Drums::Next(float& left, float& right) {
  const auto sixteenth = static_cast<int64_t>(std::floor(fFrame / fFramesPerSixteenth));
  if (sixteenth != fSixteenth) {
    fSixteenth = sixteenth;
    const int64_t step = sixteenth % 16;
    if (step % 4 == 0) fKick = 1.0, fKickSweep = 1.0, fKickPhase = 0.0;
    if (step == 4 || step == 12) fSnare = 0.6;
    fHat = step % 2 == 0 ? 0.3 : 0.2;
  }
  // A falling kick pitch: 45 Hz plus a 110 Hz sweep, as cycles per frame.
  fKickPhase += (45.0 + 110.0 * fKickSweep) / fRate;
  fKickPhase -= std::floor(fKickPhase);
  // A sine made of two parabolas.
  const double x = fKickPhase;
  const double sine = x < 0.5 ? 16.0 * x * (0.5 - x) : -16.0 * (x - 0.5) * (1.0 - x);
  float n1 = 0.0f, n2 = 0.0f;
  fNoise.Next(n1, n2);
  const double body = 0.55 * (sine * fKick + 2.0 * n1 * fSnare);
  const double hat = 4.0 * n2 * fHat;
  left = static_cast<float>(body + 0.8 * hat);
  right = static_cast<float>(body + hat);
  fKick *= fKickRate;
  fKickSweep *= fSweepRate;
  fSnare *= fSnareRate;
  fHat *= fHatRate;
  fFrame += 1.0;
}

Output Render(TSynth& synth, const Plan& plan, Signal& signal) {
  Output out;
  const auto n = static_cast<std::size_t>(plan.frames);
  std::vector<float> inL(n), inR(n);
  for (std::size_t i = 0; i < n; ++i)
    signal.Next(inL[i], inR[i]);
  out.left.assign(n, 0.0f);
  out.right.assign(n, 0.0f);
  const double quartersPerFrame = plan.tempo / 60.0 / plan.rate;
  int at = 0;
  for (std::size_t b = 0; at < plan.frames; ++b) {
    if (plan.between) plan.between(synth, at);
    const int size = std::min(plan.blocks[b % plan.blocks.size()], plan.frames - at);
    FakeHost::time.ppqPos = plan.startQuarter + at * quartersPerFrame;
    FakeHost::time.tempo = plan.tempo;
    FakeHost::time.samplePos = at;
    float* ins[2] = {inL.data() + at, inR.data() + at};
    float* outs[2] = {out.left.data() + at, out.right.data() + at};
    synth.ProcessReplacing(ins, outs, size);
    at += size;
  }
  for (int i = 0; i < 4; ++i)
    out.peaks[i] = synth.Peak(i);
  return out;
}

uint64_t Fingerprint(const Output& out) {
  uint64_t h = 14695981039346656037ull;
  auto add = [&h](float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 4; ++i) {
      h ^= (bits >> (8 * i)) & 0xFFu;
      h *= 1099511628211ull;
    }
  };
  for (std::size_t i = 0; i < out.left.size(); ++i) {
    add(out.left[i]);
    add(out.right[i]);
  }
  for (float p : out.peaks)
    add(p);
  return h;
}

} // namespace engine_render
