// The accessibility object of a view: one menu level as a whole.
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

ui::WindowHandle WindowOf(const TKestView& view) {
  ui::WinControl* w = view.Window();
  return w && w->HandleAllocated() ? w->Handle() : 0;
}

// A viewer's object, or the window's for a control item with a window of
// its own.
AccRef ChildObject(TKestItemViewer& viewer) {
  if (auto* ci = dynamic_cast<TKestControlItem*>(viewer.Item())) {
    if (auto* wc = dynamic_cast<ui::WinControl*>(ci->Control()); wc && wc->HandleAllocated()) {
      AccRef object;
      ui::AccObjectFromWindow(wc->Handle(), ui::OBJID_WINDOW, &object);
      return object;
    }
  }
  return viewer.GetAccObject();
}

} // namespace

HResult TKestViewAccObject::get_accParent(AccRef* ppdispParent) {
  if (!ppdispParent) return ui::E_INVALIDARG;
  *ppdispParent = nullptr;
  return acc::Guarded([&]() -> HResult {
    if (!FView) return ui::E_FAIL;
    TKestView* parent = FView->ParentView();
    if (parent && parent->OpenViewer() && parent->OpenViewerView() == FView) {
      *ppdispParent = parent->OpenViewer()->GetAccObject();
      return S_OK;
    }
    return ui::AccObjectFromWindow(WindowOf(*FView), ui::OBJID_WINDOW, ppdispParent);
  });
}

HResult TKestViewAccObject::get_accChildCount(std::int32_t* pcountChildren) {
  if (!pcountChildren) return ui::E_INVALIDARG;
  *pcountChildren = 0;
  return acc::Guarded([&]() -> HResult {
    if (!FView) return ui::E_FAIL;
    *pcountChildren = acc::AccessibleCount(*FView);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accChild(const AccVariant& varChild, AccRef* ppdispChild) {
  if (!ppdispChild) return ui::E_INVALIDARG;
  *ppdispChild = nullptr;
  return acc::Guarded([&]() -> HResult {
    if (!FView) return ui::E_FAIL;
    if (varChild.vt != AccVariant::Type::Int32) return ui::E_INVALIDARG;
    if (varChild.lVal == ui::CHILDID_SELF) {
      *ppdispChild = AccRef(this);
      return S_OK;
    }
    TKestItemViewer* v = acc::AccessibleViewer(*FView, varChild.lVal);
    if (!v) return ui::E_INVALIDARG;
    *ppdispChild = ChildObject(*v);
    return *ppdispChild ? S_OK : ui::E_FAIL;
  });
}

HResult TKestViewAccObject::get_accName(const AccVariant& varChild, std::u16string* pszName) {
  if (!pszName) return ui::E_INVALIDARG;
  pszName->clear();
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varChild); r != S_OK) return r;
    TKestView* parent = FView->ParentView();
    if (parent && parent->OpenViewer())
      *pszName = StripAmpersands(parent->OpenViewer()->GetCaptionText());
    else
      *pszName = ui::GetWindowCaption(WindowOf(*FView));
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accValue(const AccVariant&, std::u16string* pszValue) {
  return acc::NoText(pszValue);
}
HResult TKestViewAccObject::get_accDescription(const AccVariant&, std::u16string* psz) {
  return acc::NoText(psz);
}
HResult TKestViewAccObject::get_accHelp(const AccVariant&, std::u16string* pszHelp) {
  return acc::NoText(pszHelp);
}
HResult TKestViewAccObject::get_accDefaultAction(const AccVariant&, std::u16string* psz) {
  return acc::NoText(psz);
}

HResult TKestViewAccObject::get_accHelpTopic(std::u16string* pszHelpFile, const AccVariant&,
                                             std::int32_t* pidTopic) {
  if (pidTopic) *pidTopic = 0;
  return acc::NoText(pszHelpFile);
}

HResult TKestViewAccObject::get_accRole(const AccVariant& varChild, AccVariant* pvarRole) {
  if (!pvarRole) return ui::E_INVALIDARG;
  pvarRole->Clear();
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varChild); r != S_OK) return r;
    std::int32_t role = ui::ROLE_SYSTEM_TOOLBAR;
    if (FView->IsPopup())
      role = ui::ROLE_SYSTEM_MENUPOPUP;
    else if (FView->Style().Contains(vsMenuBar))
      role = ui::ROLE_SYSTEM_MENUBAR;
    *pvarRole = AccVariant::Int(role);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accState(const AccVariant& varChild, AccVariant* pvarState) {
  if (!pvarState) return ui::E_INVALIDARG;
  pvarState->Clear();
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varChild); r != S_OK) return r;
    *pvarState = AccVariant::Int(0);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accKeyboardShortcut(const AccVariant& varChild,
                                                    std::u16string* psz) {
  if (!psz) return ui::E_INVALIDARG;
  psz->clear();
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varChild); r != S_OK) return r;
    if (!FView->Style().Contains(vsMenuBar)) return S_FALSE;
    *psz = AltKeyName();
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accFocus(AccVariant* pvarChild) {
  if (!pvarChild) return ui::E_INVALIDARG;
  pvarChild->Clear();
  return S_FALSE;
}

