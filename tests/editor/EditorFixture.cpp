#include "EditorFixture.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "EditorRegistration.h"
#include "TPlugin.h"
#include "TSynth.h"
#include "VstEntry.h"
#include "uKestSkins.h"
#include "ui/gfx/Font.h"
#include "ui/toolkit/Application.h"

namespace kest::test {

namespace {

constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

AudioEffect* CreateSynth(audioMasterCallback audioMaster) {
  return new TSynth(audioMaster);
}

} // namespace

AEffect* VSTCALLBACK PluginEntry(audioMasterCallback audioMaster) {
  return VstEntry(audioMaster, &CreateSynth);
}

void EditorTest::SetUp() {
  ui::App().Reset();
  // Text pictures must not depend on the fonts of the machine.
  if (std::filesystem::exists(kRegular) && std::filesystem::exists(kBold))
    ui::PinFontFace("Tahoma", kRegular, kBold);
  LoadSharedSkins();
  displayRuns = true;
  displayFails = false;
  RegisterEditor(&StartDisplay);
  screen->hostWindows[kHostWindow] =
      ui::Rect::FromSize(kHostAt.x, kHostAt.y, TPluginEditor::kWidth, TPluginEditor::kHeight);
  effect = host.Open(&PluginEntry);
  ASSERT_NE(effect, nullptr);
  host.SetSampleRate(44100.0f);
  host.SetBlockSize(256);
}

void EditorTest::TearDown() {
  host.Close();
  UnregisterEditor();
  ui::App().Reset();
}

intptr_t EditorTest::OpenEditor() {
  return OpenEditor(reinterpret_cast<void*>(static_cast<std::uintptr_t>(kHostWindow)));
}

intptr_t EditorTest::OpenEditor(void* parent) {
  return host.Dispatch(effEditOpen, 0, 0, parent);
}

void EditorTest::CloseEditor() {
  host.Dispatch(effEditClose);
}

void EditorTest::Idle() {
  host.Dispatch(effEditIdle);
}

TPlugin& EditorTest::Plugin() const {
  return *static_cast<TPlugin*>(AudioEffect::FromEffect(effect));
}

TPluginEditor& EditorTest::Editor() const {
  return *static_cast<TPluginEditor*>(Plugin().EditorHost());
}

TFrmEditor& EditorTest::Form() const {
  TFrmEditor* form = Editor().Form();
  if (form == nullptr) throw std::logic_error("the editor is not open");
  return *form;
}

void EditorTest::PressAt(const ui::Control* c, int x, int y, ui::MouseButton b) {
  screen.MoveTo(c->ClientToScreen({x, y}));
  screen.Press(b);
  Idle();
}

void EditorTest::MoveTo(const ui::Control* c, int x, int y) {
  screen.MoveTo(c->ClientToScreen({x, y}));
  Idle();
}

void EditorTest::Release(ui::MouseButton b) {
  screen.Release(b);
  Idle();
}

void EditorTest::ClickAt(const ui::Control* c, int x, int y, ui::MouseButton b) {
  PressAt(c, x, y, b);
  Release(b);
}

void EditorTest::Wheel(int notches) {
  screen.Wheel(notches * ui::WHEEL_DELTA);
  Idle();
}

float EditorTest::Normalised(int32_t index, double plain) const {
  TParamList list;
  list[index].SetValue(plain);
  return list[index].GetVstValue();
}

::testing::AssertionResult EditorTest::Automated(int32_t index, double plain) const {
  const auto events = host.Automation();
  const float wanted = Normalised(index, plain);
  if (!events.empty() && events.back().index == index &&
      std::abs(events.back().value - wanted) < 1e-6f) {
    return ::testing::AssertionSuccess();
  }
  auto failure = ::testing::AssertionFailure() << "wanted " << index << " = " << wanted << ", ";
  if (events.empty()) return failure << "the host was sent nothing";
  return failure << "the last was " << events.back().index << " = " << events.back().value;
}

void EditorTest::Play(double quarters) {
  std::vector<float> in(256, 0.25f), outL(256), outR(256);
  const double end = host.Time().ppqPos + quarters;
  while (host.Time().ppqPos < end)
    host.Process(in.data(), in.data(), outL.data(), outR.data(), 256);
}

ui::Bitmap EditorTest::HostWindowPicture() {
  const ui::Bitmap whole = screen.Screenshot();
  ui::Bitmap out(TPluginEditor::kWidth, TPluginEditor::kHeight);
  out.GetCanvas().BitBlt(0, 0, out.Width(), out.Height(), whole, kHostAt.x, kHostAt.y);
  return out;
}

std::string OutputPath(const std::string& name) {
  return std::string(KEST_TEST_OUTPUT_DIR) + "/" + name;
}

} // namespace kest::test
