// The item kinds and what sets them apart.
#include "uKestMenu.h"

namespace kest::menu {

TKestSubmenuItem::TKestSubmenuItem(kest::ui::Component* AOwner) : TKestItem(AOwner) {
  FItemStyle.Include(tbisSubmenu).Include(tbisSubitemsEditable);
}

void TKestSubmenuItem::SetDropdownCombo(bool v) {
  if (v == DropdownCombo()) return;
  if (v)
    FItemStyle.Include(tbisCombo);
  else
    FItemStyle.Exclude(tbisCombo);
  Change(true);
}

TKestSeparatorItem::TKestSeparatorItem(kest::ui::Component* AOwner) : TKestCustomItem(AOwner) {
  FItemStyle = {tbisSeparator, tbisClicksTransparent};
}

void TKestSeparatorItem::SetBlank(bool v) {
  if (v == FBlank) return;
  FBlank = v;
  Change(false);
}

TKestLabelItem::TKestLabelItem(kest::ui::Component* AOwner) : TKestCustomItem(AOwner) {
  FItemStyle = {tbisClicksTransparent};
}

TKestControlItem::TKestControlItem(kest::ui::Component* AOwner) : TKestCustomItem(AOwner) {
  FItemStyle.Exclude(tbisSelectable).Include(tbisClicksTransparent);
}

TKestControlItem::~TKestControlItem() {
  kest::ui::Control* control = FControl;
  FControl = nullptr;
  if (control) RemoveFreeNotification(control);
  if (control && !FDontFreeControl) delete control;
}

void TKestControlItem::SetControl(kest::ui::Control* v) {
  if (v == FControl) return;
  FControl = v;
  if (v) v->FreeNotification(this);
  Change(true);
}

void TKestControlItem::Notification(kest::ui::Component* AComponent,
                                    kest::ui::Operation Operation) {
  TKestCustomItem::Notification(AComponent, Operation);
  if (Operation == kest::ui::Operation::Remove && AComponent == FControl) SetControl(nullptr);
}

} // namespace kest::menu
