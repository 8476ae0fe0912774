#include "TKestNoteLabel.h"

#include <algorithm>

#include "uKestSkins.h"
#include "uKestUtils.h"
#include "ui/gfx/Utf.h"

namespace kest {

TKestNoteLabel::TKestNoteLabel(ui::Component* AOwner) : GraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | ui::csOpaque);
  SetBounds(0, 0, kWidth, kHeight);
  fScBitmap.GetCanvas().font = ui::Font{"Tahoma", -9, ui::kFontWeightBold, ui::Rgb(200, 200, 200)};
}

bool TKestNoteLabel::CanResize(int& NewWidth, int& NewHeight) {
  return NewWidth == kWidth && NewHeight == kHeight;
}

void TKestNoteLabel::BoundsChanged(const ui::Rect& Old) {
  GraphicControl::BoundsChanged(Old);
  Compose();
}

void TKestNoteLabel::SetNote(int Value) {
  fNote = std::clamp(Value, 0, 127);
  Compose();
  Invalidate(); // its own rectangle: the rest of the face has not changed
}

void TKestNoteLabel::Compose() {
  if (!SkinEditor) return;
  ui::Canvas& c = fScBitmap.GetCanvas();
  c.BitBlt(0, 0, kWidth, kHeight, *SkinEditor, Left(), Top());
  c.textBackground = ui::TextBackground::Transparent;
  c.TextOut(0, 0, NoteName(fNote));
}

void TKestNoteLabel::Paint() {
  GetCanvas().BitBlt(0, 0, Width(), Height(), fScBitmap, 0, 0);
}

} // namespace kest
