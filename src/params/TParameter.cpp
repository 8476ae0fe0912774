#include "TParameter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "uKestUtils.h"

namespace {
void WriteText(char (&buffer)[256], const char* text) {
  std::snprintf(buffer, sizeof buffer, "%s", text);
}
} // namespace

TParameter::TParameter() : TParameter("Parametr", 0.0f) {}

TParameter::TParameter(const char* aName, float aValue)
    : fDefault(aValue), fValue(0.0), fName(aName) {}

float TParameter::GetVstValue() const {
  return static_cast<float>(Value());
}

void TParameter::SetVstValue(float x) {
  // A non-finite value from a host must never reach the sound path.
  if (std::isfinite(x)) SetValue(x);
}

const char* TParameter::GetDisplay() {
  std::snprintf(fDisplay, sizeof fDisplay, "%.1f",
                static_cast<double>(static_cast<float>(Value())));
  return fDisplay;
}

TParamFloat::TParamFloat(const char* aName, const char* aCaption, double aVal, double aMin,
                         double aMax, double aStep)
    : TParameter(aName, static_cast<float>(aVal)) {
  fCaption = aCaption != nullptr ? aCaption : "";
  fDefault = aVal;
  SetValue(aVal);
  fMin = aMin;
  fMax = aMax;
  fStep = aStep;
  fRange = fMax - fMin;
  fInvRange = 1.0 / fRange;
  fStepped = fStep > 0.0;
  if (fStepped) {
    fInc = fStep;
    fNumSteps = kest::RoundEven(fRange / fStep) + 1;
    fStepSize = 1.0 / (fNumSteps - 1);
    fHalfStep = fStepSize * 0.5;
  } else {
    fInc = fRange / 100.0;
    fNumSteps = 1;
    fStepSize = 1.0;
    fHalfStep = 0.0;
  }
  fType = ptFloat;
}

TParamFloat::TParamFloat(const TVSTParam& p)
    : TParamFloat(p.Name, p.Caption, p.Val, p.Min, p.Max, p.Step) {}

float TParamFloat::GetVstValue() const {
  // Held to 0 .. 1 before narrowing: a huge value out of range must read as
  // the end of the range, not as infinity.
  const double x = (Value() - fMin) * fInvRange;
  return static_cast<float>(x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x));
}

void TParamFloat::SetVstValue(float x) {
  if (!std::isfinite(x)) return;
  double v = x;
  if (v < 0.0) v = 0.0;
  if (v > 1.0) v = 1.0;
  double value;
  if (fStepped) {
    int32_t k = static_cast<int32_t>(v * fNumSteps);
    if (k > fNumSteps) k = fNumSteps;
    value = fMin + k * fStep;
  } else {
    value = fMin + v * fRange;
  }
  SetValue(std::clamp(value, fMin, fMax));
}

bool TParamFloat::IncValue() {
  SetValue(std::min(Value() + fInc, fMax));
  return true;
}

bool TParamFloat::DecValue() {
  SetValue(std::max(Value() - fInc, fMin));
  return true;
}

TParamInt::TParamInt(const char* aName, const char* aCaption, float aVal, float aMin, float aMax)
    : TParamFloat(aName, aCaption, aVal, aMin, aMax, 1.0) {
  fType = ptInt;
}

TParamInt::TParamInt(const TVSTParam& p) : TParamInt(p.Name, p.Caption, p.Val, p.Min, p.Max) {}

const char* TParamInt::GetDisplay() {
  const double v = Value();
  // Truncation towards zero; values stay far inside the integer range.
  const long long whole =
      std::isfinite(v) ? static_cast<long long>(std::trunc(std::clamp(v, -1e15, 1e15))) : 0;
  std::snprintf(fDisplay, sizeof fDisplay, "%lld", whole);
  return fDisplay;
}

TParamBool::TParamBool(const char* aName, float aVal)
    : TParamFloat(aName, "", aVal, 0.0, 1.0, 1.0) {
  fType = ptBool;
}

TParamBool::TParamBool(const TVSTParam& p) : TParamBool(p.Name, p.Val) {}

const char* TParamBool::GetDisplay() {
  WriteText(fDisplay, Value() > 0.5 ? "on" : "off");
  return fDisplay;
}

TParamNote::TParamNote(const TVSTParam& p) : TParamFloat(p) {
  fType = ptNote;
}

const char* TParamNote::GetDisplay() {
  WriteText(fDisplay, kest::NoteName(kest::RoundEven(Value())).c_str());
  return fDisplay;
}

TParamRndMode::TParamRndMode(const TVSTParam& p) : TParamFloat(p) {
  fType = ptRndMode;
}

const char* TParamRndMode::GetDisplay() {
  static const char* const kTexts[9] = {"Off",           "Each bar",      "Each 2-th bar",
                                        "Each 3-th bar", "Each 4-th bar", "Each 5-th bar",
                                        "Each 6-th bar", "Each 7-th bar", "Each 8-th bar"};
  const int n = kest::RoundEven(Value());
  if (n >= 0 && n <= 8) WriteText(fDisplay, kTexts[n]);
  return fDisplay;
}
