#pragma once
// Image lists as far as menu items need them: a size, a change signal that
// registered change links hear, and destruction notices. The pictures
// themselves are drawn by the views.
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/toolkit/Component.h"

namespace kest::menu {

class TImageList;

// Hears the changes of one image list while registered with it.
class TChangeLink {
public:
  TChangeLink() = default;
  virtual ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TImageList* Sender() const { return fSender; }
  std::function<void(TChangeLink* link)> OnChange;

private:
  friend class TImageList;
  TImageList* fSender = nullptr;
};

// The image size last seen by an item, so that a change of the list can
// tell whether the item must be measured again.
class TKestImageChangeLink : public TChangeLink {
public:
  int FLastWidth = -1;
  int FLastHeight = -1;
};

class TImageList : public kest::ui::Component {
public:
  explicit TImageList(kest::ui::Component* owner = nullptr);
  ~TImageList() override;

  int Width() const { return fWidth; }
  int Height() const { return fHeight; }
  // A new size drops the images, as the platform's lists do, and signals a change.
  void SetSize(int width, int height);
  int Count() const { return fCount; }
  void SetCount(int count);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  // Tells every registered link.
  virtual void Change();

private:
  int fWidth = 16;
  int fHeight = 16;
  int fCount = 0;
  std::vector<TChangeLink*> fLinks;
};

// An image list with optional companion lists for checked, disabled and hot
// items and a strip bitmap mask colour.
class TKestCustomImageList : public TImageList {
public:
  explicit TKestCustomImageList(kest::ui::Component* owner = nullptr);
  ~TKestCustomImageList() override;

  TImageList* CheckedImages() const { return FCheckedImages; }
  TImageList* DisabledImages() const { return FDisabledImages; }
  TImageList* HotImages() const { return FHotImages; }
  void SetCheckedImages(TImageList* value) {
    SetCompanion(FCheckedImages, FCheckedImagesChangeLink, value);
  }
  void SetDisabledImages(TImageList* value) {
    SetCompanion(FDisabledImages, FDisabledImagesChangeLink, value);
  }
  void SetHotImages(TImageList* value) { SetCompanion(FHotImages, FHotImagesChangeLink, value); }

  // The list whose image DrawState would use for the given item state.
  const TImageList* ListForState(bool enabled, bool selected, bool checked) const;

  std::uint32_t FImagesBitmapMaskColor = 0xFF00FF;

protected:
  void Notification(kest::ui::Component* component, kest::ui::Operation op) override;

private:
  void SetCompanion(TImageList*& field, TChangeLink& link, TImageList* value);

  TImageList* FCheckedImages = nullptr;
  TImageList* FDisabledImages = nullptr;
  TImageList* FHotImages = nullptr;
  TChangeLink FCheckedImagesChangeLink;
  TChangeLink FDisabledImagesChangeLink;
  TChangeLink FHotImagesChangeLink;
};

} // namespace kest::menu
