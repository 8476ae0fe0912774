#pragma once
// A visual component with bounds inside a parent, visibility, enabled
// state, a control style and mouse handling. Graphic controls own no
// window and are painted and fed by their parent; WinControl owns one.
#include <string>

#include "ui/gfx/Canvas.h"
#include "ui/toolkit/Component.h"
#include "ui/toolkit/Events.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui {

class WinControl;
class Form;

// Control style flags.
inline constexpr unsigned csCaptureMouse = 0x01; // capture the mouse while a button is held
inline constexpr unsigned csClickEvents = 0x02;  // a press and release inside make a click
inline constexpr unsigned csOpaque = 0x04; // covers its bounds; the parent need not paint below
inline constexpr unsigned csDoubleClicks = 0x08; // gets double clicks (else a second press)

class Control : public Component {
public:
  explicit Control(Component* owner);
  ~Control() override;

  WinControl* Parent() const { return fParent; }
  virtual void SetParent(WinControl* parent);

  int Left() const { return fBounds.left; }
  int Top() const { return fBounds.top; }
  int Width() const { return fBounds.Width(); }
  int Height() const { return fBounds.Height(); }
  Rect BoundsRect() const { return fBounds; }
  Rect ClientRect() const { return {0, 0, Width(), Height()}; }
  // Moves and sizes; a size refused by CanResize leaves the old size.
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }

  bool Visible() const { return fVisible; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return fEnabled; }
  virtual void SetEnabled(bool v);
  // Visible itself and through every parent up to a shown window.
  bool Showing() const;

  unsigned ControlStyle() const { return fControlStyle; }
  void SetControlStyle(unsigned style) { fControlStyle = style; }

  Cursor GetCursor() const { return fCursor; }
  void SetCursor(Cursor c) { fCursor = c; }
  const std::u16string& Hint() const { return fHint; }
  void SetHint(std::u16string h) { fHint = std::move(h); }
  bool ShowHint() const { return fShowHint; }
  void SetShowHint(bool v) { fShowHint = v; }
  Component* PopupMenu() const { return fPopupMenu; }
  void SetPopupMenu(Component* menu);
  Color GetColor() const { return fColor; }
  void SetColor(Color c);
  Font& GetFont() { return fFont; }
  void SetFont(const Font& f);

  // The control that holds the mouse while a button is held, if any.
  static Control* CaptureControl();
  // Forgets the captured control without releasing the window capture (it
  // has already moved elsewhere).
  static void ForgetCaptureControl();
  bool MouseCapture() const { return CaptureControl() == this; }
  void SetMouseCapture(bool capture);

  // Repaints the control's bounds through its window (or its parent's).
  virtual void Invalidate();
  // Paints what is invalid at once.
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }

  virtual Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;
  // The window that shows this control: its own, or its parent's.
  virtual WindowHandle DisplayWindow() const;

  // One mouse message in client coordinates, as the window routes it.
  void HandleMouse(std::uint32_t msg, WParam keyFlags, Point p);
  // The cancel-mode notice: drops the capture.
  virtual void CancelMode();
  // The form that holds the control.
  static Form* GetParentForm(const Control* c);

  NotifyEvent OnClick;
  NotifyEvent OnDblClick;
  NotifyEvent OnResize;
  MouseEvent OnMouseDown;
  MouseEvent OnMouseUp;
  MouseMoveEvent OnMouseMove;

protected:
  virtual bool CanResize(int& newWidth, int& newHeight);
  virtual void Resize();
  virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
  virtual void MouseMove(ShiftState shift, int x, int y);
  virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);
  virtual void Click();
  virtual void DblClick();
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() { Invalidate(); }
  virtual void BoundsChanged(const Rect& old);
  virtual void Notification(Component* component, Operation op) override;

  Rect fBounds;
  unsigned fControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  Font fFont;
  Color fColor = Rgb(240, 240, 240);

private:
  WinControl* fParent = nullptr;
  bool fVisible = true;
  bool fEnabled = true;
  bool fClicked = false;
  Cursor fCursor = Cursor::Default;
  std::u16string fHint;
  bool fShowHint = false;
  Component* fPopupMenu = nullptr;
};

} // namespace kest::ui
