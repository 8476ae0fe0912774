#pragma once
// The about window: a borderless, always-on-top window of 328 x 240 pixels,
// centred over the editor, showing the about picture. Its top strip drags
// it, a rectangle on the picture opens the maker's page, and its skinned
// close button frees it. At most one exists at a time.
#include "TKestCloseButton.h"
#include "ui/toolkit/Form.h"

namespace kest {

class TFrmAbout : public ui::Form {
public:
  static constexpr int kWidth = 328;
  static constexpr int kHeight = 240;
  // The link on the picture and the strip that drags the window.
  static constexpr ui::Rect kClickRect = ui::Rect::FromSize(80, 166, 162, 49);
  static constexpr ui::Rect kTopRect{0, 0, kWidth, 20};

  // Shows the about window over AOwner (the editor form, which then owns
  // it); one that exists already is shown again as it is.
  static TFrmAbout* ShowAbout(ui::Form* AOwner);
  // The about window that exists, or null.
  static TFrmAbout* Instance();

  ~TFrmAbout() override;

  TKestCloseButton* CloseButton = nullptr;

protected:
  explicit TFrmAbout(ui::Form* AOwner);

  void Paint() override;
  // The picture covers the whole window.
  void EraseBackground(ui::Canvas&) override {}
  void DoShow() override;
  void DoClose(ui::CloseAction& action) override;
  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseMove(ui::ShiftState Shift, int X, int Y) override;

private:
  void CentreOverOwner();

  ui::Form* fOwner;
};

} // namespace kest
