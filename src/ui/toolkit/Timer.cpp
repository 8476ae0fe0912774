#include "ui/toolkit/Timer.h"

#include "ui/toolkit/Application.h"

namespace kest::ui {

Timer::Timer(Component* owner) : Component(owner) {
  WindowDesc desc;
  desc.messageOnly = true;
  desc.proc = [this](WindowHandle h, std::uint32_t msg, WParam w, LParam l) -> LResult {
    if (msg != WM_TIMER) return DefaultWindowProc(h, msg, w, l);
    try {
      DoTimer();
    } catch (...) {
      App().HandleException(std::current_exception());
    }
    return 0;
  };
  fWindow = CreateWnd(desc);
}

Timer::~Timer() {
  BeginDestroy();
  DestroyWnd(fWindow);
}

void Timer::SetEnabled(bool v) {
  if (v == fEnabled) return;
  fEnabled = v;
  Update();
}

void Timer::SetInterval(std::uint32_t ms) {
  if (ms == fInterval) return;
  fInterval = ms;
  Update();
}

void Timer::SetOnTimer(NotifyEvent handler) {
  fOnTimer = std::move(handler);
  Update();
}

void Timer::Update() {
  KillTimer(fWindow, 1);
  if (fInterval != 0 && fEnabled && fOnTimer) SetTimer(fWindow, 1, fInterval);
}

void Timer::DoTimer() {
  if (fOnTimer) fOnTimer(this);
}

} // namespace kest::ui
