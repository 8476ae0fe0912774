#include "EditorWindow.h"

#include <chrono>

namespace kest::host {

void EditorWindow::AskSize() {
  ERect* rect = nullptr;
  if (fHost.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
    throw EditorUnavailable("the plug-in has no editor");
  fWidth = rect->right - rect->left;
  fHeight = rect->bottom - rect->top;
  if (fWidth <= 0 || fHeight <= 0) throw EditorUnavailable("the plug-in's editor has no size");
}

void EditorWindow::OpenEditor(std::uintptr_t parent) {
  // Hosts open the editor in a window that exists (and is shown) already.
  if (fHost.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) == 0)
    throw EditorUnavailable("the plug-in opened no editor in the window");
  fOpen = true;
}

bool EditorWindow::IdleUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Idle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Wait(10);
  }
}

} // namespace kest::host
