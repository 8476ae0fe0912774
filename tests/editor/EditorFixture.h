#pragma once
// The plug-in as a host has it (the engine and the editor from the static
// libraries, driven through its AEffect record by the host harness), on the
// headless screen, with a host window the editor opens in.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "TFrmEditor.h"
#include "TPluginEditor.h"
#include "VstHost.h"
#include "ui/headless/HeadlessBackend.h"

class TPlugin;

namespace kest::test {

class EditorTest : public ::testing::Test {
protected:
  // The host's editor window: its native id and where it lies.
  static constexpr std::uint64_t kHostWindow = 0x5A0001;
  static constexpr ui::Point kHostAt{120, 90};

  void SetUp() override;
  void TearDown() override;

  // effEditOpen with the host window (or the given pointer).
  intptr_t OpenEditor();
  intptr_t OpenEditor(void* parent);
  void CloseEditor();
  void Idle();

  TPlugin& Plugin() const;
  TPluginEditor& Editor() const;
  TFrmEditor& Form() const;

  // Input at a point of a control, through the host window on the screen.
  void PressAt(const ui::Control* c, int x, int y, ui::MouseButton b = ui::MouseButton::Left);
  void MoveTo(const ui::Control* c, int x, int y);
  void Release(ui::MouseButton b = ui::MouseButton::Left);
  void ClickAt(const ui::Control* c, int x, int y, ui::MouseButton b = ui::MouseButton::Left);
  void Wheel(int notches);

  // The normalised value the plug-in reports for a plain value.
  float Normalised(int32_t index, double plain) const;
  // Whether the last automation the host was sent is this plain value.
  ::testing::AssertionResult Automated(int32_t index, double plain) const;
  // Runs blocks of silence-free noise until the transport has moved by quarters.
  void Play(double quarters);
  // What the host window shows.
  ui::Bitmap HostWindowPicture();

  ui::headless::HeadlessScreen screen;
  kest::host::VstHost host;
  AEffect* effect = nullptr;
  // Whether the editor's display starts (false: as without an X server),
  // or fails with an error.
  static inline bool displayRuns = true;
  static inline bool displayFails = false;
  static bool StartDisplay() {
    if (displayFails) throw std::runtime_error("no display today");
    return displayRuns;
  }
};

// The plug-in's entry point, as the module has it.
AEffect* VSTCALLBACK PluginEntry(audioMasterCallback audioMaster);

// Where tests may write files (the build folder).
std::string OutputPath(const std::string& name);

} // namespace kest::test
