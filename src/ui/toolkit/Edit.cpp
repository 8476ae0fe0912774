#include "ui/toolkit/Edit.h"

#include "ui/services/Services.h"

namespace kest::ui {

Edit::Edit(Component* owner) : WinControl(owner) {
  fColor = Rgb(255, 255, 255);
  SetCursor(Cursor::IBeam);
  SetTabStop(true);
  SetBounds(0, 0, 121, 21);
}

void Edit::SetBorder(bool v) {
  fBorder = v;
  Invalidate();
}

void Edit::SetText(std::u16string_view text) {
  std::u16string t(text);
  if (fMaxLength > 0 && static_cast<int>(t.size()) > fMaxLength)
    t.resize(static_cast<std::size_t>(fMaxLength));
  const bool changed = t != fText;
  fText = std::move(t);
  fAnchor = fCaret = static_cast<int>(fText.size());
  fScroll = 0;
  ScrollToCaret();
  Invalidate();
  if (changed) Change();
}

void Edit::SetSel(int start, int length) {
  const int n = static_cast<int>(fText.size());
  fAnchor = std::clamp(start, 0, n);
  fCaret = std::clamp(start + std::max(length, 0), 0, n);
  ScrollToCaret();
  Invalidate();
}

std::u16string Edit::SelText() const {
  return fText.substr(static_cast<std::size_t>(SelStart()), static_cast<std::size_t>(SelLength()));
}

void Edit::ReplaceSel(std::u16string_view text) {
  std::u16string add(text);
  const int room = fMaxLength > 0 ? fMaxLength - (static_cast<int>(fText.size()) - SelLength())
                                  : static_cast<int>(add.size());
  if (room < static_cast<int>(add.size())) {
    add.resize(static_cast<std::size_t>(std::max(room, 0)));
    MessageBeep();
  }
  if (add.empty() && SelLength() == 0) return;
  const int start = SelStart();
  fText.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(SelLength()), add);
  fAnchor = fCaret = start + static_cast<int>(add.size());
  ScrollToCaret();
  Invalidate();
  Change();
}

void Edit::DeleteRange(int from, int to) {
  SetSel(from, to - from);
  ReplaceSel(u"");
}

void Edit::CopyToClipboard() {
  if (SelLength() > 0) SetClipboardText(SelText());
}

void Edit::CutToClipboard() {
  if (SelLength() == 0) return;
  CopyToClipboard();
  if (!fReadOnly) ReplaceSel(u"");
}

void Edit::PasteFromClipboard() {
  if (fReadOnly) return;
  auto text = GetClipboardText();
  if (!text) return;
  // One line only: a pasted line break ends the text.
  if (!fMultiLine) {
    const auto cut = text->find_first_of(u"\r\n");
    if (cut != std::u16string::npos) text->resize(cut);
  }
  ReplaceSel(*text);
}

void Edit::Change() {
  if (OnChange) OnChange(this);
}

void Edit::MoveCaret(int pos, bool extend) {
  fCaret = std::clamp(pos, 0, static_cast<int>(fText.size()));
  if (!extend) fAnchor = fCaret;
  ScrollToCaret();
  Invalidate();
}

void Edit::DefaultKeyDown(std::uint16_t key, ShiftState shift) {
  const bool extend = (shift & ssShift) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  const int n = static_cast<int>(fText.size());
  switch (key) {
  case VK_LEFT:
    if (!extend && SelLength() > 0)
      MoveCaret(SelStart(), false);
    else
      MoveCaret(fCaret - 1, extend);
    break;
  case VK_RIGHT:
    if (!extend && SelLength() > 0)
      MoveCaret(SelStart() + SelLength(), false);
    else
      MoveCaret(fCaret + 1, extend);
    break;
  case VK_HOME:
    MoveCaret(0, extend);
    break;
  case VK_END:
    MoveCaret(n, extend);
    break;
  case VK_BACK:
    if (fReadOnly) break;
    if (SelLength() > 0)
      ReplaceSel(u"");
    else if (fCaret > 0)
      DeleteRange(fCaret - 1, fCaret);
    break;
  case VK_DELETE:
    if (extend) {
      CutToClipboard();
    } else if (!fReadOnly) {
      if (SelLength() > 0)
        ReplaceSel(u"");
      else if (fCaret < n)
        DeleteRange(fCaret, fCaret + 1);
    }
    break;
  case VK_INSERT:
    if (ctrl)
      CopyToClipboard();
    else if (extend)
      PasteFromClipboard();
    break;
  case 'A':
    if (ctrl) SelectAll();
    break;
  case 'C':
    if (ctrl) CopyToClipboard();
    break;
  case 'X':
    if (ctrl) CutToClipboard();
    break;
  case 'V':
    if (ctrl) PasteFromClipboard();
    break;
  default:
    break;
  }
}

