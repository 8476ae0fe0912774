#include "uKestMenu_images.h"

#include <algorithm>

namespace kest::menu {

TChangeLink::~TChangeLink() {
  if (fSender) fSender->UnRegisterChanges(this);
}

TImageList::TImageList(kest::ui::Component* owner) : Component(owner) {}

TImageList::~TImageList() {
  // Holders drop us (and unregister their links) while we are still whole.
  BeginDestroy();
  for (TChangeLink* link : fLinks)
    link->fSender = nullptr;
  fLinks.clear();
}

void TImageList::SetSize(int width, int height) {
  if (width == fWidth && height == fHeight) return;
  fWidth = width;
  fHeight = height;
  fCount = 0;
  Change();
}

void TImageList::SetCount(int count) {
  if (count == fCount) return;
  fCount = count;
  Change();
}

void TImageList::RegisterChanges(TChangeLink* link) {
  if (!link || link->fSender == this) return;
  if (link->fSender) link->fSender->UnRegisterChanges(link);
  link->fSender = this;
  fLinks.push_back(link);
}

void TImageList::UnRegisterChanges(TChangeLink* link) {
  if (!link || link->fSender != this) return;
  link->fSender = nullptr;
  std::erase(fLinks, link);
}

void TImageList::Change() {
  // A handler may unregister links (its own or others'), so walk a copy and
  // skip the ones that left meanwhile.
  const std::vector<TChangeLink*> links = fLinks;
  for (TChangeLink* link : links) {
    if (link->fSender == this && link->OnChange) link->OnChange(link);
  }
}

TKestCustomImageList::TKestCustomImageList(kest::ui::Component* owner) : TImageList(owner) {
  auto relay = [this](TChangeLink*) { Change(); };
  FCheckedImagesChangeLink.OnChange = relay;
  FDisabledImagesChangeLink.OnChange = relay;
  FHotImagesChangeLink.OnChange = relay;
}

TKestCustomImageList::~TKestCustomImageList() {
  BeginDestroy();
}

void TKestCustomImageList::SetCompanion(TImageList*& field, TChangeLink& link, TImageList* value) {
  if (value == this) value = nullptr;
  if (value == field) return;
  if (field) field->UnRegisterChanges(&link);
  field = value;
  if (value) {
    value->RegisterChanges(&link);
    value->FreeNotification(this);
  }
  if (!Destroying()) Change();
}

const TImageList* TKestCustomImageList::ListForState(bool enabled, bool selected,
                                                     bool checked) const {
  if (!enabled && FDisabledImages) return FDisabledImages;
  if (checked && FCheckedImages) return FCheckedImages;
  if (selected && FHotImages) return FHotImages;
  return this;
}

void TKestCustomImageList::Notification(kest::ui::Component* component, kest::ui::Operation op) {
  TImageList::Notification(component, op);
  if (op != kest::ui::Operation::Remove) return;
  if (component == FCheckedImages) SetCheckedImages(nullptr);
  if (component == FDisabledImages) SetDisabledImages(nullptr);
  if (component == FHotImages) SetHotImages(nullptr);
}

} // namespace kest::menu
