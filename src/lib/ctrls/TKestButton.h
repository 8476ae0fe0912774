#pragma once
// Skinned push buttons with an optional glyph; a press can open a
// drop-down popup menu below the button.
#include <memory>
#include <string>

#include "TKestControl.h"
#include "uKestPopupIntf.h"

namespace kest {

class TKestButton : public TKestControl {
public:
  static constexpr int kWidth = 22;
  static constexpr int kHeight = 22;

  explicit TKestButton(ui::Component* AOwner);
  ~TKestButton() override;

  float GetValue() const override { return fPushed ? 1.0f : 0.0f; }
  void UpdateScreenBmp() override;

  const std::string& GlyphResName() const { return fGlyphResName; }
  // Raises the skin loader's error for a missing resource, after the old
  // glyph is gone.
  void SetGlyphResName(const std::string& Name);
  TKestPopupMenuIntf* DropDownMenu() const { return fDropDownMenu; }
  void SetDropDownMenu(TKestPopupMenuIntf* Menu);
  bool Pushed() const { return fPushed; }
  bool MenuTracking() const { return fMenuTracking; }
  ui::Rect ClickRect() const { return fClickRect; }

  // Fired on the release that ends a press. Separate from the toolkit's
  // click, which would also fire for presses that opened a menu.
  ui::NotifyEvent OnClick;

protected:
  // For the derived buttons of other sizes and faces.
  TKestButton(ui::Component* AOwner, int AWidth, int AHeight, ui::Bitmap* APushBmp);

  // Opens the drop-down menu; true when one was opened.
  bool DropDown();
  // Runs just before a drop-down menu opens.
  virtual void BeforeDropDown() {}

  void MouseDown(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void MouseUp(ui::MouseButton Button, ui::ShiftState Shift, int X, int Y) override;
  void Notification(ui::Component* AComponent, ui::Operation Operation) override;

  // A composition with the background and, when pushed, the pressed face.
  void ComposeFace(bool WithGlyph);

  std::unique_ptr<ui::Bitmap> fGlyph;
  ui::Bitmap* fPushBmp;
  bool fPushed = false;
  bool fMenuTracking = false;
  TKestPopupMenuIntf* fDropDownMenu = nullptr;
  std::string fGlyphResName;
  ui::Rect fClickRect;

private:
  void SwallowClosingClick();
};

// The taller buttons at the top of the editor.
class TKestTopButton : public TKestButton {
public:
  static constexpr int kWidth = 24;
  static constexpr int kHeight = 23;

  explicit TKestTopButton(ui::Component* AOwner);

protected:
  bool CanResize(int& NewWidth, int& NewHeight) override;
};

} // namespace kest
