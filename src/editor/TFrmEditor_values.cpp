// Values into the editor form: parameters and the preset name from the
// plug-in, the running step, and the level meters.
#include <algorithm>
#include <cmath>

#include "TEditorHandover.h"
#include "TFrmEditor.h"
#include "TPlugin.h"
#include "TextCodec.h"
#include "uKestUtils.h"

namespace kest {

void TFrmEditor::SetEditorParametr(int32_t index, double value) {
  if (!std::isfinite(value)) return;
  const auto v = static_cast<float>(value);
  if (index >= kLevel && index <= kDetune) {
    const std::array<TKestSlider*, 4> sliders{SlLev, SlDpt, SlGld, SlDtn};
    sliders[static_cast<std::size_t>(index)]->SetValue(v);
  } else if (index >= kChA && index < kChA + kNumChannels) {
    const std::array<TKestLedBtn*, kNumChannels> leds{CkChA, CkChB, CkChC};
    leds[static_cast<std::size_t>(index - kChA)]->SetValue(v);
  } else if (index >= kStepA1 && index < kRandom) {
    const auto channel = static_cast<std::size_t>((index - kStepA1) / 32);
    const int within = (index - kStepA1) % 32;
    if (within < kNumSteps) {
      const std::array<std::array<TKestSwitch*, 16>*, kNumChannels> rows{&Pat1, &Pat2, &Pat3};
      (*rows[channel])[static_cast<std::size_t>(within)]->SetValue(v);
    } else {
      const std::array<std::array<TKestKnob*, 16>*, kNumChannels> rows{&Frq1, &Frq2, &Frq3};
      (*rows[channel])[static_cast<std::size_t>(within - kNumSteps)]->SetValue(v);
    }
  } else if (index == kRandomRootNote) {
    const int n = std::clamp(RoundEven(value), 0, 127);
    LbNote->SetNote(n);
    KbNote->SetValue(static_cast<float>(n % 12));
    SeOct->SetAsInteger(n / 12);
  } else if (index == kRandomRange) {
    SeRng->SetValue(v);
  }
  // Random, the style and auto random have no control on the face.
}

void TFrmEditor::SetPresetName(const std::u16string& aName) {
  Prsbox->SetCaption(aName);
}

void TFrmEditor::ApplyHandover() {
  if (!fHandover) return;
  fHandover->TakeParameters(
      [this](int32_t index, float value) { SetEditorParametr(index, value); });
  if (fHandover->TakeNameChange() && fPlugin) {
    SetPresetName(Cp1252ToUtf16(fPlugin->Preset().Preset()));
  }
  if (const auto step = fHandover->TakeStep(); step && HandleAllocated()) {
    ui::PostMsg(Handle(), WM_KEST_STEP, static_cast<ui::WParam>(*step));
  }
}

void TFrmEditor::DoShow() {
  ui::Form::DoShow();
  if (!fPlugin) return;
  // What waited while the editor was closed is older than the preset itself.
  if (fHandover) fHandover->Clear();
  const TParamList& preset = fPlugin->Preset();
  for (int32_t i = 0; i < kNumParams; ++i)
    SetEditorParametr(i, preset[i].Value());
  fPlugin->UpdatePreset();
}

ui::LResult TFrmEditor::WndProc(std::uint32_t msg, ui::WParam w, ui::LParam l) {
  if (msg == WM_KEST_STEP) {
    Leds->SetStep(static_cast<int>(w));
    return 0;
  }
  return ui::Form::WndProc(msg, w, l);
}

void TFrmEditor::MeterTick() {
  if (fPlugin) {
    std::array<float, 4> level{};
    for (int i = 0; i < 4; ++i)
      level[static_cast<std::size_t>(i)] = AmpToDb(fPlugin->Peak(i));
    VU1->Display(level[0], level[1]);
    VU2->Display(level[2], level[3]);
  }
  // Hosts that idle rarely still see automation and the step move.
  ApplyHandover();
}

} // namespace kest
