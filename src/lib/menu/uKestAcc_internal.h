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

inline void ClearOut(std::u16string& s) { s.clear(); }
inline void ClearOut(AccVariant& v) { v.Clear(); }
inline void ClearOut(kest::ui::AccRef& r) { r = nullptr; }
inline void ClearOut(std::int32_t& i) { i = 0; }

// An answer that needs the view or viewer: the output cleared first, E_FAIL
// without the client, errors fenced.
template <class Out, class F>
HResult Answer(Out* out, bool clientAlive, F&& answer) {
  if (!out) return kest::ui::E_INVALIDARG;
  ClearOut(*out);
  return Guarded([&]() -> HResult { return clientAlive ? answer(*out) : kest::ui::E_FAIL; });
}

// The same for an answer about the object itself, after the self check.
template <class Out, class F>
HResult AnswerSelf(Out* out, bool clientAlive, const AccVariant& child, F&& answer) {
  return Answer(out, true, [&](Out& o) -> HResult {
    if (HResult r = SelfCheck(clientAlive, child); r != kest::ui::S_OK) return r;
    return answer(o);
  });
}

// A child by id: 0 is the object itself, others come from nth (or give
// E_INVALIDARG), and only integer ids count.
template <class F>
HResult AnswerChild(kest::ui::AccRef* out, kest::ui::IAccessibleX* self, bool clientAlive,
                    const AccVariant& child, F&& nth) {
  return Answer(out, clientAlive, [&](kest::ui::AccRef& o) -> HResult {
    if (child.vt != AccVariant::Type::Int32) return kest::ui::E_INVALIDARG;
    if (child.lVal == kest::ui::CHILDID_SELF) {
      o = kest::ui::AccRef(self);
      return kest::ui::S_OK;
    }
    o = nth(child.lVal);
    return o ? kest::ui::S_OK : kest::ui::E_INVALIDARG;
  });
}

// A place on the screen as left, top, width and height.
template <class F>
HResult AnswerLocation(std::int32_t* x, std::int32_t* y, std::int32_t* w, std::int32_t* h,
                       bool clientAlive, const AccVariant& child, F&& rect) {
  if (!x || !y || !w || !h) return kest::ui::E_INVALIDARG;
  *x = *y = *w = *h = 0;
  return Guarded([&]() -> HResult {
    if (HResult r = SelfCheck(clientAlive, child); r != kest::ui::S_OK) return r;
    const kest::ui::Rect r = rect();
    *x = r.left;
    *y = r.top;
    *w = r.Width();
    *h = r.Height();
    return kest::ui::S_OK;
  });
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
