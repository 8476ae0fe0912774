#include "ParamValues.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace kest::render {

namespace {

// Probes over 0..1; a stepped parameter with fewer values than this shows
// every value at least once among them.
constexpr int kProbes = 1024;

std::string Trim(const std::string& s) {
  std::size_t a = 0;
  std::size_t b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a])) != 0) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])) != 0) --b;
  return s.substr(a, b - a);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Like ParseNumber, but also takes the infinities some plug-ins show ("-inf" dB).
std::optional<double> ParseShownNumber(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  const char* begin = t.c_str();
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || std::isnan(v)) return std::nullopt;
  return v;
}

std::optional<double> ParseSwitch(const std::string& text) {
  const std::string t = Lower(Trim(text));
  if (t == "on" || t == "1" || t == "true" || t == "yes") return 1.0;
  if (t == "off" || t == "0" || t == "false" || t == "no") return 0.0;
  return std::nullopt;
}

int Decimals(const std::string& text) {
  const auto dot = text.find('.');
  if (dot == std::string::npos) return 0;
  int n = 0;
  for (std::size_t i = dot + 1; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++n;
  return n;
}

} // namespace

std::optional<double> ParseNumber(const std::string& text) {
  const auto v = ParseShownNumber(text);
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

std::optional<int> ParseNoteName(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
  if (letter < 'A' || letter > 'G') return std::nullopt;
  int note = kSemitone[letter - 'A'];
  std::size_t i = 1;
  if (i < t.size() && t[i] == '#') {
    ++note;
    ++i;
  } else if (i < t.size() && t[i] == 'b') {
    --note;
    ++i;
  }
  const std::string octave = t.substr(i);
  if (octave.empty() || octave.size() > 3) return std::nullopt;
  for (std::size_t k = 0; k < octave.size(); ++k) {
    const bool sign = k == 0 && octave[k] == '-' && octave.size() > 1;
    if (!sign && std::isdigit(static_cast<unsigned char>(octave[k])) == 0) return std::nullopt;
  }
  return std::atoi(octave.c_str()) * 12 + note;
}

std::string ParamValueFinder::Show(int32_t index, float x) {
  fProbe.SetParameter(index, x);
  return fProbe.ParamDisplay(index);
}

std::optional<double> ParamValueFinder::Parse(Kind kind, const std::string& text) const {
  switch (kind) {
  case Kind::Number:
    return ParseShownNumber(text);
  case Kind::Note: {
    const auto n = ParseNoteName(text);
    return n ? std::optional<double>(*n) : std::nullopt;
  }
  case Kind::Switch:
    return ParseSwitch(text);
  case Kind::Words:
    break;
  }
  return std::nullopt;
}

const ParamValueFinder::Shape& ParamValueFinder::ShapeOf(int32_t index) {
  const auto found = fShapes.find(index);
  if (found != fShapes.end()) return found->second;
  Shape shape;
  shape.probes.reserve(kProbes + 1);
  for (int i = 0; i <= kProbes; ++i) {
    const float x = static_cast<float>(i) / kProbes;
    shape.probes.push_back({x, Show(index, x), 0.0});
  }
  const auto all = [&](Kind kind) {
    return std::all_of(shape.probes.begin(), shape.probes.end(),
                       [&](const Probe& p) { return Parse(kind, p.text).has_value(); });
  };
  const bool onOff = std::all_of(shape.probes.begin(), shape.probes.end(), [](const Probe& p) {
    const std::string t = Lower(Trim(p.text));
    return t == "on" || t == "off";
  });
  if (onOff) shape.kind = Kind::Switch;
  else if (all(Kind::Note)) shape.kind = Kind::Note;
  else if (all(Kind::Number)) shape.kind = Kind::Number;
  else shape.kind = Kind::Words;
  for (Probe& p : shape.probes) {
    if (shape.kind != Kind::Words) p.value = *Parse(shape.kind, p.text);
    if (shape.kind == Kind::Number) shape.decimals = std::max(shape.decimals, Decimals(p.text));
  }
  return fShapes.emplace(index, std::move(shape)).first->second;
}

std::string ParamValueFinder::RangeText(int32_t index) {
  const Shape& shape = ShapeOf(index);
  const auto [lo, hi] = std::minmax_element(
      shape.probes.begin(), shape.probes.end(),
      [](const Probe& a, const Probe& b) { return a.value < b.value; });
  return Trim(lo->text) + " to " + Trim(hi->text);
}

float ParamValueFinder::PickInRun(int32_t index, float inside, const std::string& text,
                                  std::optional<float> hint) {
  if (hint && Show(index, *hint) == text) return *hint;
  const Shape& shape = ShapeOf(index);
  const int at = std::clamp(static_cast<int>(std::floor(inside * kProbes)), 0, kProbes);
  // Bisects between a point showing the text and one that does not; answers
  // the point nearest the change that still shows the text.
  const auto edge = [&](float in, float out) {
    for (int i = 0; i < 64; ++i) {
      const float mid = static_cast<float>((static_cast<double>(in) + out) / 2.0);
      if (mid == in || mid == out) break;
      (Show(index, mid) == text ? in : out) = mid;
    }
    return in;
  };
  int left = at;
  while (left >= 0 && shape.probes[static_cast<std::size_t>(left)].text == text) --left;
  int right = at + 1;
  while (right <= kProbes && shape.probes[static_cast<std::size_t>(right)].text == text) ++right;
  // A value that reaches an end of the range is set with that end exactly, so
  // the lowest and highest values are never approximations.
  if (left < 0 && Show(index, 0.0f) == text) return 0.0f;
  if (right > kProbes && Show(index, 1.0f) == text) return 1.0f;
  const float a = left < 0 ? 0.0f : edge(inside, shape.probes[static_cast<std::size_t>(left)].x);
  const float b =
      right > kProbes ? 1.0f : edge(inside, shape.probes[static_cast<std::size_t>(right)].x);
  const float mid = static_cast<float>((static_cast<double>(a) + b) / 2.0);
  return Show(index, mid) == text ? mid : inside;
}

float ParamValueFinder::FromValue(int32_t index, double wanted, const std::string& shownAs) {
  const Shape& shape = ShapeOf(index);
  const auto& p = shape.probes;
  std::optional<float> x0;
  std::string text;
  for (const Probe& probe : p) {
    if (probe.value == wanted) {
      x0 = probe.x;
      text = probe.text;
      break;
    }
  }
  for (std::size_t i = 0; !x0 && i + 1 < p.size(); ++i) {
    const double a = p[i].value;
    const double b = p[i + 1].value;
    if (!((a < wanted && wanted < b) || (b < wanted && wanted < a))) continue;
    // The display crosses the wanted value between two probes: narrow it
    // down to the two neighbouring displayed values and keep the nearer.
    float lo = p[i].x;
    float hi = p[i + 1].x;
    double vlo = a;
    double vhi = b;
    for (int k = 0; k < 64; ++k) {
      const float mid = static_cast<float>((static_cast<double>(lo) + hi) / 2.0);
      if (mid == lo || mid == hi) break;
      const auto v = Parse(shape.kind, Show(index, mid));
      if (!v) break;
      if ((*v < wanted) == (a < wanted)) {
        lo = mid;
        vlo = *v;
      } else {
        hi = mid;
        vhi = *v;
      }
    }
    const bool low = std::fabs(vlo - wanted) <= std::fabs(vhi - wanted);
    x0 = low ? lo : hi;
    text = Show(index, *x0);
  }
  if (!x0) throw std::invalid_argument(shownAs + " is outside the range " + RangeText(index));
  const double shown = *Parse(shape.kind, text);
  const double tolerance =
      shape.kind == Kind::Number ? 0.5 * std::pow(10.0, -shape.decimals) * (1.0 + 1e-9) : 0.0;
  if (std::fabs(shown - wanted) > tolerance) {
    throw std::invalid_argument(shownAs + " is not a value it takes (nearest: " + Trim(text) + ")");
  }
  // A linear parameter reaches the wanted value exactly; stepped ones land on
  // the middle of the value's interval.
  std::optional<float> hint;
  const double v0 = p.front().value;
  const double v1 = p.back().value;
  if (shape.kind == Kind::Number && std::isfinite(v0) && std::isfinite(v1) && v0 != v1) {
    hint = static_cast<float>(std::clamp((wanted - v0) / (v1 - v0), 0.0, 1.0));
  }
  return PickInRun(index, *x0, text, hint);
}

float ParamValueFinder::FromText(int32_t index, const std::string& wanted) {
  const Shape& shape = ShapeOf(index);
  const std::string quoted = "\"" + wanted + "\"";
  switch (shape.kind) {
  case Kind::Number: {
    const auto v = ParseShownNumber(wanted);
    if (!v) throw std::invalid_argument(quoted + " is not a number");
    return FromValue(index, *v, quoted);
  }
  case Kind::Note: {
    std::optional<double> n;
    if (const auto name = ParseNoteName(wanted)) n = *name;
    else if (const auto num = ParseNumber(wanted); num && std::floor(*num) == *num) n = *num;
    if (!n) throw std::invalid_argument(quoted + " is neither a note name like C#5 nor a note number");
    return FromValue(index, *n, quoted);
  }
  case Kind::Switch: {
    const auto v = ParseSwitch(wanted);
    if (!v) throw std::invalid_argument(quoted + " is neither on nor off");
    return FromValue(index, *v, quoted);
  }
  case Kind::Words:
    break;
  }
  const std::string want = Lower(Trim(wanted));
  std::vector<const Probe*> distinct;
  for (const Probe& probe : shape.probes) {
    if (Lower(Trim(probe.text)) == want) return PickInRun(index, probe.x, probe.text, std::nullopt);
    if (distinct.empty() || distinct.back()->text != probe.text) distinct.push_back(&probe);
  }
  if (const auto k = ParseNumber(wanted);
      k && *k >= 0 && std::floor(*k) == *k && *k < static_cast<double>(distinct.size())) {
    const Probe* probe = distinct[static_cast<std::size_t>(*k)];
    return PickInRun(index, probe->x, probe->text, std::nullopt);
  }
  std::string choices;
  for (std::size_t i = 0; i < distinct.size() && i < 12; ++i) {
    choices += (i == 0 ? "" : ", ") + Trim(distinct[i]->text);
  }
  if (distinct.size() > 12) choices += ", ...";
  throw std::invalid_argument(quoted + " is not one of: " + choices);
}

float ParamValueFinder::FromPlain(int32_t index, double plain) {
  const Shape& shape = ShapeOf(index);
  const std::string shown = "value " + std::to_string(plain);
  if (!std::isfinite(plain)) throw std::invalid_argument(shown + " is not finite");
  switch (shape.kind) {
  case Kind::Number:
    return FromValue(index, plain, shown);
  case Kind::Note:
    return FromValue(index, std::nearbyint(plain), shown);
  case Kind::Switch:
    return FromValue(index, plain > 0.5 ? 1.0 : 0.0, shown);
  case Kind::Words:
    break;
  }
  return FromText(index, std::to_string(static_cast<long long>(std::nearbyint(plain))));
}

int32_t ParamValueFinder::FindParameter(const std::string& name) {
  const AEffect* e = fProbe.Effect();
  if (e == nullptr) return -1;
  if (fNames.empty()) {
    for (int32_t i = 0; i < e->numParams; ++i) fNames.push_back(fProbe.ParamName(i));
  }
  for (std::size_t i = 0; i < fNames.size(); ++i) {
    if (fNames[i] == name) return static_cast<int32_t>(i);
  }
  const std::string want = Lower(Trim(name));
  for (std::size_t i = 0; i < fNames.size(); ++i) {
    if (Lower(Trim(fNames[i])) == want) return static_cast<int32_t>(i);
  }
  return -1;
}

} // namespace kest::render
