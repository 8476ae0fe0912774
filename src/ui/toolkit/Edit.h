#pragma once
// A single-line text edit with its own window: caret, selection, typing,
// Backspace/Delete/Home/End/arrows (Shift extends the selection), the
// clipboard keys (Ctrl+A/C/X/V, Ctrl+Insert, Shift+Insert, Shift+Delete),
// a maximum length, font and colours.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "ui/toolkit/WinControl.h"

namespace kest::ui {

class Edit : public WinControl {
public:
  explicit Edit(Component* owner);

  const std::u16string& Text() const { return fText; }
  // Sets the text (cut to the maximum length) and puts the caret at its end.
  void SetText(std::u16string_view text);
  // 0: no limit. A new limit does not cut the current text.
  int MaxLength() const { return fMaxLength; }
  void SetMaxLength(int n) { fMaxLength = std::max(n, 0); }
  bool ReadOnly() const { return fReadOnly; }
  void SetReadOnly(bool v) { fReadOnly = v; }
  // Enter inserts a line break instead of beeping.
  bool MultiLine() const { return fMultiLine; }
  void SetMultiLine(bool v) { fMultiLine = v; }
  bool Border() const { return fBorder; }
  void SetBorder(bool v);
  Color SelectionColor = Rgb(0, 120, 215);

  int SelStart() const { return std::min(fAnchor, fCaret); }
  int SelLength() const { return std::abs(fCaret - fAnchor); }
  int CaretPos() const { return fCaret; }
  // Positions are clamped to the text.
  void SetSel(int start, int length);
  void SelectAll() { SetSel(0, static_cast<int>(fText.size())); }
  std::u16string SelText() const;
  // Replaces the selection as typing would (the maximum length applies).
  void ReplaceSel(std::u16string_view text);
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  NotifyEvent OnChange;

protected:
  void DefaultKeyDown(std::uint16_t key, ShiftState shift) override;
  void DefaultChar(char16_t key) override;
  void PaintWindow(Canvas& canvas) override;
  void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
  void MouseMove(ShiftState shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  virtual void Change();

private:
  int TextX(int pos);
  int PosFromX(int x);
  int Margin() const { return fBorder ? 2 : 1; }
  void MoveCaret(int pos, bool extend);
  void ScrollToCaret();
  void DeleteRange(int from, int to);

  std::u16string fText;
  int fMaxLength = 0;
  bool fReadOnly = false;
  bool fMultiLine = false;
  bool fBorder = true;
  int fAnchor = 0;
  int fCaret = 0;
  int fScroll = 0;
  Bitmap fMeasure{1, 1};
};

} // namespace kest::ui
