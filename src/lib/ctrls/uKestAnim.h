#pragma once
// Slides a popup window into view when it opens: its picture is taken
// once, the window shows an ever larger part of it for 150 ms in 10 ms
// steps, and the slide ends early when the pointer enters the window or
// the window paints itself. One slide per thread at a time.
#include <cstdint>

#include "ui/windowing/WindowSystem.h"

namespace kest {

enum TKestAnimationDirectionItem : std::uint8_t { tbadLeft, tbadRight, tbadDown, tbadUp };

// A set of directions, bit n for item n.
class TKestAnimationDirection {
public:
  constexpr TKestAnimationDirection() = default;
  constexpr TKestAnimationDirection(std::initializer_list<TKestAnimationDirectionItem> items) {
    for (auto i : items)
      fBits = static_cast<std::uint8_t>(fBits | (1u << i));
  }
  constexpr bool Contains(TKestAnimationDirectionItem i) const { return (fBits >> i) & 1u; }
  constexpr TKestAnimationDirection& Include(TKestAnimationDirectionItem i) {
    fBits = static_cast<std::uint8_t>(fBits | (1u << i));
    return *this;
  }
  constexpr bool Empty() const { return fBits == 0; }
  friend constexpr bool operator==(TKestAnimationDirection, TKestAnimationDirection) = default;

private:
  std::uint8_t fBits = 0;
};

inline constexpr std::uint32_t kPopupAnimationMs = 150;
inline constexpr std::uint32_t kPopupAnimationStepMs = 10;

// Ends any slide of this thread, then starts sliding Wnd in. The window is
// shown (not activated) with nothing of it visible yet. Raises
// std::runtime_error when the window cannot be pictured.
void StartPopupAnimation(ui::WindowHandle Wnd, TKestAnimationDirection Direction);
// Draws the next frame when one is due; ends the slide when it is over.
void StepPopupAnimation();
// Ends the slide and shows the whole window.
void EndPopupAnimation();
// Ends the slide when it belongs to Wnd (to any window when 0).
void EndPopupAnimationFor(ui::WindowHandle Wnd);
bool PopupAnimating();

} // namespace kest
