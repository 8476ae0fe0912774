// The accessibility object of an item viewer: one item of a menu level.
#include "uKestAcc_internal.h"
#include "uKestMenu_views.h"
#include "uKestTools.h"

namespace kest::menu {

using kest::ui::AccRef;
using kest::ui::AccVariant;
using kest::ui::HResult;
using kest::ui::S_FALSE;
using kest::ui::S_OK;
namespace ui = kest::ui;

namespace {

// The view of the viewer's submenu while it shows, else null.
TKestView* OpenSubmenu(const TKestItemViewer& viewer) {
  const TKestView* view = viewer.View();
  return view->OpenViewer() == &viewer ? view->OpenViewerView() : nullptr;
}

// The nearest viewer the client sees before (or after) this one.
TKestItemViewer* Neighbour(const TKestItemViewer& viewer, bool forward) {
  const TKestView& view = *viewer.View();
  const int step = forward ? 1 : -1;
  for (int i = view.IndexOf(&viewer) + step; i >= 0 && i < view.ViewerCount(); i += step)
    if (view.Viewers(i)->IsAccessible()) return view.Viewers(i);
  return nullptr;
}

std::int32_t StateBits(TKestItemViewer& viewer) {
  TKestView& view = *viewer.View();
  std::int32_t state = 0;
  if (view.Selected() == &viewer) {
    state |= ui::STATE_SYSTEM_HOTTRACKED;
    if (view.State().Contains(vsModal)) state |= ui::STATE_SYSTEM_FOCUSED;
    if (view.Capture() && view.MouseOverSelected()) state |= ui::STATE_SYSTEM_PRESSED;
  }
  if (viewer.Item()->GetItemStyle().Contains(tbisSubmenu)) state |= ui::STATE_SYSTEM_HASPOPUP;
  if (!viewer.Show() && !viewer.Clipped())
    state |= ui::STATE_SYSTEM_INVISIBLE;
  else if (acc::WindowUsable(view))
    state |= ui::STATE_SYSTEM_FOCUSABLE;
  if (!acc::ItemUsable(viewer)) state |= ui::STATE_SYSTEM_UNAVAILABLE;
  if (viewer.Item()->Checked()) state |= ui::STATE_SYSTEM_CHECKED;
  return state;
}


} // namespace

TKestItemViewerAccObject::~TKestItemViewerAccObject() {
  if (FViewer) FViewer->AccObjectGone(this);
}

HResult TKestItemViewerAccObject::get_accParent(AccRef* ppdispParent) {
  return acc::Answer(ppdispParent, FViewer, [&](AccRef& parent) {
    parent = FViewer->View()->GetAccObject();
    return parent ? S_OK : ui::E_FAIL;
  });
}

HResult TKestItemViewerAccObject::get_accChildCount(std::int32_t* pcountChildren) {
  return acc::Answer(pcountChildren, FViewer, [&](std::int32_t& count) {
    count = OpenSubmenu(*FViewer) ? 1 : 0;
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accChild(const AccVariant& varChild, AccRef* ppdispChild) {
  return acc::AnswerChild(ppdispChild, this, FViewer, varChild, [&](std::int32_t n) {
    TKestView* sub = n == 1 ? OpenSubmenu(*FViewer) : nullptr;
    return sub ? sub->GetAccObject() : AccRef();
  });
}

HResult TKestItemViewerAccObject::get_accName(const AccVariant& varChild,
                                              std::u16string* pszName) {
  return acc::AnswerSelf(pszName, FViewer, varChild, [&](std::u16string& name) {
    name = StripAmpersands(FViewer->GetCaptionText());
    if (!FViewer->IsToolbarStyle()) {
      const std::u16string shortcut = FViewer->Item()->GetShortCutText();
      if (!shortcut.empty()) name += u'\t' + shortcut;
    }
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accValue(const AccVariant& varChild,
                                               std::u16string* pszValue) {
  return acc::AnswerSelf(pszValue, FViewer, varChild, [&](std::u16string& value) {
    if (FViewer->GetAccValue(value)) return S_OK;
    value.clear();
    return S_FALSE;
  });
}

HResult TKestItemViewerAccObject::get_accDescription(const AccVariant&, std::u16string* psz) {
  return acc::NoText(psz);
}
HResult TKestItemViewerAccObject::get_accHelp(const AccVariant&, std::u16string* pszHelp) {
  return acc::NoText(pszHelp);
}

HResult TKestItemViewerAccObject::get_accHelpTopic(std::u16string* pszHelpFile,
                                                   const AccVariant&, std::int32_t* pidTopic) {
  if (pidTopic) *pidTopic = 0;
  return acc::NoText(pszHelpFile);
}

HResult TKestItemViewerAccObject::get_accRole(const AccVariant& varChild, AccVariant* pvarRole) {
  return acc::AnswerSelf(pvarRole, FViewer, varChild, [&](AccVariant& role) {
    role = AccVariant::Int(FViewer->GetAccRole());
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accState(const AccVariant& varChild,
                                               AccVariant* pvarState) {
  return acc::AnswerSelf(pvarState, FViewer, varChild, [&](AccVariant& state) {
    state = AccVariant::Int(StateBits(*FViewer));
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accKeyboardShortcut(const AccVariant& varChild,
                                                          std::u16string* psz) {
  return acc::AnswerSelf(psz, FViewer, varChild, [&](std::u16string& shortcut) {
    const char16_t accel =
        FViewer->CaptionShown() ? AcceleratorChar(FViewer->GetCaptionText()) : char16_t{0};
    if (!accel) return S_FALSE;
    const std::u16string key(1, LowerCaseChar(accel));
    shortcut = FViewer->View()->IsPopup() ? key : AltKeyName() + u"+" + key;
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accFocus(AccVariant* pvarChild) {
  return acc::Answer(pvarChild, FViewer, [&](AccVariant& focus) {
    TKestView& view = *FViewer->View();
    if (!view.State().Contains(vsModal) || view.Selected() != FViewer) return S_FALSE;
    focus = AccVariant::Self();
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::get_accSelection(AccVariant* pvarChildren) {
  if (!pvarChildren) return ui::E_INVALIDARG;
  pvarChildren->Clear();
  return S_FALSE;
}

HResult TKestItemViewerAccObject::get_accDefaultAction(const AccVariant& varChild,
                                                       std::u16string* psz) {
  return acc::AnswerSelf(psz, FViewer, varChild, [&](std::u16string& action) {
    if (!acc::CanAct(*FViewer)) return S_FALSE;
    TKestView& view = *FViewer->View();
    if (OpenSubmenu(*FViewer))
      action = u"Close";
    else if (FViewer->Item()->GetItemStyle().Contains(tbisSubmenu))
      action = u"Open";
    else if (view.IsPopup() || view.Style().Contains(vsMenuBar))
      action = u"Execute";
    else
      action = u"Press";
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::accSelect(std::int32_t flagsSelect,
                                            const AccVariant& varChild) {
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FViewer, varChild); r != S_OK) return r;
    if (flagsSelect != ui::SELFLAG_TAKEFOCUS) return ui::E_INVALIDARG;
    TKestView& view = *FViewer->View();
    if (!acc::WindowUsable(view) || (!FViewer->Show() && !FViewer->Clipped())) return ui::E_FAIL;
    view.SelectAndShow(FViewer);
    if (!view.State().Contains(vsModal) && !view.ParentView()) FViewer->PostAccSelect(false);
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::accLocation(std::int32_t* pxLeft, std::int32_t* pyTop,
                                              std::int32_t* pcxWidth, std::int32_t* pcyHeight,
                                              const AccVariant& varChild) {
  return acc::AnswerLocation(pxLeft, pyTop, pcxWidth, pcyHeight, FViewer, varChild, [&] {
    const ui::Rect& b = FViewer->BoundsRect();
    const ui::WindowHandle h = FViewer->View()->WindowHandleIfAny();
    const ui::Point topLeft = h ? ui::ClientToScreen(h, {b.left, b.top}) : ui::Point{b.left, b.top};
    return ui::Rect{topLeft.x, topLeft.y, topLeft.x + b.Width(), topLeft.y + b.Height()};
  });
}

HResult TKestItemViewerAccObject::accNavigate(std::int32_t navDir, const AccVariant& varStart,
                                              AccVariant* pvarEndUpAt) {
  return acc::AnswerSelf(pvarEndUpAt, FViewer, varStart, [&](AccVariant& end) {
    AccRef found;
    switch (navDir) {
    case ui::NAVDIR_FIRSTCHILD:
    case ui::NAVDIR_LASTCHILD:
      if (TKestView* sub = OpenSubmenu(*FViewer)) found = sub->GetAccObject();
      break;
    case ui::NAVDIR_UP:
    case ui::NAVDIR_LEFT:
    case ui::NAVDIR_PREVIOUS:
    case ui::NAVDIR_DOWN:
    case ui::NAVDIR_RIGHT:
    case ui::NAVDIR_NEXT: {
      const bool forward = navDir == ui::NAVDIR_DOWN || navDir == ui::NAVDIR_RIGHT ||
                           navDir == ui::NAVDIR_NEXT;
      if (TKestItemViewer* v = Neighbour(*FViewer, forward)) found = v->GetAccObject();
      break;
    }
    default:
      break;
    }
    if (!found) return S_FALSE;
    end = AccVariant::Object(std::move(found));
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::accHitTest(std::int32_t xLeft, std::int32_t yTop,
                                             AccVariant* pvarChild) {
  return acc::Answer(pvarChild, FViewer, [&](AccVariant& hit) {
    const ui::WindowHandle h = FViewer->View()->WindowHandleIfAny();
    if (!h) return S_FALSE;
    if (!FViewer->BoundsRect().Contains(ui::ScreenToClient(h, {xLeft, yTop}))) return S_FALSE;
    hit = AccVariant::Self();
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::accDoDefaultAction(const AccVariant& varChild) {
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FViewer, varChild); r != S_OK) return r;
    if (!acc::CanAct(*FViewer)) return ui::E_FAIL;
    TKestView& view = *FViewer->View();
    if (OpenSubmenu(*FViewer)) {
      view.CancelChildPopups();
      if (view.State().Contains(vsModal) && !view.IsPopup()) view.EndModal();
    } else {
      // Executing waits for the menu's thread, as a click's would.
      view.SelectAndShow(FViewer);
      FViewer->PostAccSelect(true);
    }
    return S_OK;
  });
}

HResult TKestItemViewerAccObject::put_accName(const AccVariant&, const std::u16string&) {
  return S_FALSE;
}
HResult TKestItemViewerAccObject::put_accValue(const AccVariant&, const std::u16string&) {
  return S_FALSE;
}

} // namespace kest::menu
