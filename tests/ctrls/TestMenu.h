#pragma once
// A stand-in popup menu: Popup opens a small top-level window and runs a
// nested loop until a press lands outside it (the press stays queued, as
// the real menu leaves it) or the queue runs dry.
#include <functional>
#include <vector>

#include "uKestPopupIntf.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::test {

class TestMenu : public TKestPopupMenuIntf {
public:
  using TKestPopupMenuIntf::TKestPopupMenuIntf;
  ~TestMenu() override;

  void Popup(int X, int Y) override;

  // Runs inside the loop whenever the queue is empty, once per popup; the
  // user's actions while the menu is open.
  std::function<void()> whileOpen;
  // When set, the loop hands every message on, presses outside included.
  bool dispatchAll = false;

  std::vector<ui::Point> popups;
  std::vector<ui::Component*> popupComponents;
  ui::WindowHandle window = 0;
};

} // namespace kest::test