void Edit::DefaultChar(char16_t key) {
  if (key == u'\r') {
    if (fMultiLine && !fReadOnly)
      ReplaceSel(u"\r\n");
    else
      MessageBeep();
    return;
  }
  if (key < 32 || key == 127) return; // control characters come as keys
  if (fReadOnly) {
    MessageBeep();
    return;
  }
  const char16_t s[1] = {key};
  ReplaceSel(std::u16string_view(s, 1));
}

int Edit::TextX(int pos) {
  Canvas& c = fMeasure.GetCanvas();
  c.font = fFont;
  return c.TextExtent(std::u16string_view(fText).substr(0, static_cast<std::size_t>(pos))).cx;
}

int Edit::PosFromX(int x) {
  const int target = x - Margin() + fScroll;
  const int n = static_cast<int>(fText.size());
  for (int i = 0; i < n; ++i) {
    const int mid = (TextX(i) + TextX(i + 1)) / 2;
    if (target < mid) return i;
  }
  return n;
}

void Edit::ScrollToCaret() {
  const int room = std::max(Width() - 2 * Margin(), 1);
  const int cx = TextX(fCaret);
  if (cx - fScroll > room) fScroll = cx - room;
  if (cx - fScroll < 0) fScroll = cx;
  fScroll = std::max(fScroll, 0);
}

void Edit::PaintWindow(Canvas& canvas) {
  const Rect client = ClientRect();
  if (fBorder) {
    canvas.brush = {Rgb(122, 122, 122), false};
    canvas.FrameRect(client);
  }
  canvas.font = fFont;
  canvas.textBackground = TextBackground::Transparent;
  const int m = Margin();
  const Rect inner{m, m, client.right - m, client.bottom - m};
  const Canvas::State saved = canvas.Save();
  canvas.SetClipRect(inner.Intersect(canvas.ClipRect()));
  const int y = m;
  const int x0 = m - fScroll;
  canvas.TextOut(x0, y, fText);
  const int h = canvas.GetTextMetrics().height;
  if (Focused() && SelLength() > 0) {
    const int sx = x0 + TextX(SelStart());
    const int ex = x0 + TextX(SelStart() + SelLength());
    canvas.FillRect({sx, y, ex, y + h}, SelectionColor);
    canvas.font.color = Rgb(255, 255, 255);
    canvas.TextOut(sx, y, SelText());
  } else if (Focused()) {
    const int cx = x0 + TextX(fCaret);
    canvas.FillRect({cx, y, cx + 1, y + h}, fFont.color);
  }
  canvas.Restore(saved);
}

void Edit::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
  if (button == MouseButton::Left) {
    if (!Focused()) SetFocus();
    if (shift & ssDouble)
      SelectAll();
    else
      MoveCaret(PosFromX(x), (shift & ssShift) != 0);
  }
  WinControl::MouseDown(button, shift, x, y);
}

void Edit::MouseMove(ShiftState shift, int x, int y) {
  if ((shift & ssLeft) && MouseCapture()) MoveCaret(PosFromX(x), true);
  WinControl::MouseMove(shift, x, y);
}

void Edit::DoEnter() {
  SelectAll();
  WinControl::DoEnter();
}

void Edit::DoExit() {
  Invalidate();
  WinControl::DoExit();
}

} // namespace kest::ui