HResult TKestViewAccObject::get_accSelection(AccVariant* pvarChildren) {
  return get_accFocus(pvarChildren);
}

HResult TKestViewAccObject::accSelect(std::int32_t, const AccVariant&) {
  return ui::DISP_E_MEMBERNOTFOUND;
}

HResult TKestViewAccObject::accLocation(std::int32_t* pxLeft, std::int32_t* pyTop,
                                        std::int32_t* pcxWidth, std::int32_t* pcyHeight,
                                        const AccVariant& varChild) {
  if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return ui::E_INVALIDARG;
  *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varChild); r != S_OK) return r;
    const ui::Rect r = ui::GetWindowScreenRect(WindowOf(*FView));
    *pxLeft = r.left;
    *pyTop = r.top;
    *pcxWidth = r.Width();
    *pcyHeight = r.Height();
    return S_OK;
  });
}

HResult TKestViewAccObject::accNavigate(std::int32_t navDir, const AccVariant& varStart,
                                        AccVariant* pvarEndUpAt) {
  if (!pvarEndUpAt) return ui::E_INVALIDARG;
  pvarEndUpAt->Clear();
  return acc::Guarded([&]() -> HResult {
    if (HResult r = acc::SelfCheck(FView, varStart); r != S_OK) return r;
    const int count = acc::AccessibleCount(*FView);
    if (count == 0) return S_FALSE;
    int position = 0;
    if (navDir == ui::NAVDIR_FIRSTCHILD) position = 1;
    if (navDir == ui::NAVDIR_LASTCHILD) position = count;
    if (position == 0) return S_FALSE;
    *pvarEndUpAt = acc::ObjectOf(acc::AccessibleViewer(*FView, position)->GetAccObject());
    return S_OK;
  });
}

HResult TKestViewAccObject::accHitTest(std::int32_t xLeft, std::int32_t yTop,
                                       AccVariant* pvarChild) {
  if (!pvarChild) return ui::E_INVALIDARG;
  pvarChild->Clear();
  return acc::Guarded([&]() -> HResult {
    if (!FView) return ui::E_FAIL;
    const ui::WindowHandle h = WindowOf(*FView);
    const ui::Point p{xLeft, yTop};
    if (!h || !ui::GetWindowScreenRect(h).Contains(p)) return S_FALSE;
    // WindowFromPoint skips hidden windows already.
    const ui::WindowHandle under = ui::WindowFromPoint(p);
    if (under && under != h && ui::IsChild(h, under)) {
      AccRef object;
      const HResult r = ui::AccObjectFromWindow(under, ui::OBJID_WINDOW, &object);
      *pvarChild = acc::ObjectOf(std::move(object));
      return r;
    }
    if (TKestItemViewer* v = FView->ViewerFromPoint(ui::ScreenToClient(h, p)))
      *pvarChild = acc::ObjectOf(v->GetAccObject());
    else
      *pvarChild = AccVariant::Self();
    return S_OK;
  });
}

HResult TKestViewAccObject::accDoDefaultAction(const AccVariant&) {
  return S_FALSE;
}
HResult TKestViewAccObject::put_accName(const AccVariant&, const std::u16string&) {
  return S_FALSE;
}
HResult TKestViewAccObject::put_accValue(const AccVariant&, const std::u16string&) {
  return S_FALSE;
}

} // namespace kest::menu
