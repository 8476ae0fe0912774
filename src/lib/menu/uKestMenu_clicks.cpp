// Clicks, popup handlers and clicks deferred until the current message has
// been handled.
#include "uKestMenu.h"

namespace kest::menu {

void TKestCustomItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

void TKestCustomItem::DoPopup(TKestCustomItem* Sender, bool FromLink) {
  if (OnPopup) OnPopup(Sender, FromLink);
  if (!FItemStyle.Contains(tbisCombo)) Click();
}

void TKestCustomItem::PostClick() {
  KestPostDeferred(this, 0);
}

void TKestCustomItem::DeferredRun(std::uintptr_t) {
  Click();
}

} // namespace kest::menu
