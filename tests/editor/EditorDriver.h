#pragma once
// What the tests of the shipped module's editor need of a desktop, once for
// each system: real input as the user gives it (pointer and keys, through the
// system's input queue), the windows on the screen and what the screen shows.
// On Linux a private X server with xdotool (X11EditorDriver.cpp); on Windows,
// under Wine, SendInput and GDI (Win32EditorDriver.cpp).
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/gfx/Bitmap.h"

namespace kest::editortest {

// A window as the screen has it.
struct ScreenWindow {
  std::uintptr_t id = 0;
  int x = 0, y = 0, width = 0, height = 0; // its area on the screen
  bool shown = false;
  bool menu = false; // a menu level: no frame, takes no activation
};

class EditorDriver {
public:
  virtual ~EditorDriver() = default;

  // Empty when the desktop can be used, else why not (the tests skip).
  virtual const std::string& Problem() const = 0;
  // The display the host opens its window on (null: the system's only one).
  virtual const char* DisplayName() const = 0;

  // Real input at screen coordinates; keys by their X names ("Down",
  // "Right", "Return", "Escape").
  virtual void MoveTo(int x, int y) = 0;
  virtual void Press() = 0; // the left button
  virtual void Release() = 0;
  void Click() {
    Press();
    Release();
  }
  virtual void Key(const std::string& name) = 0;

  // The windows directly inside a window, shown or not.
  virtual std::vector<ScreenWindow> Children(std::uintptr_t parent) = 0;
  // The shown top-level windows of the screen.
  virtual std::vector<ScreenWindow> TopLevels() = 0;
  // Where a window's inside lies on the screen.
  virtual ScreenWindow Where(std::uintptr_t window) = 0;
  // What the screen shows in a rectangle.
  virtual ui::Bitmap Capture(int x, int y, int width, int height) = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;

  // Runs a program and waits for it; its exit code (-1: it did not run).
  virtual int Run(const std::vector<std::string>& command) = 0;
};

// The process's desktop, started on first use.
EditorDriver& Desktop();

} // namespace kest::editortest

// Skips the test with a clear message when there is no desktop to use.
#define KEST_NEED_DESKTOP()                                                                        \
  do {                                                                                             \
    if (!::kest::editortest::Desktop().Problem().empty())                                          \
      GTEST_SKIP() << "No desktop: " << ::kest::editortest::Desktop().Problem();                   \
  } while (0)
