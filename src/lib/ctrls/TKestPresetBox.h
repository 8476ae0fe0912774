#pragma once
// The preset name box: the name on the left opens an inline edit for
// renaming, the arrow part on the right opens the preset menu.
#include <string>

#include "TKestButton.h"
#include "TKestEdit.h"

namespace kest {

class TKestPresetBox : public TKestButton {
public:
  static constexpr int kWidth = 127;
  static constexpr int kHeight = 23;
  // Where the drop-down part starts.
  static constexpr int kDropDownLeft = 107;

  explicit TKestPresetBox(ui::Component* AOwner);

  void UpdateScreenBmp() override;
  const std::u16string& Caption() const { return fCaption; }
  void SetCaption(const std::u16string& Value);
  const TKestAcceptTextEvent& OnAcceptText() const { return fEdit->OnAcceptText; }
  void SetOnAcceptText(TKestAcceptTextEvent Value) { fEdit->OnAcceptText = std::move(Value); }

  void ShowEdit();
  void HideEdit();
  TKestEdit* Edit() const { return fEdit; }
  ui::Rect TxtRect() const { return fTxtRect; }

protected:
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void BeforeDropDown() override { HideEdit(); }

private:
  ui::Rect fTxtRect{8, 5, 105, 19};
  bool fFirst = true;
  std::u16string fCaption;
  TKestEdit* fEdit; // owned through the component tree
};

} // namespace kest
