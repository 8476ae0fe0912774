// Shortcut values, their display text, and the search for the item whose
// shortcut a key message is.
#include <exception>
#include <string>

#include "uKestMenu.h"
#include "ui/toolkit/Application.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::menu {

using kest::ui::ShiftState;

TShortCut ShortCut(std::uint16_t Key, ShiftState Shift) {
  if ((Key & 0xFF00) != 0) return 0;
  TShortCut result = Key;
  if (Shift & kest::ui::ssShift) result |= scShift;
  if (Shift & kest::ui::ssCtrl) result |= scCtrl;
  if (Shift & kest::ui::ssAlt) result |= scAlt;
  return result;
}

TShortCut ShortCutFromMessage(const TWMKey& Message) {
  ShiftState shift = 0;
  if (kest::ui::GetKeyState(kest::ui::VK_SHIFT) < 0) shift |= kest::ui::ssShift;
  if (kest::ui::GetKeyState(kest::ui::VK_CONTROL) < 0) shift |= kest::ui::ssCtrl;
  if (Message.KeyData & kKeyDataAltMask) shift |= kest::ui::ssAlt;
  return ShortCut(Message.CharCode, shift);
}

namespace {

std::u16string KeyName(std::uint8_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
    return std::u16string(1, static_cast<char16_t>(vk));
  if (vk >= 0x70 && vk <= 0x87) { // F1..F24
    std::string n = "F" + std::to_string(vk - 0x6F);
    return {n.begin(), n.end()};
  }
  if (vk >= 0x60 && vk <= 0x69)
    return u"Num " + std::u16string(1, static_cast<char16_t>(u'0' + vk - 0x60));
  switch (vk) {
  case 0x08:
    return u"BkSp";
  case 0x09:
    return u"Tab";
  case 0x0D:
    return u"Enter";
  case 0x1B:
    return u"Esc";
  case 0x20:
    return u"Space";
  case 0x21:
    return u"PgUp";
  case 0x22:
    return u"PgDn";
  case 0x23:
    return u"End";
  case 0x24:
    return u"Home";
  case 0x25:
    return u"Left";
  case 0x26:
    return u"Up";
  case 0x27:
    return u"Right";
  case 0x28:
    return u"Down";
  case 0x2D:
    return u"Ins";
  case 0x2E:
    return u"Del";
  case 0x6A:
    return u"Num *";
  case 0x6B:
    return u"Num +";
  case 0x6D:
    return u"Num -";
  case 0x6E:
    return u"Num Del";
  case 0x6F:
    return u"Num /";
  // Punctuation keys are named by what they type on a US keyboard, as the
  // system's key names do.
  case 0xBA:
    return u";";
  case 0xBB:
    return u"=";
  case 0xBC:
    return u",";
  case 0xBD:
    return u"-";
  case 0xBE:
    return u".";
  case 0xBF:
    return u"/";
  case 0xC0:
    return u"`";
  case 0xDB:
    return u"[";
  case 0xDC:
    return u"\\";
  case 0xDD:
    return u"]";
  case 0xDE:
    return u"'";
  case 0xE2:
    return u"\\";
  default:
    return {};
  }
}

} // namespace

std::u16string ShortCutToText(TShortCut ShortCut) {
  const std::u16string name = KeyName(static_cast<std::uint8_t>(ShortCut & 0xFF));
  if (name.empty()) return {};
  std::u16string text;
  if (ShortCut & scShift) text += u"Shift+";
  if (ShortCut & scCtrl) text += u"Ctrl+";
  if (ShortCut & scAlt) text += u"Alt+";
  return text + name;
}

std::u16string TKestCustomItem::GetShortCutText() const {
  const auto tab = FCaption.find(u'\t');
  if (tab != std::u16string::npos) return FCaption.substr(tab + 1);
  if (FShortCut != 0) return ShortCutToText(FShortCut);
  return {};
}

namespace {

// Paths that follow more links than this are taken to be cycles.
constexpr int kMaxLinkSteps = 25;
// Popup handlers that keep moving the item away are given up on after
// this many fresh starts, rather than looping for ever.
constexpr int kMaxSearchRestarts = 25;

TKestCustomItem* SourceOf(TKestCustomItem* item) {
  return item->LinkSubitems() ? item->LinkSubitems() : item;
}

struct Found {
  TKestCustomItem* item = nullptr;
  TKestCustomItem* child = nullptr; // the direct child on the path; none when item is one
};

TKestCustomItem* SearchBelow(TKestCustomItem* item, TShortCut key, int linkSteps) {
  TKestCustomItem* source = SourceOf(item);
  if (source != item && ++linkSteps > kMaxLinkSteps) return nullptr;
  for (int i = 0; i < source->Count(); ++i) {
    TKestCustomItem* sub = source->GetItem(i);
    if (sub->ShortCut() == key) return sub;
    if (TKestCustomItem* f = SearchBelow(sub, key, linkSteps)) return f;
  }
  return nullptr;
}

Found FindShortCutItem(TKestCustomItem* searched, TShortCut key) {
  TKestCustomItem* source = SourceOf(searched);
  const int linkSteps = source != searched ? 1 : 0;
  for (int i = 0; i < source->Count(); ++i) {
    TKestCustomItem* sub = source->GetItem(i);
    if (sub->ShortCut() == key) return {sub, nullptr};
    if (TKestCustomItem* f = SearchBelow(sub, key, linkSteps)) return {f, sub};
  }
  return {};
}

template <class F> void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
    kest::ui::App().HandleException(std::current_exception());
  }
}

} // namespace

bool TKestCustomItem::IsShortCut(const TWMKey& Message) {
  const TShortCut key = ShortCutFromMessage(Message);
  // Items without a shortcut hold 0; no key message stands for them.
  if (key == 0) return false;
  for (int start = 0; start <= kMaxSearchRestarts; ++start) {
    Found found = FindShortCutItem(this, key);
    if (!found.item) return false;
    TKestCustomItem* cur = this;
    for (;;) {
      if (!cur->Enabled()) return false;
      TKestCustomItem* source = SourceOf(cur);
      for (int i = 0; i < source->Count(); ++i)
        source->GetItem(i)->InitiateAction();
      if (!cur->GetItemStyle().Contains(tbisEmbeddedGroup)) {
        if (source != cur) Guarded([&] { source->DoPopup(cur, true); });
        Guarded([&] { cur->DoPopup(cur, false); });
      }
      // The handlers may have rebuilt the items.
      found = FindShortCutItem(cur, key);
      if (!found.item) break;
      if (!found.child) {
        if (!found.item->Enabled()) return false;
        Guarded([&] { found.item->Click(); });
        return true;
      }
      cur = found.child;
    }
  }
  return false;
}

} // namespace kest::menu
