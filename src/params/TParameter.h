#pragma once
// One parameter of a preset: its plain value in its own unit, the mapping to
// and from the host's normalised 0..1 value, stepping and its display text.
#include <atomic>
#include <cstdint>

enum TVSTParType : std::uint8_t { ptFloat = 0, ptInt = 1, ptBool = 2, ptNote = 3, ptRndMode = 4 };

// One row of the parameter definition table.
struct TVSTParam {
  TVSTParType _Type;
  const char* Name;
  const char* Caption;
  float Val;
  float Min;
  float Max;
  float Step;
};

class TParameter {
public:
  TParameter();
  TParameter(const char* aName, float aValue);
  virtual ~TParameter() = default;
  TParameter(const TParameter&) = delete;
  TParameter& operator=(const TParameter&) = delete;

  // Virtual operations, in slot order.
  virtual float GetVstValue() const;
  virtual void SetVstValue(float x);
  virtual const char* GetDisplay();
  virtual bool IncValue() { return false; }
  virtual bool DecValue() { return false; }

  // The plain value. Written whole: the audio thread may read it meanwhile.
  double Value() const { return fValue.load(std::memory_order_relaxed); }
  void SetValue(double v) { fValue.store(v, std::memory_order_relaxed); }
  double DefaultValue() const { return fDefault; }
  std::uint32_t Flags() const { return fFlags; }
  int32_t Index() const { return fIndex; }
  void SetIndex(int32_t i) { fIndex = i; }
  const char* Caption() const { return fCaption; }
  const char* Name() const { return fName; }
  TVSTParType Type() const { return fType; }

  // Copies the plain value only.
  void CopyFrom(const TParameter& par) { SetValue(par.Value()); }

protected:
  double fDefault;
  std::atomic<double> fValue;
  char fDisplay[256] = {};
  std::uint32_t fFlags = 1;
  int32_t fIndex = -1;
  const char* fCaption = "";
  const char* fName;
  TVSTParType fType = ptFloat;
};

class TParamFloat : public TParameter {
public:
  TParamFloat(const char* aName, const char* aCaption, double aVal, double aMin, double aMax,
              double aStep);
  explicit TParamFloat(const TVSTParam& p);

  float GetVstValue() const override;
  void SetVstValue(float x) override;
  bool IncValue() override;
  bool DecValue() override;

  double Min() const { return fMin; }
  double Max() const { return fMax; }
  double StepValue() const { return fStep; }
  bool Stepped() const { return fStepped; }
  int32_t NumSteps() const { return fNumSteps; }
  double Inc() const { return fInc; }

protected:
  double fMin;
  double fMax;
  double fStep;
  double fInc;
  double fRange;
  double fInvRange;
  bool fStepped;
  int32_t fNumSteps;
  double fStepSize;
  double fHalfStep;
};

class TParamInt : public TParamFloat {
public:
  TParamInt(const char* aName, const char* aCaption, float aVal, float aMin, float aMax);
  explicit TParamInt(const TVSTParam& p);
  const char* GetDisplay() override;
};

class TParamBool : public TParamFloat {
public:
  TParamBool(const char* aName, float aVal);
  explicit TParamBool(const TVSTParam& p);
  const char* GetDisplay() override;
  bool IncValue() override { return false; }
  bool DecValue() override { return false; }
};

class TParamNote : public TParamFloat {
public:
  explicit TParamNote(const TVSTParam& p);
  const char* GetDisplay() override;
};

class TParamRndMode : public TParamFloat {
public:
  explicit TParamRndMode(const TVSTParam& p);
  const char* GetDisplay() override;
};
