// References to other components: linked subitems, image lists, and what
// happens when one of them is destroyed.
#include <algorithm>

#include "uKestMenu.h"

namespace kest::menu {

const std::vector<TKestCustomItem*>& TKestCustomItem::LinkParents() const {
  static const std::vector<TKestCustomItem*> none;
  return FLinkParents ? *FLinkParents : none;
}

void TKestCustomItem::SetLinkSubitems(TKestCustomItem* v) {
  if (v == this) v = nullptr;
  if (v == FLinkSubitems) return;
  if (FLinkSubitems && FLinkSubitems->FLinkParents) {
    auto& old = *FLinkSubitems->FLinkParents;
    std::erase(old, this);
    if (old.empty()) FLinkSubitems->FLinkParents.reset();
  }
  FLinkSubitems = v;
  if (v) {
    if (!v->FLinkParents) v->FLinkParents = std::make_unique<std::vector<TKestCustomItem*>>();
    auto& parents = *v->FLinkParents;
    if (std::find(parents.begin(), parents.end(), this) == parents.end()) parents.push_back(this);
    v->FreeNotification(this);
  }
  Notify(tbicSubitemsChanged, -1, nullptr);
}

void TKestCustomItem::SetImageListField(TImageList*& field,
                                        std::unique_ptr<TKestImageChangeLink>& link,
                                        TImageList* value, bool& sizeChanged) {
  const int oldWidth = field ? field->Width() : -1;
  const int oldHeight = field ? field->Height() : -1;
  if (field) field->UnRegisterChanges(link.get());
  sizeChanged = false;
  field = value;
  if (!value) {
    link.reset();
    sizeChanged = true;
    return;
  }
  sizeChanged = value->Width() != oldWidth || value->Height() != oldHeight;
  if (!link) {
    link = std::make_unique<TKestImageChangeLink>();
    link->OnChange = [this](TChangeLink* l) { ImageListChanged(l); };
  }
  // The size of the list now in use, also when the link outlives a
  // previous list: later changes are compared against this one.
  link->FLastWidth = value->Width();
  link->FLastHeight = value->Height();
  value->RegisterChanges(link.get());
  value->FreeNotification(this);
}

void TKestCustomItem::SetImages(TImageList* v) {
  if (v == FImages) return;
  bool sizeChanged = false;
  SetImageListField(FImages, FImagesChangeLink, v, sizeChanged);
  Change(sizeChanged);
}

void TKestCustomItem::SetSubMenuImages(TImageList* v) {
  if (v == FSubMenuImages) return;
  bool sizeChanged = false;
  SetImageListField(FSubMenuImages, FSubMenuImagesChangeLink, v, sizeChanged);
  Notify(tbicSubMenuImagesChanged, -1, nullptr);
}

void TKestCustomItem::ImageListChanged(TChangeLink* link) {
  auto* kl = static_cast<TKestImageChangeLink*>(link);
  TImageList* list = link->Sender();
  if (!list) return;
  const bool sizeChanged = list->Width() != kl->FLastWidth || list->Height() != kl->FLastHeight;
  kl->FLastWidth = list->Width();
  kl->FLastHeight = list->Height();
  if (link == FSubMenuImagesChangeLink.get()) {
    Notify(tbicSubMenuImagesChanged, -1, nullptr);
  } else if (link == FImagesChangeLink.get()) {
    Change(sizeChanged);
  }
}

void TKestCustomItem::Notification(kest::ui::Component* AComponent, kest::ui::Operation Operation) {
  Component::Notification(AComponent, Operation);
  if (Operation != kest::ui::Operation::Remove) return;
  if (FLinkParents) {
    std::erase(*FLinkParents, AComponent);
    if (FLinkParents->empty()) FLinkParents.reset();
  }
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FSubMenuImages) SetSubMenuImages(nullptr);
  if (AComponent == FLinkSubitems) SetLinkSubitems(nullptr);
}

} // namespace kest::menu
