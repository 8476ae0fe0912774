#pragma once
// Audio sources: what a source gives, and the built-in test signals (the
// renderer also reads audio files, AudioFile.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kest::render {

class Source {
public:
  virtual ~Source() = default;
  // Fills up to frames of left and right input; answers how many it wrote
  // (fewer only at the end of a file).
  virtual int64_t Read(float* left, float* right, int64_t frames) = 0;
  virtual double SampleRate() const = 0;
  // Frames the source will give, when it knows; -1 for an endless signal.
  virtual int64_t Length() const { return -1; }
  virtual std::string Describe() const = 0;
};

struct SignalSettings {
  double sampleRate = 44100.0;
  double tempo = 120.0; // the drum pattern follows the transport
  double startQuarter = 0.0;
};

// Names of the built-in signals, and one by name (nullptr when unknown).
std::vector<std::string> SignalNames();
std::unique_ptr<Source> MakeSignal(const std::string& name, const SignalSettings& settings);

} // namespace kest::render
