#pragma once
// The base of the skinned windowless controls: a value range, a finished
// off-screen picture that Paint copies in one go, and the change and
// select events the editor wires to its parameters.
#include <functional>

#include "ui/gfx/Bitmap.h"
#include "ui/toolkit/GraphicControl.h"

namespace kest {

class TKestControl;

// Fired when the user has changed the value.
using TKestChangeEvent = std::function<void(TKestControl* Sender)>;
// Fired when the user presses the control; Index is the control's Tag.
using TKestSelectEvent = std::function<void(TKestControl* Sender, int Index)>;

class TKestControl : public ui::GraphicControl {
public:
  // Every skinned control has one size; it is set here, before any
  // derived class could refuse it.
  TKestControl(ui::Component* AOwner, int AWidth, int AHeight);

  float MinValue() const { return fMinValue; }
  float MaxValue() const { return fMaxValue; }
  float Value() const { return GetValue(); }

  virtual float GetValue() const { return 0; }
  // Never fires events; only user input does.
  virtual void SetValue(float) {}
  virtual void UpdateScreenBmp();
  virtual void SetMinValue(float Value);
  virtual void SetMaxValue(float Value);

  // Recomposes the picture and asks the parent to repaint it.
  void Redraw();

  const ui::Bitmap& ScreenBmp() const { return fScreenBmp; }

  TKestChangeEvent OnChange;
  TKestSelectEvent OnSelect;

protected:
  void Paint() override;
  void Resize() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  // A control moved over another part of the face shows that part.
  void BoundsChanged(const ui::Rect& Old) override;

  // The editor background under the control into fScreenBmp.
  void CopyEditorBackground();
  void DoSelect();
  void DoChange();
  bool LeftPressCounts(ui::MouseButton Button) const;

  // Dragging hides the pointer through the application-wide cursor.
  void HidePointerForDrag();
  void RestorePointerAfterDrag();

  ui::Bitmap fScreenBmp;
  float fMinValue = 0;
  float fMaxValue = 1;

private:
  int fFixedWidth;
  int fFixedHeight;
  ui::Cursor fSaveCursor = ui::Cursor::Default;
};

} // namespace kest
