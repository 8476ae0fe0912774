#include "ui/windowing/ModalLoop.h"

#include <map>
#include <vector>

#include "ui/windowing/WindowSystem.h"

namespace kest::ui {

namespace {

struct ModalState {
  int depth = 0;
  std::map<ModalIdleId, std::function<void()>> handlers;
  ModalIdleId nextId = 1;
  std::uint32_t lastRun = 0;
  bool ranOnce = false;
};

thread_local ModalState tModal;

} // namespace

ModalLoopScope::ModalLoopScope() {
  ++tModal.depth;
}

ModalLoopScope::~ModalLoopScope() {
  --tModal.depth;
}

bool InModalLoop() {
  return tModal.depth > 0;
}

ModalIdleId AddModalIdleHandler(std::function<void()> Handler) {
  const ModalIdleId id = tModal.nextId++;
  tModal.handlers.emplace(id, std::move(Handler));
  return id;
}

void RemoveModalIdleHandler(ModalIdleId Id) {
  tModal.handlers.erase(Id);
}

std::uint32_t RunModalIdleIfDue(std::uint32_t Now) {
  ModalState& m = tModal;
  if (m.handlers.empty()) return kInfinite;
  const std::uint32_t since = Now - m.lastRun;
  if (m.ranOnce && since < kModalIdleIntervalMs) return kModalIdleIntervalMs - since;
  m.lastRun = Now;
  m.ranOnce = true;
  // A handler may remove itself or others (a host closing the editor).
  std::vector<ModalIdleId> ids;
  for (const auto& [id, h] : m.handlers)
    ids.push_back(id);
  for (ModalIdleId id : ids) {
    const auto it = m.handlers.find(id);
    if (it == m.handlers.end()) continue;
    const std::function<void()> handler = it->second;
    handler();
  }
  return kModalIdleIntervalMs;
}

void DispatchAllButInput() {
  Message m;
  int guard = 0; // a window that never validates must not hold us here
  while (++guard < 1000 && PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMsg(static_cast<int>(m.wParam)); // the outer loop's
      break;
    }
    const bool input = (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) ||
                       (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST);
    if (!input) DispatchMsg(m);
  }
}

} // namespace kest::ui
