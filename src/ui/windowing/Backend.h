#pragma once
// The small interface between the portable window system and a display
// backend (headless now; X11 and Win32 later). A backend supplies the clock,
// waiting for native events, monitors, presenting finished surfaces, the
// pointer and the services, and feeds native input through the Input calls.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/services/Services.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui {

class Backend {
public:
  virtual ~Backend() = default;
  virtual std::uint32_t Now() = 0;
  // Waits for native input, a Wake, or timeoutMs (kInfinite: no limit),
  // feeding what arrives into the queue through the Input calls.
  virtual void Wait(std::uint32_t timeoutMs) = 0;
  // Called after a message was posted from another thread.
  virtual void Wake() {}
  // A pump has handled what was waiting: native state (grabs, focus)
  // follows the window system's, and what was drawn goes out to the display.
  virtual void Flush() {}
  virtual std::vector<Monitor> Monitors() = 0;
  // A top-level window is about to stand for the native window nativeId
  // (WindowDesc::hostWindow): where that window lies on the screen, nothing
  // when there is no such window. The backend follows it from here on.
  virtual std::optional<Rect> AdoptHostWindow(std::uint64_t /*nativeId*/) { return std::nullopt; }
  // A top-level window appeared, moved, changed visibility or went away.
  virtual void TopLevelChanged(WindowHandle) {}
  // Part of a top-level surface was repainted.
  virtual void Present(WindowHandle, const Rect&) {}
  virtual void CursorChanged(Cursor, bool /*visible*/) {}
  virtual void Beep(unsigned kind) = 0;
  virtual Services& GetServices() = 0;
  // Mouse input that no window takes when it is retrieved (it came while a
  // menu held the capture, and the menu has closed since). A backend whose
  // windows live among other programs' gives it back to the native window
  // under the pointer, so that a press that closed a menu still reaches
  // the window it was meant for.
  virtual void UnclaimedInput(const Message&) {}
  // A window event for assistive technology (NotifyWinEvent): the backend
  // passes it to the platform's accessibility service, if one listens.
  virtual void AccessibilityEvent(std::uint32_t /*event*/, WindowHandle, std::int32_t /*objectId*/,
                                  std::int32_t /*childId*/) {}
  // The keyboard's name of a virtual key; empty when the platform has none.
  virtual std::u16string KeyName(std::uint16_t /*vk*/) { return {}; }
};

// Native input enters here, in screen coordinates; it is queued like posted
// messages for the window under the pointer, the capture or the focus.
void InputMouseMove(Point screen);
void InputMouseButton(MouseButton button, bool down, Point screen);
void InputMouseWheel(int delta, Point screen);
void InputKey(std::uint16_t vk, bool down, char16_t character = 0);
void InputChar(char16_t character);
// Bounds of a top-level window that the native system decided (the user
// moved it, the host did): adopting stays set meanwhile, so that the
// backend's TopLevelChanged does not hand them back to the system.
void AdoptNativeBounds(WindowHandle h, const Rect& screen, bool& adopting);
// The native system took the pointer or the keyboard away from the capture
// (a failed grab, a lost focus): the capture window gets WM_CANCELMODE
// queued, whose default handling releases the capture.
void InputCancelMode();

// The backend used when none is installed.
std::unique_ptr<Backend> CreateDefaultBackend();

} // namespace kest::ui
