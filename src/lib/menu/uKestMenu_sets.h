#pragma once
// Enumerations and 16-bit sets of the menu item tree. The ordinal values are
// fixed: views and stored menus rely on them.
#include <cstdint>
#include <initializer_list>

namespace kest::menu {

// A set of up to 16 members of an enumeration, bit n for ordinal n.
template <class E> class TKestSet {
public:
  constexpr TKestSet() = default;
  constexpr TKestSet(std::initializer_list<E> members) {
    for (E m : members)
      Include(m);
  }
  static constexpr TKestSet FromBits(std::uint16_t bits) {
    TKestSet s;
    s.fBits = bits;
    return s;
  }

  constexpr std::uint16_t Bits() const { return fBits; }
  constexpr bool Empty() const { return fBits == 0; }
  constexpr bool Contains(E m) const { return (fBits & Bit(m)) != 0; }
  constexpr TKestSet& Include(E m) {
    fBits = static_cast<std::uint16_t>(fBits | Bit(m));
    return *this;
  }
  constexpr TKestSet& Exclude(E m) {
    fBits = static_cast<std::uint16_t>(fBits & ~Bit(m));
    return *this;
  }

  friend constexpr TKestSet operator+(TKestSet a, TKestSet b) {
    return FromBits(a.fBits | b.fBits);
  }
  friend constexpr TKestSet operator-(TKestSet a, TKestSet b) {
    return FromBits(static_cast<std::uint16_t>(a.fBits & ~b.fBits));
  }
  friend constexpr TKestSet operator*(TKestSet a, TKestSet b) {
    return FromBits(a.fBits & b.fBits);
  }
  friend constexpr bool operator==(TKestSet a, TKestSet b) = default;

private:
  static constexpr std::uint16_t Bit(E m) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(m));
  }
  std::uint16_t fBits = 0;
};

enum TKestItemOption : std::uint8_t {
  tboDefault = 0,
  tboDropdownArrow = 1,
  tboImageAboveCaption = 2,
  tboLongHintInMenuOnly = 3,
  tboNoAutoHint = 4,
  tboNoRotation = 5,
  tboSameWidth = 6,
  tboShowHint = 7,
  tboToolbarStyle = 8,
  tboToolbarSize = 9,
};
using TKestItemOptions = TKestSet<TKestItemOption>;

// Members of the set TKestItemStyle: what kind of item it is and how views
// treat it.
enum TKestItemStyleFlag : std::uint8_t {
  tbisSubmenu = 0,
  tbisSelectable = 1,
  tbisSeparator = 2,
  tbisEmbeddedGroup = 3,
  tbisClicksTransparent = 4,
  tbisCombo = 5,
  tbisNoAutoOpen = 6,
  tbisSubitemsEditable = 7,
  tbisNoLineBreak = 8,
  tbisRightAlign = 9,
  tbisDontSelectFirst = 10,
  tbisRedrawOnSelChange = 11,
  tbisRedrawOnMouseOverChange = 12,
};
using TKestItemStyle = TKestSet<TKestItemStyleFlag>;

enum TKestItemDisplayMode : std::uint8_t {
  nbdmDefault = 0,
  nbdmTextOnly = 1,
  nbdmTextOnlyInMenus = 2,
  nbdmImageAndText = 3,
};

enum TKestItemChangedAction : std::uint8_t {
  tbicInserted = 0,
  tbicDeleting = 1,
  tbicSubitemsChanged = 2,
  tbicSubitemsBeginUpdate = 3,
  tbicSubitemsEndUpdate = 4,
  tbicInvalidate = 5,
  tbicInvalidateAndResize = 6,
  tbicRecreateItemViewers = 7,
  tbicNameChanged = 8,
  tbicSubMenuImagesChanged = 9,
};

enum TKestPopupAlignment : std::uint8_t {
  tbpaLeft = 0,
  tbpaRight = 1,
  tbpaCenter = 2,
};

// Option members whose change alters an item's size or layout.
inline constexpr std::uint16_t kResizingOptionsMask = 0x0367;

} // namespace kest::menu
