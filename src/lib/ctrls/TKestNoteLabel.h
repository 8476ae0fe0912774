#pragma once
// The name of the random root note, on the editor background.
#include "ui/gfx/Bitmap.h"
#include "ui/toolkit/GraphicControl.h"

namespace kest {

class TKestNoteLabel : public ui::GraphicControl {
public:
  static constexpr int kWidth = 30;
  static constexpr int kHeight = 10;

  explicit TKestNoteLabel(ui::Component* AOwner);

  int Note() const { return fNote; }
  // Clamped to 0...127.
  void SetNote(int Value);
  const ui::Bitmap& ScBitmap() const { return fScBitmap; }

protected:
  void Paint() override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  // Placed, it shows the face under it with the note, not an empty picture.
  void BoundsChanged(const ui::Rect& Old) override;

private:
  void Compose();

  ui::Bitmap fScBitmap{kWidth, kHeight};
  int fNote = 60;
};

} // namespace kest
