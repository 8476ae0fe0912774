// Caption text: accelerator markers, tails, measuring and drawing.
#include "uKestTools.h"
#include "ui/gfx/Font.h"

namespace kest {

std::u16string StripAmpersands(std::u16string_view Caption) {
  std::u16string out;
  out.reserve(Caption.size());
  for (std::size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == u'&') {
      // The marker goes; whatever follows it stays, a second "&" included.
      if (++i == Caption.size()) break;
    }
    out += Caption[i];
  }
  return out;
}

std::u16string StripCaptionTail(std::u16string_view Caption) {
  if (Caption.size() > 1 && Caption.ends_with(u':'))
    return std::u16string(Caption.substr(0, Caption.size() - 1));
  if (Caption.size() > 3 && Caption.ends_with(u"..."))
    return std::u16string(Caption.substr(0, Caption.size() - 3));
  return std::u16string(Caption);
}

char16_t AcceleratorChar(std::u16string_view Caption) {
  char16_t found = 0;
  for (std::size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] != u'&') continue;
    if (i + 1 == Caption.size()) break;
    ++i; // "&&" is a literal ampersand, not a marker
    if (Caption[i] != u'&') found = Caption[i];
  }
  return found;
}

std::u16string ShortHint(std::u16string_view Hint) {
  return std::u16string(Hint.substr(0, Hint.find(u'|')));
}

std::u16string LongHint(std::u16string_view Hint) {
  const auto bar = Hint.find(u'|');
  return std::u16string(bar == std::u16string_view::npos ? Hint : Hint.substr(bar + 1));
}

ui::Size CaptionExtent(ui::Canvas& Canvas, std::u16string_view Caption, bool Strip) {
  return Strip ? Canvas.TextExtent(StripAmpersands(Caption)) : Canvas.TextExtent(Caption);
}

void DrawTextString(ui::Canvas& Canvas, std::u16string_view Text, ui::Rect& R, unsigned Format) {
  Canvas.TextRect(R, Text, Format);
}

void TextOutString(ui::Canvas& Canvas, int X, int Y, std::u16string_view Text) {
  Canvas.TextOut(X, Y, Text);
}

bool FontFaceExists(std::string_view FaceName) {
  return ui::FontFaceInstalled(FaceName);
}

} // namespace kest
