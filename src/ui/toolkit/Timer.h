#pragma once
// A component that fires OnTimer every Interval milliseconds while enabled,
// through a message-only window's timer.
#include <cstdint>

#include "ui/toolkit/Component.h"
#include "ui/toolkit/Events.h"

namespace kest::ui {

class Timer : public Component {
public:
  explicit Timer(Component* owner);
  ~Timer() override;

  bool Enabled() const { return fEnabled; }
  void SetEnabled(bool v);
  std::uint32_t Interval() const { return fInterval; }
  void SetInterval(std::uint32_t ms);
  void SetOnTimer(NotifyEvent handler);

protected:
  virtual void DoTimer();

private:
  void Update();

  bool fEnabled = true;
  std::uint32_t fInterval = 1000;
  NotifyEvent fOnTimer;
  WindowHandle fWindow = 0;
};

} // namespace kest::ui
