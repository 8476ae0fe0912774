#pragma once
// The inline edit of the preset name box. Enter asks the box's owner to
// accept the new name; a refusal puts the old name back and keeps the focus.
#include <functional>
#include <string>

#include "ui/toolkit/Edit.h"

namespace kest {

class TKestPresetBox;

using TKestAcceptTextEvent =
    std::function<void(ui::Component* Sender, std::u16string& NewText, bool& Accept)>;

class TKestEdit : public ui::Edit {
public:
  // Posted to itself: take the focus, and accept the text.
  static constexpr std::uint32_t WM_KEST_EDIT_FOCUS = ui::WM_USER + 33;
  static constexpr std::uint32_t WM_KEST_EDIT_ACCEPT = ui::WM_USER + 34;

  explicit TKestEdit(TKestPresetBox* AOwner);

  const std::u16string& InitValue() const { return fInitValue; }
  void SetInitValue(const std::u16string& Value) { fInitValue = Value; }
  bool HideLock() const { return fHideLock; }

  // Placed over the box's text and focused; hidden again to a 0 x 0 spot.
  void Show();
  void Hide();

  TKestAcceptTextEvent OnAcceptText;

protected:
  ui::LResult WndProc(std::uint32_t Msg, ui::WParam W, ui::LParam L) override;
  void KeyDown(std::uint16_t& Key, ui::ShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void DoExit() override;

private:
  void AcceptText();

  TKestPresetBox* fOwner;
  std::u16string fInitValue;
  bool fHideLock = false;
};

} // namespace kest
