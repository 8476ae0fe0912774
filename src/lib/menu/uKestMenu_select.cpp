// The selection of a view: by the pointer and by keys, with the submenu
// timers it starts, the scroll zones, accelerators and their underlines.
#include "uKestMenu_views.h"
#include "uKestTools.h"

namespace kest::menu {

using kest::ui::Point;

bool TKestView::MouseIsOver(TKestItemViewer* Value) {
  if (!Value || !FWindow) return false;
  const Point p = LastMessagePos();
  if (kest::ui::WinControl::FindControl(kest::ui::WindowFromPoint(p)) != FWindow) return false;
  const Point c = FWindow->ScreenToClient(p);
  if (ViewerFromPoint(c) != Value) return false;
  if (!FCapture) return true;
  const Point v = Value->ScreenToClient(p);
  return Value->IsPtInButtonPart(v.x, v.y);
}

void TKestView::Select(TKestItemViewer* Value, bool ViaMouse) {
  TKestItemViewer* old = FSelected;
  const bool changed = Value != old;
  if (changed) {
    // Moving into a submenu keeps its item highlighted in the parent.
    if (Value && FParentView && FParentView->FOpenViewer &&
        FParentView->FSelected != FParentView->FOpenViewer) {
      FParentView->Select(FParentView->FOpenViewer, false);
      FParentView->StopTimer(vtOpen);
      FParentView->StopTimer(vtClose);
    }
    if (FState.Contains(vsModal)) {
      if (!ViaMouse) {
        StopTimer(vtClose);
        if (Value != FOpenViewer) CloseChildPopups();
      } else if (FOpenViewer && !TimerRunning(vtClose)) {
        StartTimer(vtClose, static_cast<std::uint32_t>(MenuShowDelayMs()));
      }
    }
    CancelCapture();
    if (old) old->Leaving();
    FSelected = Value;
    FSelectedViaMouse = ViaMouse;
  }
  const bool over = MouseIsOver(Value);
  if (!changed) {
    if (over == FMouseOverSelected) return;
    FMouseOverSelected = over;
    if (Value && FCapture && Value->FItem->GetItemStyle().Contains(tbisRedrawOnMouseOverChange))
      Invalidate(Value);
    return;
  }
  FMouseOverSelected = over;
  if (old && old->FItem->GetItemStyle().Contains(tbisRedrawOnSelChange)) Invalidate(old);
  if (Value) {
    if (Value->FItem->GetItemStyle().Contains(tbisRedrawOnSelChange)) Invalidate(Value);
    Value->Entering();
  }
  NotifyFocusEvent();
  if (FState.Contains(vsModal)) {
    StopTimer(vtOpen);
    if (ViaMouse && Value && Value->FItem->GetItemStyle().Contains(tbisSubmenu))
      StartTimer(vtOpen, static_cast<std::uint32_t>(MenuShowDelayMs()));
  }
}

void TKestView::UpdateSelection(Point P, bool AllowNewSelection) {
  ValidatePositions();
  if (FCapture) {
    FState.Include(vsMouseInWindow);
    return;
  }
  const bool known = P.x != kKestUnknownPos;
  const bool wasInside = FState.Contains(vsMouseInWindow);
  TKestItemViewer* candidate = FState.Contains(vsModal) ? FSelected : nullptr;
  const bool inside = known && FWindow &&
                      kest::ui::WinControl::FindControl(kest::ui::WindowFromPoint(P)) == FWindow;
  if (inside) {
    FState.Include(vsMouseInWindow);
    if (FIsPopup) candidate = nullptr;
    if (AllowNewSelection || FSelected) {
      if (TKestItemViewer* v = ViewerFromPoint(FWindow->ScreenToClient(P))) candidate = v;
    }
  } else {
    FState.Exclude(vsMouseInWindow);
    // The item whose submenu is open stays selected while the pointer
    // travels to the submenu.
    if (FIsPopup && wasInside &&
        !(FOpenViewer && candidate && candidate->FItem->GetItemStyle().Contains(tbisSubmenu)))
      candidate = nullptr;
  }
  Select(candidate, true);
  if (FState.Contains(vsModal) && inside && !FCapture) UpdateScrollZones(P);
}

void TKestView::UpdateScrollZones(Point P) {
  const Point c = FWindow->ScreenToClient(P);
  const kest::ui::Rect client = kest::ui::GetClientRect(FWindow->Handle());
  if (!client.Contains(c)) return;
  if (FShowUpArrow && c.y < client.top + kKestScrollArrowHeight) {
    StopTimer(vtScrollDown);
    if (!TimerRunning(vtScrollUp)) StartTimer(vtScrollUp, kKestScrollIntervalMs);
  } else if (FShowDownArrow && c.y >= client.bottom - kKestScrollArrowHeight) {
    StopTimer(vtScrollUp);
    if (!TimerRunning(vtScrollDown)) StartTimer(vtScrollDown, kKestScrollIntervalMs);
  } else {
    StopTimer(vtScrollUp);
    StopTimer(vtScrollDown);
  }
}

namespace {

// Walks the viewers once round from after (or before) Cur, Cur itself last;
// from the start (or end) when Cur is null.
template <class F>
TKestItemViewer* Cycle(const TKestView& view, TKestItemViewer* Cur, bool Forward, F&& matches) {
  const int n = view.ViewerCount();
  if (n == 0) return nullptr;
  int start = view.IndexOf(Cur);
  if (start < 0) start = Forward ? n - 1 : 0;
  for (int k = 1; k <= n; ++k) {
    const int i = ((start + (Forward ? k : -k)) % n + n) % n;
    TKestItemViewer* v = view.GetViewer(i);
    if (matches(v)) return v;
  }
  return nullptr;
}

bool Selectable(const TKestItemViewer* v) {
  return (v->FShow || v->FClipped) && v->FItem->Visible() &&
         v->FItem->GetItemStyle().Contains(tbisSelectable);
}

} // namespace

TKestItemViewer* TKestView::NextSelectable(TKestItemViewer* CurViewer, bool GoForward) {
  ValidatePositions();
  return Cycle(*this, CurViewer, GoForward, Selectable);
}

TKestItemViewer* TKestView::FirstSelectable() {
  TKestItemViewer* first = NextSelectable(nullptr, true);
  for (TKestItemViewer* v = first; v;) {
    if (!v->FItem->GetItemStyle().Contains(tbisDontSelectFirst)) return v;
    v = NextSelectable(v, true);
    if (v == first) break; // every one asks not to be first
  }
  return first;
}

TKestItemViewer* TKestView::FindWithAccel(TKestItemViewer* CurViewer, char16_t Key, bool Primary,
                                          bool Enabled, TKestItemViewer* Except) {
  const char16_t key = LowerCaseChar(Key);
  return Cycle(*this, CurViewer, true, [&](TKestItemViewer* v) {
    if (v == Except || !Selectable(v) || v->FItem->Enabled() != Enabled || !v->CaptionShown())
      return false;
    const std::u16string caption = v->GetCaptionText();
    const char16_t accel = AcceleratorChar(caption);
    if (Primary) return accel != 0 && LowerCaseChar(accel) == key;
    if (accel != 0 || Key == u' ') return false;
    const std::u16string shown = StripAmpersands(caption);
    return !shown.empty() && LowerCaseChar(shown.front()) == key;
  });
}

TKestItemViewer* TKestView::NextSelectableWithAccel(TKestItemViewer* CurViewer, char16_t Key,
                                                    bool RequirePrimaryAccel,
                                                    bool& IsOnlyItemWithAccel) {
  ValidatePositions();
  IsOnlyItemWithAccel = false;
  for (const bool primary : {true, false}) {
    if (!primary && RequirePrimaryAccel) break;
    if (TKestItemViewer* v = FindWithAccel(CurViewer, Key, primary, true, nullptr)) {
      IsOnlyItemWithAccel = FindWithAccel(v, Key, primary, true, v) == nullptr;
      return v;
    }
    if (TKestItemViewer* v = FindWithAccel(CurViewer, Key, primary, false, nullptr)) {
      IsOnlyItemWithAccel = true;
      return v;
    }
  }
  return nullptr;
}

void TKestView::SetAccelsVisibility(bool Show) {
  const bool now = Show || !FStyle.Contains(vsUseHiddenAccels) || KeyboardCuesOn();
  if (now == FState.Contains(vsShowAccels)) return;
  if (now)
    FState.Include(vsShowAccels);
  else
    FState.Exclude(vsShowAccels);
  const kest::ui::WindowHandle h = WindowHandleIfAny();
  if (!h || !kest::ui::IsWindowVisible(h)) return;
  for (const auto& v : FViewers)
    if (v->CaptionShown() && AcceleratorChar(v->GetCaptionText()) != 0) Invalidate(v.get());
}

} // namespace kest::menu
