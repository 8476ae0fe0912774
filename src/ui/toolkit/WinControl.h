#pragma once
// A control with its own window: it holds child controls, routes the mouse
// to its windowless children (keeping a pressed child captured), paints
// them after itself (through an off-screen bitmap when double-buffered),
// and takes the keyboard focus.
#include <vector>

#include "ui/toolkit/Control.h"

namespace kest::ui {

// What a control asks of its window when the window is created.
struct CreateParams {
  WindowDesc desc;
};

class WinControl : public Control {
public:
  explicit WinControl(Component* owner);
  ~WinControl() override;

  // The window, created on first use.
  WindowHandle Handle();
  bool HandleAllocated() const { return fHandle != 0; }
  void DestroyHandle();
  // A window outside the toolkit that this control lives in (the host's).
  WindowHandle ParentWindow() const { return fParentWindow; }
  void SetParentWindow(WindowHandle h);
  WindowHandle DisplayWindow() const override { return fHandle; }
  Point ClientToScreen(Point p) const override;

  int ControlCount() const { return static_cast<int>(fControls.size()); }
  Control* Controls(int i) const { return fControls[static_cast<std::size_t>(i)]; }
  // The topmost shown, enabled windowless child at a client point.
  Control* ControlAtPos(Point p) const;

  bool DoubleBuffered() const { return fDoubleBuffered; }
  void SetDoubleBuffered(bool v) { fDoubleBuffered = v; }
  bool TabStop() const { return fTabStop; }
  void SetTabStop(bool v) { fTabStop = v; }

  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();

  void SetParent(WinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  void Invalidate() override;

  // Sends a message to the window procedure directly.
  LResult Perform(std::uint32_t msg, WParam w = 0, LParam l = 0) { return WndProc(msg, w, l); }

  // The control whose window h is, or null for windows the toolkit did not make.
  static WinControl* FindControl(WindowHandle h);

  KeyEvent OnKeyDown;
  KeyEvent OnKeyUp;
  KeyPressEvent OnKeyPress;
  NotifyEvent OnEnter;
  NotifyEvent OnExit;
  MouseWheelEvent OnMouseWheel;

protected:
  friend class Control;
  virtual void CreateParamsFor(CreateParams& params);
  virtual void CreateWindowHandle();
  virtual LResult WndProc(std::uint32_t msg, WParam w, LParam l);
  // Fills the background (the erase step); csOpaque children are painted on top.
  virtual void EraseBackground(Canvas& canvas);
  // Paints the control itself, before its windowless children.
  virtual void PaintWindow(Canvas& canvas);
  void PaintControls(Canvas& canvas, const Rect& area);
  // Paints the client area into a canvas of someone else's (WM_PAINT or a
  // print request that brings one), erasing first when asked.
  void PaintInto(Canvas& canvas, bool erase);
  virtual void KeyDown(std::uint16_t& key, ShiftState shift);
  virtual void KeyUp(std::uint16_t& key, ShiftState shift);
  virtual void KeyPress(char16_t& key);
  // What the control does with keys nobody swallowed (an edit edits).
  virtual void DefaultKeyDown(std::uint16_t key, ShiftState shift);
  virtual void DefaultChar(char16_t key);
  virtual void DoEnter();
  virtual void DoExit();
  virtual bool DoMouseWheel(ShiftState shift, int delta, Point screen);
  void BoundsChanged(const Rect& old) override;
  // Windows of child controls are made when this one has a handle.
  void CreateChildHandles();

private:
  void AddControl(Control* c);
  void RemoveControl(Control* c);
  void PaintHandler();
  // The windowless child that gets the mouse at a client point: the pressed
  // one, else the one under the point; null for this control itself.
  Control* MouseTarget(Point p) const;
  void RouteMouse(std::uint32_t msg, WParam w, LParam l);
  bool HandleKey(std::uint32_t msg, WParam w);
  void UpdateCursor(Control* target);

  WindowHandle fHandle = 0;
  WindowHandle fParentWindow = 0;
  std::vector<Control*> fControls; // bottom to top
  bool fDoubleBuffered = false;
  bool fTabStop = false;
  bool fErasingIntoBuffer = false;
};

} // namespace kest::ui
