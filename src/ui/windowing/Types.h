#pragma once
// Basic types of the window system: handles, message parameters, messages.
#include <cstdint>
#include <functional>

#include "ui/gfx/Geometry.h"

namespace kest::ui {

// 0 is no window. Handles are never reused within a process.
using WindowHandle = std::uint32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

struct Message {
  WindowHandle hwnd = 0;
  std::uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  std::uint32_t time = 0; // clock milliseconds when it was queued
  Point pt;               // pointer position on the screen when it was queued
  // For key-down messages: the character that TranslateMsg turns it into.
  char16_t character = 0;
  // Input finds its window when it is retrieved, as the capture and the
  // focus are then: the window under the pointer (or the capture window,
  // with client coordinates), or the focus window.
  enum class Route : std::uint8_t { Fixed, Pointer, Focus };
  Route route = Route::Fixed;
};

enum class MouseButton { Left, Right, Middle };

using WindowProc = std::function<LResult(WindowHandle, std::uint32_t, WParam, LParam)>;

// Packs two 16-bit values as mouse messages carry client coordinates.
constexpr LParam MakeLParam(int lo, int hi) {
  return static_cast<LParam>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr int LoWordSigned(LParam l) {
  return static_cast<std::int16_t>(l & 0xFFFF);
}
constexpr int HiWordSigned(LParam l) {
  return static_cast<std::int16_t>((l >> 16) & 0xFFFF);
}
constexpr Point PointFromLParam(LParam l) {
  return {LoWordSigned(l), HiWordSigned(l)};
}
constexpr LParam LParamFromPoint(Point p) {
  return MakeLParam(p.x, p.y);
}

} // namespace kest::ui
