// The user's edits on the editor form: control changes, selection and the
// wheel's target, the keyboard, and renaming the preset.
#include <string>

#include "TFrmEditor.h"
#include "TPlugin.h"
#include "TextCodec.h"
#include "uKestUtils.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"

namespace kest {

namespace {

bool IsStepSwitch(int index) {
  if (index < kStepA1 || index >= kRandom) return false;
  return (index - kStepA1) % 32 < kNumSteps;
}

// The sliders and the step notes step with the wheel.
bool IsWheelTarget(int index) {
  if (index >= kLevel && index <= kDetune) return true;
  return index >= kNoteA1 && index < kRandom && (index - kStepA1) % 32 >= kNumSteps;
}

bool IsBlank(std::u16string_view text) {
  for (char16_t c : text)
    if (c > u' ') return false;
  return true;
}

// Names reach the plug-in as a host gives them: UTF-8 on Linux, the
// system's 8-bit code page on Windows.
std::string HostText(const std::u16string& text) {
#if defined(_WIN32)
  return Utf16ToCp1252(text);
#else
  return ui::Utf16ToUtf8(text);
#endif
}

} // namespace

void TFrmEditor::Edit(int32_t index, double value) {
  if (fPlugin) fPlugin->SetEditedParameter(index, value);
}

void TFrmEditor::SetLastPar(int index) {
  fLastPar = index;
  // A step's switch hands the wheel to the same step's note (the switch
  // reports its change after its selection, so both go through here).
  if (IsStepSwitch(fLastPar)) fLastPar += kNumSteps;
}

void TFrmEditor::ParameterChange(TKestControl* Sender) {
  const auto index = static_cast<int32_t>(Sender->Tag());
  SetLastPar(index);
  Edit(index, Sender->Value());
}

void TFrmEditor::RootNoteChange(TKestControl* Sender) {
  SetLastPar(static_cast<int>(Sender->Tag()));
  Edit(kRandomRootNote, SeOct->AsInteger() * 12 + KbNote->AsInteger());
}

void TFrmEditor::RandomRelease() {
  Edit(kRandom, 0);
}

void TFrmEditor::Selection(TKestControl*, int Index) {
  Prsbox->HideEdit();
  SetLastPar(Index);
  if (CanFocus()) SetFocus();
}

void TFrmEditor::BackgroundClick() {
  fLastPar = -1;
  Prsbox->HideEdit();
  if (CanFocus()) SetFocus();
}

void TFrmEditor::MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  BackgroundClick();
  ui::Form::MouseDown(button, shift, x, y);
}

bool TFrmEditor::DoMouseWheel(ui::ShiftState shift, int delta, ui::Point screen) {
  ui::Form::DoMouseWheel(shift, delta, screen);
  if (fPlugin && delta != 0 && IsWheelTarget(fLastPar)) {
    TParameter& p = fPlugin->Preset()[fLastPar];
    // A turn towards the user lowers the value.
    const bool changed = delta < 0 ? p.DecValue() : p.IncValue();
    if (changed) Edit(fLastPar, p.Value());
  }
  return true;
}

void TFrmEditor::KeyDown(std::uint16_t& key, ui::ShiftState shift) {
  if (key == ui::VK_ESCAPE) {
    Prsbox->HideEdit();
    key = 0;
    return;
  }
  ui::Form::KeyDown(key, shift);
}

void TFrmEditor::Rename(ui::Component*, std::u16string& NewText, bool& Accept) {
  if (IsBlank(NewText)) {
    Complain(u"Preset name is empty!");
    Accept = false;
    return;
  }
  if (fPlugin && NewText != Prsbox->Caption() &&
      fPlugin->Bank().IndexOfPreset(Utf16ToCp1252(NewText)) >= 0) {
    Complain(u"Preset with name \"" + NewText + u"\" already exists!");
    Accept = false;
    return;
  }
  Accept = true;
  if (!fPlugin) return;
  std::string name = HostText(NewText);
  fPlugin->SetProgramName(name.data());
  // The host's list of program names is out of date.
  fPlugin->UpdateDisplay();
}

} // namespace kest
