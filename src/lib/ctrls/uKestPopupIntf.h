#pragma once
// What a drop-down button needs of a popup menu: Popup(X, Y) that returns
// only after the menu has closed (it runs its own nested message loop), the
// component the menu was opened for, and whether it may open automatically.
// The skinned popup menu implements it; tests use small stand-ins.
#include "ui/toolkit/Component.h"

namespace kest {

class TKestPopupMenuIntf : public ui::Component {
public:
  using ui::Component::Component;

  // Shows the menu with its top-left corner at the screen point and
  // returns when it has closed.
  virtual void Popup(int X, int Y) = 0;

  ui::Component* PopupComponent() const { return fPopupComponent; }
  void SetPopupComponent(ui::Component* AComponent) { fPopupComponent = AComponent; }
  bool AutoPopup() const { return fAutoPopup; }
  void SetAutoPopup(bool Value) { fAutoPopup = Value; }

protected:
  void Notification(ui::Component* AComponent, ui::Operation Operation) override {
    ui::Component::Notification(AComponent, Operation);
    if (Operation == ui::Operation::Remove && AComponent == fPopupComponent)
      fPopupComponent = nullptr;
  }

private:
  ui::Component* fPopupComponent = nullptr;
  bool fAutoPopup = true;
};

} // namespace kest
