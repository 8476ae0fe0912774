#pragma once
// A window that records the messages it receives.
#include <vector>

#include "ui/windowing/WindowSystem.h"

namespace kest::ui::test {

struct Received {
  WindowHandle hwnd;
  std::uint32_t msg;
  WParam w;
  LParam l;
};

class Recorder {
public:
  std::vector<Received> log;
  // Messages the recorder keeps (others go to the default handling only).
  std::vector<std::uint32_t> keep{WM_USER + 1,       WM_USER + 2,    WM_USER + 3,  WM_TIMER,
                                  WM_PAINT,          WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                  WM_MOUSEMOVE,      WM_RBUTTONDOWN, WM_KEYDOWN,   WM_KEYUP,
                                  WM_CHAR,           WM_SYSKEYDOWN,  WM_SETFOCUS,  WM_KILLFOCUS,
                                  WM_CAPTURECHANGED, WM_CANCELMODE,  WM_MOUSEWHEEL};

  WindowHandle Create(Rect bounds, WindowHandle parent = 0, bool visible = true) {
    WindowDesc d;
    d.parent = parent;
    d.bounds = bounds;
    d.visible = visible;
    d.background = Rgb(255, 255, 255);
    d.proc = [this](WindowHandle h, std::uint32_t m, WParam w, LParam l) {
      for (auto k : keep) {
        if (k == m) log.push_back({h, m, w, l});
      }
      return DefaultWindowProc(h, m, w, l);
    };
    return CreateWnd(d);
  }
  std::vector<std::uint32_t> Messages(WindowHandle h = 0) const {
    std::vector<std::uint32_t> r;
    for (const auto& e : log) {
      if (h == 0 || e.hwnd == h) r.push_back(e.msg);
    }
    return r;
  }
  const Received* Last(std::uint32_t msg) const {
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
      if (it->msg == msg) return &*it;
    }
    return nullptr;
  }
};

} // namespace kest::ui::test
