// Captions that run downwards, for menus placed beside their owner.
#include <algorithm>
#include <cctype>

#include "uKestTools.h"

namespace kest {

namespace {

bool SameFace(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// The caption without markers, and where its accelerator lands in it.
struct StrippedCaption {
  std::u16string text;
  std::size_t accel = std::u16string::npos;
};

StrippedCaption Strip(std::u16string_view caption) {
  StrippedCaption s;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (++i == caption.size()) break;
      if (caption[i] != u'&') s.accel = s.text.size();
    }
    s.text += caption[i];
  }
  return s;
}

// Draws text so that it reads downwards from (x, y): the cell's bottom
// edge lies on x, glyph tops face right.
void DrawTurned(ui::Canvas& canvas, const ui::Font& font, std::u16string_view text, int x, int y) {
  ui::Bitmap cell(1, 1);
  ui::Canvas& mc = cell.GetCanvas();
  mc.font = font;
  mc.font.color = ui::Rgb(255, 255, 255);
  const ui::Size size = mc.TextExtent(text);
  if (size.cx <= 0 || size.cy <= 0) return;
  cell.SetSize(size.cx, size.cy);
  mc.ResetClip();
  mc.FillRect({0, 0, size.cx, size.cy}, 0);
  mc.textBackground = ui::TextBackground::Transparent;
  mc.TextOut(0, 0, text);
  const ui::Color color = font.color;
  for (int v = 0; v < size.cy; ++v) {
    for (int u = 0; u < size.cx; ++u) {
      const int cover = ui::PixelR(cell.PixelAt(u, v));
      if (cover == 0) continue;
      const int tx = x + size.cy - 1 - v;
      const int ty = y + u;
      const ui::Pixel under = canvas.PixelAt(tx, ty);
      auto mix = [&](int top, int below) {
        return (top * cover + below * (255 - cover) + 127) / 255;
      };
      canvas.SetPixel(tx, ty,
                      ui::Rgb(mix(ui::RedOf(color), ui::PixelR(under)),
                              mix(ui::GreenOf(color), ui::PixelG(under)),
                              mix(ui::BlueOf(color), ui::PixelB(under))));
    }
  }
}

} // namespace

ui::Font CreateRotatedFont(ui::Canvas& Canvas) {
  ui::Font f = Canvas.font;
  if (SameFace(f.name, "MS Sans Serif") || SameFace(f.name, "Microsoft Sans Serif")) {
    f.name = "Tahoma";
    const ui::TextMetrics tm = Canvas.GetTextMetrics();
    f.height = f.height > 0 ? tm.height : tm.internalLeading - f.height;
  }
  // The vertical variant of a face, where one is installed.
  const std::string vertical = ("@" + f.name).substr(0, 31);
  if (FontFaceExists(vertical)) f.name = vertical;
  return f;
}

void DrawRotatedCaption(ui::Canvas& Canvas, std::u16string_view Caption, const ui::Rect& R,
                        unsigned Format) {
  const ui::Font saved = Canvas.font;
  Canvas.font = CreateRotatedFont(Canvas);
  const ui::TextMetrics tm = Canvas.GetTextMetrics();
  const StrippedCaption s = Strip(Caption);
  const int x = R.left + (R.Width() - tm.height) / 2;
  const int width = Canvas.TextExtent(s.text).cx;
  const int y = R.top + (R.Height() - width) / 2;
  DrawTurned(Canvas, Canvas.font, s.text, x, y);
  if (s.accel != std::u16string::npos && !(Format & ui::DT_HIDEPREFIX)) {
    const int ux = x + tm.descent - 2;
    const int before = Canvas.TextExtent(std::u16string_view(s.text).substr(0, s.accel)).cx;
    const int accelWidth = Canvas.TextExtent(std::u16string_view(s.text).substr(s.accel, 1)).cx;
    const ui::Pen pen = Canvas.pen;
    Canvas.pen.color = Canvas.font.color;
    Canvas.MoveTo(ux, y + before);
    Canvas.LineTo(ux, y + before + accelWidth);
    Canvas.pen = pen;
  }
  Canvas.font = saved;
}

} // namespace kest
