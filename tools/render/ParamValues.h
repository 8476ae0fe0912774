#pragma once
// Turns a value in a parameter's own unit ("80", "-60", "C#5", "off",
// "Each 3-th bar") into the normalised value a host sends, using only what a
// host can see: setParameter and the parameter's display text.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "VstHost.h"

namespace kest::render {

class ParamValueFinder {
public:
  // Probing sets parameters, which may have side effects in the plug-in
  // (a "Random" switch fills new notes), so it runs on a scratch instance.
  explicit ParamValueFinder(host::VstHost& scratch) : fProbe(scratch) {}

  // Throws std::invalid_argument with a message for the user when the text is
  // not a value the parameter can show.
  float FromText(int32_t index, const std::string& wanted);
  // The plain value as a bank file stores it: a number, a note number, 0/1
  // for a switch, or the value number for a parameter shown as words.
  float FromPlain(int32_t index, double plain);

  // Index of the parameter named so (exact, else ignoring case), or -1.
  int32_t FindParameter(const std::string& name);

private:
  enum class Kind { Number, Note, Switch, Words };
  struct Probe {
    float x;
    std::string text;
    double value; // parsed, for every kind but Words
  };
  struct Shape {
    Kind kind = Kind::Number;
    std::vector<Probe> probes;
    int decimals = 0; // most digits after the point among number displays
  };

  const Shape& ShapeOf(int32_t index);
  std::string Show(int32_t index, float x);
  std::optional<double> Parse(Kind kind, const std::string& text) const;
  float FromValue(int32_t index, double wanted, const std::string& shownAs);
  float PickInRun(int32_t index, float inside, const std::string& text, std::optional<float> hint);
  std::string RangeText(int32_t index);

  host::VstHost& fProbe;
  std::map<int32_t, Shape> fShapes;
  std::vector<std::string> fNames;
};

// Note names as the plug-in shows them: C5 is note 60 (octave = note div 12);
// sharps as '#', flats as 'b' are accepted too.
std::optional<int> ParseNoteName(const std::string& text);

// A whole text as a finite number, or nothing.
std::optional<double> ParseNumber(const std::string& text);

} // namespace kest::render
