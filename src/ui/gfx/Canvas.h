#pragma once
// Drawing on a bitmap: copies, alpha blends, rectangles, one-pixel lines,
// polygons, regions and text. Coordinates are logical: the origin maps them
// onto the bitmap, and everything is clipped to the clip rectangle.
#include <mutex>
#include <span>
#include <string_view>

#include "Bitmap.h"
#include "Font.h"
#include "Region.h"

namespace kest::ui {

struct Brush {
  Color color = Rgb(255, 255, 255);
  bool clear = false; // a clear brush fills nothing
};

struct Pen {
  Color color = 0;
  bool clear = false;
};

// The platform alpha blend's parameters: one constant alpha for the whole
// source, and whether the source pixels carry premultiplied alpha.
struct BlendFunction {
  std::uint8_t constantAlpha = 255;
  bool sourceAlpha = false;
};

// Text format flags, with the window system's values.
inline constexpr unsigned DT_TOP = 0x0;
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_SINGLELINE = 0x20;
inline constexpr unsigned DT_NOCLIP = 0x100;
inline constexpr unsigned DT_CALCRECT = 0x400;
inline constexpr unsigned DT_NOPREFIX = 0x800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
inline constexpr unsigned DT_HIDEPREFIX = 0x100000;

enum class TextBackground { Opaque, Transparent };

class Canvas {
public:
  explicit Canvas(Bitmap& target);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& Target() { return fTarget; }

  // Everything a drawing routine may change, to put back afterwards.
  struct State {
    Font font;
    Brush brush;
    Pen pen;
    TextBackground textBackground;
    Point origin;
    Rect clip;
    bool clipSet;
  };
  State Save() const { return {font, brush, pen, textBackground, fOrigin, fClip, fClipSet}; }
  void Restore(const State& s);

  Font font;
  Brush brush;
  Pen pen;
  // Opaque text fills its cell with the brush colour (unless the brush is clear).
  TextBackground textBackground = TextBackground::Opaque;

  // Logical (0, 0) lands on bitmap point origin.
  void SetOrigin(Point origin) { fOrigin = origin; }
  Point Origin() const { return fOrigin; }
  // The clip, in logical coordinates, always within the bitmap.
  void SetClipRect(const Rect& logical);
  void ResetClip();
  Rect ClipRect() const { return DeviceClip().Offset(-fOrigin.x, -fOrigin.y); }

  // Serialises drawing from several threads; recursive.
  void Lock() { fMutex.lock(); }
  void Unlock() { fMutex.unlock(); }
  bool TryLock() { return fMutex.try_lock(); }

  Pixel PixelAt(int x, int y) const;
  void SetPixel(int x, int y, Color c);

  void FillRect(const Rect& r); // with the brush
  void FillRect(const Rect& r, Color c);
  void FrameRect(const Rect& r); // one-pixel border in the brush colour
  void Rectangle(const Rect& r); // pen border, brush inside
  // A rectangle whose corner pixels are cut when the corner size is at least 2.
  void RoundRect(const Rect& r, int cornerWidth, int cornerHeight);
  void MoveTo(int x, int y) { fPenPos = {x, y}; }
  // A one-pixel line in the pen colour; the end point is not drawn.
  void LineTo(int x, int y);
  Point PenPos() const { return fPenPos; }
  void Polyline(std::span<const Point> points);
  // Filled with the brush by the winding rule, outlined with the pen.
  void Polygon(std::span<const Point> points);
  void FillRegion(const Region& region, Color c);

  void Draw(int x, int y, const Bitmap& src) { BitBlt(x, y, src.Width(), src.Height(), src, 0, 0); }
  // Copies w x h pixels from src (sx, sy) to (dx, dy).
  void BitBlt(int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy);
  // Copies a rectangle, stretching it (nearest pixel) when the sizes differ.
  void CopyRect(const Rect& dst, const Bitmap& src, const Rect& srcRect);
  // Blends src over the canvas as the platform's alpha blend does; answers
  // false (and draws nothing) for empty or out-of-bitmap source rectangles.
  bool AlphaBlend(const Rect& dst, const Bitmap& src, const Rect& srcRect, BlendFunction bf);

  // Text with its cell's top-left corner at (x, y).
  void TextOut(int x, int y, std::u16string_view text);
  void TextOut(int x, int y, std::string_view utf8);
  // Draws text into r with DT_ flags and answers its height; DT_CALCRECT
  // only measures, setting r's right and bottom.
  int TextRect(Rect& r, std::u16string_view text, unsigned flags);
  int TextRect(Rect& r, std::string_view utf8, unsigned flags);
  Size TextExtent(std::u16string_view text);
  Size TextExtent(std::string_view utf8);
  TextMetrics GetTextMetrics();

private:
  Rect DeviceClip() const;
  void Blend(int tx, int ty, Color c, int coverage);
  void DrawLine(std::u16string_view line, int x, int y, int underline);
  int LineWidth(std::u16string_view line);

  Bitmap& fTarget;
  Point fOrigin;
  Rect fClip;
  bool fClipSet = false;
  Point fPenPos;
  std::recursive_mutex fMutex;
};

// Holds a canvas lock for a scope.
class CanvasLock {
public:
  explicit CanvasLock(Canvas& c) : fCanvas(c) { fCanvas.Lock(); }
  ~CanvasLock() { fCanvas.Unlock(); }
  CanvasLock(const CanvasLock&) = delete;
  CanvasLock& operator=(const CanvasLock&) = delete;

private:
  Canvas& fCanvas;
};

} // namespace kest::ui
