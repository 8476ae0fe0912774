#pragma once
// The X11 display backend. The headless backend stays the default; a
// program (the editor on Linux, the gallery) installs this one explicitly.
// Nothing here exposes X11 types: native windows are plain integer ids.
#include <cstdint>
#include <memory>

#include "ui/windowing/Backend.h"

namespace kest::ui::x11 {

// Opens a connection to the display (null: $DISPLAY); null when none can be
// opened.
std::unique_ptr<Backend> Create(const char* displayName = nullptr);

// Installs the X11 backend unless it already is the current one (every
// editor of the process shares it; installing drops all windows). False when
// no display can be opened; the current backend then stays.
bool Install(const char* displayName = nullptr);
bool Installed();

// A top-level window of the toolkit that stands for a foreign native window
// (the host's editor window): it covers that window, follows its size and
// position, and forms become its children. Destroying it leaves the foreign
// window alone; when the foreign window goes first, the toolkit windows stay
// until they are destroyed and nothing is drawn any more. 0 when the id is
// not a window or the X11 backend is not installed.
WindowHandle WrapForeignWindow(std::uint64_t nativeWindow);

// The native window of a toolkit top-level window (0: none yet, or gone).
std::uint64_t NativeWindowId(WindowHandle h);

// What a host's idle call runs: PumpPending on this backend (nothing when
// another backend is installed). Hosts that call idle rarely see input and
// timers handled late (never lost): timers tick at most once per idle call,
// and repainting waits for the next call as well.
void Idle();

// The connection's file descriptor, for programs with their own poll loop
// (-1 when not installed).
int ConnectionFd();

} // namespace kest::ui::x11
