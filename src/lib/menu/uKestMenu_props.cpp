// Property setters, radio groups and effective options.
#include "uKestMenu.h"

namespace kest::menu {

void TKestCustomItem::SetCaption(const std::u16string& v) {
  if (v == FCaption) return;
  FCaption = v;
  Change(true);
}

void TKestCustomItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Change(false);
  if (v) UncheckRadioSiblings();
}

void TKestCustomItem::UncheckRadioSiblings() {
  if (FGroupIndex == 0 || !FParent) return;
  // By position, re-reading the count: a sibling's subscriber may change
  // the list while it hears about its unchecking.
  for (int i = 0; i < FParent->Count(); ++i) {
    TKestCustomItem* sibling = FParent->GetItem(i);
    if (sibling != this && sibling->FGroupIndex == FGroupIndex) sibling->SetChecked(false);
  }
}

void TKestCustomItem::SetDisplayMode(TKestItemDisplayMode v) {
  if (v == FDisplayMode) return;
  FDisplayMode = v;
  Change(true);
}

void TKestCustomItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Change(true);
}

void TKestCustomItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  EnabledChanged();
}

void TKestCustomItem::SetRadioItem(bool v) {
  if (v == FRadioItem) return;
  FRadioItem = v;
  Change(false);
}

void TKestCustomItem::SetGroupIndex(int v) {
  if (v == FGroupIndex) return;
  FGroupIndex = v;
  if (FChecked) UncheckRadioSiblings();
}

void TKestCustomItem::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  // Every negative index means "no image" to the views, so the size
  // changes exactly when an image appears or disappears.
  const bool hadImage = FImageIndex >= 0;
  FImageIndex = v;
  Change(hadImage != (v >= 0));
}

void TKestCustomItem::SetName(const std::string& name) {
  if (name == Name()) return;
  Component::SetName(name);
  if (FParent) FParent->Notify(tbicNameChanged, -1, this);
}

namespace {

TKestItemOptions WithoutLoneToolbarSize(TKestItemOptions o) {
  if (!o.Contains(tboToolbarStyle)) o.Exclude(tboToolbarSize);
  return o;
}

} // namespace

void TKestCustomItem::SetOptions(TKestItemOptions v) {
  v = WithoutLoneToolbarSize(v);
  if (v == FOptions) return;
  FOptions = v;
  RefreshOptions();
}

void TKestCustomItem::SetMaskOptions(TKestItemOptions v) {
  if (v == FMaskOptions) return;
  FMaskOptions = v;
  RefreshOptions();
}

void TKestCustomItem::SetInheritOptions(bool v) {
  if (v == FInheritOptions) return;
  FInheritOptions = v;
  RefreshOptions();
}

void TKestCustomItem::RefreshOptions() {
  TKestItemOptions inherited;
  if (FInheritOptions && FParent)
    inherited = FParent->FEffectiveOptions - TKestItemOptions{tboDefault};
  const TKestItemOptions next = WithoutLoneToolbarSize((inherited - FMaskOptions) + FOptions);
  if (next == FEffectiveOptions) return;
  const TKestItemOptions old = FEffectiveOptions;
  FEffectiveOptions = next;
  if (((old.Bits() ^ next.Bits()) & kResizingOptionsMask) != 0) Change(true);
  for (int i = 0; i < Count(); ++i) {
    TKestCustomItem* sub = GetItem(i);
    if (sub->FInheritOptions) sub->RefreshOptions();
  }
}

} // namespace kest::menu
