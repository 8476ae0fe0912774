#pragma once
// Event and state types shared by the toolkit classes.
#include <cstdint>
#include <functional>

#include "ui/windowing/Types.h"

namespace kest::ui {

class Component;

// Modifier keys and buttons held during an input event.
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 0x01;
inline constexpr ShiftState ssAlt = 0x02;
inline constexpr ShiftState ssCtrl = 0x04;
inline constexpr ShiftState ssLeft = 0x08;
inline constexpr ShiftState ssRight = 0x10;
inline constexpr ShiftState ssMiddle = 0x20;
inline constexpr ShiftState ssDouble = 0x40;

// The modifier keys as the messages retrieved so far left them.
ShiftState KeyboardShiftState();
// Buttons and modifiers of a mouse message's key flags (plus Alt).
ShiftState MouseShiftState(WParam keyFlags);

using NotifyEvent = std::function<void(Component* sender)>;
using MouseEvent =
    std::function<void(Component* sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Component* sender, ShiftState shift, int x, int y)>;
using KeyEvent = std::function<void(Component* sender, std::uint16_t& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Component* sender, char16_t& key)>;
using MouseWheelEvent = std::function<void(Component* sender, ShiftState shift, int delta,
                                           Point screen, bool& handled)>;

} // namespace kest::ui
