#pragma once
// Nested modal loops of a thread (the popup menus') and the work they do for
// whoever drives the thread from outside. A plug-in's user-interface thread
// belongs to the host: while a menu's loop runs inside one of the host's
// calls, the work the host's idle calls would have done must still happen
// (values handed over from other threads, the host's own idle request), and
// a pump that the host starts from inside the loop (by answering such a
// request with another idle call) must leave the queue to the loop.
#include <cstdint>
#include <functional>

namespace kest::ui {

// Marks a nested modal loop running on this thread for its lifetime.
class ModalLoopScope {
public:
  ModalLoopScope();
  ~ModalLoopScope();
  ModalLoopScope(const ModalLoopScope&) = delete;
  ModalLoopScope& operator=(const ModalLoopScope&) = delete;
};
bool InModalLoop();

// Work that modal loops of this thread run every kModalIdleIntervalMs.
inline constexpr std::uint32_t kModalIdleIntervalMs = 20;
using ModalIdleId = int;
ModalIdleId AddModalIdleHandler(std::function<void()> Handler);
void RemoveModalIdleHandler(ModalIdleId Id);
// Runs this thread's handlers when their interval is up (now is the clock
// of the window system); answers how long until they are due again, or
// kInfinite when the thread has none. A handler's error propagates after
// the handlers before it have run.
std::uint32_t RunModalIdleIfDue(std::uint32_t Now);

// While a dialog of another program or of the system holds the user (a
// file chooser, a system message box): handles what waits for our windows
// (posted messages, timers, painting) but drops input, which would act
// behind the dialog's back; a quit is left for the outer loop.
void DispatchAllButInput();

} // namespace kest::ui
