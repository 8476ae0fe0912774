// Monitor rectangles for placing popups.
#include "uKestTools.h"

namespace kest {

ui::Rect ScreenWorkArea(bool WorkArea) {
  const std::vector<ui::Monitor> monitors = ui::GetMonitors();
  if (monitors.empty()) return {};
  const ui::Monitor& primary = monitors.front();
  if (WorkArea && !primary.workArea.IsEmpty()) return primary.workArea;
  return {0, 0, primary.bounds.Width(), primary.bounds.Height()};
}

ui::Rect MonitorRectFromRect(const ui::Rect& R, bool WorkArea) {
  if (ui::GetMonitors().size() <= 1) return ScreenWorkArea(WorkArea);
  const ui::Monitor m = ui::MonitorFromRect(R);
  return WorkArea ? m.workArea : m.bounds;
}

ui::Rect MonitorRectFromPoint(ui::Point P, bool WorkArea) {
  if (ui::GetMonitors().size() <= 1) return ScreenWorkArea(WorkArea);
  const ui::Monitor m = ui::MonitorFromPoint(P);
  return WorkArea ? m.workArea : m.bounds;
}

} // namespace kest
