// The per-thread queue of deferred work: a hidden message window, the
// pending objects by slot, and a count of the objects that may use it.
#include <exception>
#include <vector>

#include "uKestMenu.h"
#include "uKestMenu_internal.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {

namespace {

using kest::ui::LParam;
using kest::ui::LResult;
using kest::ui::WindowHandle;
using kest::ui::WParam;

// Stands in a slot whose object was destroyed before its message came, so
// that the slot is not reused while that message is still on its way.
class DestroyedMarker final : public IKestDeferred {
public:
  void DeferredRun(std::uintptr_t) override {}
};
DestroyedMarker gDestroyed;

struct DeferredQueue {
  WindowHandle window = 0;
  std::vector<IKestDeferred*> pending;
  int objects = 0;

  ~DeferredQueue() { Release(); }
  void Release() {
    if (window) detail::DeallocateMessageWindow(window);
    window = 0;
    pending.clear();
  }
};

thread_local DeferredQueue tQueue;

void Arrived(WParam flag, LParam index) {
  auto& pending = tQueue.pending;
  IKestDeferred* object = nullptr;
  if (index >= 0 && static_cast<std::size_t>(index) < pending.size()) {
    object = pending[static_cast<std::size_t>(index)];
    pending[static_cast<std::size_t>(index)] = nullptr;
  }
  while (!pending.empty() && !pending.back())
    pending.pop_back();
  if (!object || object == &gDestroyed) return;
  try {
    object->DeferredRun(flag);
  } catch (...) {
    kest::ui::App().HandleException(std::current_exception());
  }
}

LResult QueueWindowProc(WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
  if (msg != kKestDeferredMessage) return kest::ui::DefaultWindowProc(h, msg, w, l);
  Arrived(w, l);
  return 0;
}

} // namespace

void KestPostDeferred(IKestDeferred* object, std::uintptr_t flag) {
  if (!object) return;
  auto& q = tQueue;
  if (q.window && !kest::ui::IsWindow(q.window)) {
    // The window went with its messages (a new display backend): nothing
    // pending will ever arrive, so the slots are free again.
    q.window = 0;
    q.pending.clear();
  }
  if (!q.window) q.window = detail::AllocateMessageWindow(QueueWindowProc);
  std::size_t slot = 0;
  while (slot < q.pending.size() && q.pending[slot])
    ++slot;
  if (slot == q.pending.size())
    q.pending.push_back(object);
  else
    q.pending[slot] = object;
  kest::ui::PostMsg(q.window, kKestDeferredMessage, flag, static_cast<LParam>(slot));
}

void KestCancelDeferred(IKestDeferred* object) {
  for (auto& slot : tQueue.pending) {
    if (slot == object) slot = &gDestroyed;
  }
}

void KestDeferredObjectCreated() {
  ++tQueue.objects;
}

void KestDeferredObjectDestroyed() {
  if (--tQueue.objects == 0) tQueue.Release();
}

} // namespace kest::menu
