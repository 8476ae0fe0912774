// Text drawing of the canvas: glyphs from FreeType, laid out one line at a
// time with the text format flags.
#include <algorithm>
#include <vector>

#include "Canvas.h"
#include "Utf.h"

namespace kest::ui {

namespace {

struct PreparedLine {
  std::u16string text;
  int underline = -1; // index in text of the accelerator character, or -1
};

// "&x" marks x as the accelerator, "&&" stands for one "&".
PreparedLine ApplyPrefix(std::u16string_view line, unsigned flags) {
  PreparedLine out;
  if (flags & DT_NOPREFIX) {
    out.text = line;
    return out;
  }
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == u'&') {
      if (i + 1 >= line.size()) break;
      ++i;
      if (line[i] != u'&' && !(flags & DT_HIDEPREFIX))
        out.underline = static_cast<int>(out.text.size());
    }
    out.text.push_back(line[i]);
  }
  return out;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text, bool single) {
  std::vector<std::u16string_view> lines;
  if (single) {
    lines.push_back(text);
    return lines;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

} // namespace

TextMetrics Canvas::GetTextMetrics() {
  return detail::OpenFont(font)->Metrics();
}

int Canvas::LineWidth(std::u16string_view line) {
  auto inst = detail::OpenFont(font);
  int w = 0;
  for (std::size_t i = 0; i < line.size();)
    w += inst->GlyphFor(NextCodePoint(line, i)).advance;
  return w;
}

Size Canvas::TextExtent(std::u16string_view text) {
  return {LineWidth(text), detail::OpenFont(font)->Metrics().height};
}

Size Canvas::TextExtent(std::string_view utf8) {
  return TextExtent(Utf8ToUtf16(utf8));
}

void Canvas::DrawLine(std::u16string_view line, int x, int y, int underline) {
  auto inst = detail::OpenFont(font);
  const TextMetrics& tm = inst->Metrics();
  const int width = LineWidth(line);
  if (textBackground == TextBackground::Opaque && !brush.clear) {
    FillRect(Rect::FromSize(x, y, width, tm.height), brush.color);
  }
  const Rect clip = DeviceClip();
  int penX = x + fOrigin.x;
  const int baseline = y + fOrigin.y + tm.ascent;
  int index = 0;
  for (std::size_t i = 0; i < line.size(); ++index) {
    const detail::Glyph& g = inst->GlyphFor(NextCodePoint(line, i));
    for (int gy = 0; gy < g.height; ++gy) {
      const int ty = baseline - g.top + gy;
      if (ty < clip.top || ty >= clip.bottom) continue;
      for (int gx = 0; gx < g.width; ++gx) {
        const int tx = penX + g.left + gx;
        if (tx < clip.left || tx >= clip.right) continue;
        Blend(tx, ty, font.color, g.coverage[static_cast<std::size_t>(gy) * g.width + gx]);
      }
    }
    if (index == underline) {
      const int uy = baseline + 1;
      for (int ux = penX; ux < penX + g.advance; ++ux) {
        if (clip.Contains({ux, uy})) Blend(ux, uy, font.color, 255);
      }
    }
    penX += g.advance;
  }
}

void Canvas::TextOut(int x, int y, std::u16string_view text) {
  DrawLine(text, x, y, -1);
}

void Canvas::TextOut(int x, int y, std::string_view utf8) {
  TextOut(x, y, Utf8ToUtf16(utf8));
}

int Canvas::TextRect(Rect& r, std::string_view utf8, unsigned flags) {
  return TextRect(r, Utf8ToUtf16(utf8), flags);
}

int Canvas::TextRect(Rect& r, std::u16string_view text, unsigned flags) {
  const TextMetrics tm = GetTextMetrics();
  const bool single = (flags & DT_SINGLELINE) != 0;
  std::vector<PreparedLine> lines;
  for (auto raw : SplitLines(text, single))
    lines.push_back(ApplyPrefix(raw, flags));
  const int lineHeight = tm.height;
  const int total = lineHeight * static_cast<int>(lines.size());

  if (flags & DT_CALCRECT) {
    int widest = 0;
    for (const auto& l : lines)
      widest = std::max(widest, LineWidth(l.text));
    r.right = r.left + widest;
    r.bottom = r.top + total;
    return total;
  }

  static constexpr std::u16string_view kEllipsis = u"...";
  const int boxWidth = r.Width();
  if (flags & DT_END_ELLIPSIS) {
    for (auto& l : lines) {
      if (LineWidth(l.text) <= boxWidth) continue;
      std::u16string cut = l.text;
      while (!cut.empty() && LineWidth(cut + std::u16string(kEllipsis)) > boxWidth)
        cut.pop_back();
      if (l.underline >= static_cast<int>(cut.size())) l.underline = -1;
      l.text = cut + std::u16string(kEllipsis);
    }
  }

  int y = r.top;
  if (single && (flags & DT_VCENTER))
    y = r.top + (r.Height() - lineHeight) / 2;
  else if (single && (flags & DT_BOTTOM))
    y = r.bottom - lineHeight;

  const bool clipSet = fClipSet;
  const Rect oldClip = fClip;
  if (!(flags & DT_NOCLIP)) {
    const Rect dev = r.Offset(fOrigin.x, fOrigin.y).Intersect(DeviceClip());
    fClip = dev;
    fClipSet = true;
  }
  for (const auto& l : lines) {
    const int w = LineWidth(l.text);
    int x = r.left;
    if (flags & DT_CENTER)
      x = r.left + (boxWidth - w) / 2;
    else if (flags & DT_RIGHT)
      x = r.right - w;
    DrawLine(l.text, x, y, l.underline);
    y += lineHeight;
  }
  fClip = oldClip;
  fClipSet = clipSet;
  return total;
}

} // namespace kest::ui
