#pragma once
// Rules shared by the view and item-viewer objects: the self check, the
// error fence, and the tests of whether an item can act.
#include <exception>
#include <string>

#include "uKestAcc.h"

namespace kest::menu::acc {

using kest::ui::AccVariant;
using kest::ui::HResult;

// Runs an answer; an error inside becomes E_UNEXPECTED, never an escape.
template <class F>
HResult Guarded(F&& answer) noexcept {
  try {
    return answer();
  } catch (...) {
    return kest::ui::E_UNEXPECTED;
  }
}

// Operations that take a child id accept only the integer 0; a client that
// is gone fails before that.
inline HResult SelfCheck(bool clientAlive, const AccVariant& child) {
  if (!clientAlive) return kest::ui::E_FAIL;
  return child.vt == AccVariant::Type::Int32 && child.lVal == kest::ui::CHILDID_SELF
             ? kest::ui::S_OK
             : kest::ui::E_INVALIDARG;
}

// The answer of the text queries that have nothing to say.
inline HResult NoText(std::u16string* out) {
  if (!out) return kest::ui::E_INVALIDARG;
  out->clear();
  return kest::ui::S_FALSE;
}

// An object as a variant's answer.
inline AccVariant ObjectOf(kest::ui::AccRef object) {
  return object ? AccVariant::Object(std::move(object)) : AccVariant{};
}

// The view's viewers that a client sees, and positions among them (from 1).
int AccessibleCount(const TKestView& view);
TKestItemViewer* AccessibleViewer(const TKestView& view, int position);

// The item is enabled and selectable.
bool ItemUsable(const TKestItemViewer& viewer);
// The view's window is visible, enabled up its ancestors, and (outside the
// menu loop) the active window or inside it.
bool WindowUsable(TKestView& view);
// The viewer is seen, its item usable and its window usable.
bool CanAct(TKestItemViewer& viewer);

} // namespace kest::menu::acc
