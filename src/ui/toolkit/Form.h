#pragma once
// A borderless form: a top-level window of its own, or a child of a native
// window it is embedded in (the host's). Key preview lets it see keys
// before its focused control; it can paint double-buffered.
#include <functional>

#include "ui/toolkit/WinControl.h"

namespace kest::ui {

enum class CloseAction { None, Hide, Free };

class Form : public WinControl {
public:
  explicit Form(Component* owner);
  ~Form() override;

  bool KeyPreview() const { return fKeyPreview; }
  void SetKeyPreview(bool v) { fKeyPreview = v; }
  const std::u16string& Caption() const { return fCaption; }
  void SetCaption(const std::u16string& c);
  // Top-level forms only: stays above ordinary windows, is not activated by
  // a press (popups), and is owned by another window.
  void SetTopmost(bool v) { fTopmost = v; }
  void SetNoActivate(bool v) { fNoActivate = v; }
  void SetOwnerWindow(WindowHandle h) { fOwnerWindow = h; }

  void SetVisible(bool v) override;
  // Asks OnClose what to do (hide by default) and does it.
  void Close();
  // Frees the form once the messages queued now have been handled.
  void Release();

  // The canvas of the paint in progress (valid inside Paint and OnPaint).
  Canvas& GetCanvas();

  NotifyEvent OnShow;
  NotifyEvent OnHide;
  NotifyEvent OnPaint;
  std::function<void(Component* sender, CloseAction& action)> OnClose;

protected:
  void CreateParamsFor(CreateParams& params) override;
  LResult WndProc(std::uint32_t msg, WParam w, LParam l) override;
  void PaintWindow(Canvas& canvas) override;
  virtual void Paint();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(CloseAction& action);

  friend class WinControl; // key preview calls the form's key handlers

private:
  bool fKeyPreview = false;
  std::u16string fCaption;
  bool fTopmost = false;
  bool fNoActivate = false;
  WindowHandle fOwnerWindow = 0;
  Canvas* fCanvas = nullptr;
};

} // namespace kest::ui
