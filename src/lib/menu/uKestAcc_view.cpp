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

// A viewer's object, or the window's for a control item with a window of
// its own (when that window has one).
AccRef ChildObject(TKestItemViewer* viewer) {
  if (!viewer) return nullptr;
  if (auto* ci = dynamic_cast<TKestControlItem*>(viewer->Item())) {
    AccRef object;
    if (auto* wc = dynamic_cast<ui::WinControl*>(ci->Control());
        wc && wc->HandleAllocated() &&
        ui::AccObjectFromWindow(wc->Handle(), ui::OBJID_WINDOW, &object) == S_OK)
      return object;
  }
  return viewer->GetAccObject();
}

} // namespace

HResult TKestViewAccObject::get_accParent(AccRef* ppdispParent) {
  return acc::Answer(ppdispParent, FView, [&](AccRef& parentObject) -> HResult {
    TKestView* parent = FView->ParentView();
    if (parent && parent->OpenViewer() && parent->OpenViewerView() == FView) {
      parentObject = parent->OpenViewer()->GetAccObject();
      return S_OK;
    }
    return ui::AccObjectFromWindow(FView->WindowHandleIfAny(), ui::OBJID_WINDOW, &parentObject);
  });
}

HResult TKestViewAccObject::get_accChildCount(std::int32_t* pcountChildren) {
  return acc::Answer(pcountChildren, FView, [&](std::int32_t& count) {
    count = acc::AccessibleCount(*FView);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accChild(const AccVariant& varChild, AccRef* ppdispChild) {
  return acc::AnswerChild(ppdispChild, this, FView, varChild, [&](std::int32_t n) {
    return ChildObject(acc::AccessibleViewer(*FView, n));
  });
}

HResult TKestViewAccObject::get_accName(const AccVariant& varChild, std::u16string* pszName) {
  return acc::AnswerSelf(pszName, FView, varChild, [&](std::u16string& name) {
    TKestView* parent = FView->ParentView();
    if (parent && parent->OpenViewer())
      name = StripAmpersands(parent->OpenViewer()->GetCaptionText());
    else
      name = ui::GetWindowCaption(FView->WindowHandleIfAny());
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
  return acc::AnswerSelf(pvarRole, FView, varChild, [&](AccVariant& role) {
    std::int32_t r = ui::ROLE_SYSTEM_TOOLBAR;
    if (FView->IsPopup())
      r = ui::ROLE_SYSTEM_MENUPOPUP;
    else if (FView->Style().Contains(vsMenuBar))
      r = ui::ROLE_SYSTEM_MENUBAR;
    role = AccVariant::Int(r);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accState(const AccVariant& varChild, AccVariant* pvarState) {
  return acc::AnswerSelf(pvarState, FView, varChild, [](AccVariant& state) {
    state = AccVariant::Int(0);
    return S_OK;
  });
}

HResult TKestViewAccObject::get_accKeyboardShortcut(const AccVariant& varChild,
                                                    std::u16string* psz) {
  return acc::AnswerSelf(psz, FView, varChild, [&](std::u16string& key) {
    if (!FView->Style().Contains(vsMenuBar)) return S_FALSE;
    key = AltKeyName();
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
  return acc::AnswerLocation(pxLeft, pyTop, pcxWidth, pcyHeight, FView, varChild,
                             [&] { return ui::GetWindowScreenRect(FView->WindowHandleIfAny()); });
}

HResult TKestViewAccObject::accNavigate(std::int32_t navDir, const AccVariant& varStart,
                                        AccVariant* pvarEndUpAt) {
  return acc::AnswerSelf(pvarEndUpAt, FView, varStart, [&](AccVariant& end) {
    const int count = acc::AccessibleCount(*FView);
    int position = 0;
    if (navDir == ui::NAVDIR_FIRSTCHILD) position = 1;
    if (navDir == ui::NAVDIR_LASTCHILD) position = count;
    if (count == 0 || position == 0) return S_FALSE;
    end = acc::ObjectOf(acc::AccessibleViewer(*FView, position)->GetAccObject());
    return S_OK;
  });
}

HResult TKestViewAccObject::accHitTest(std::int32_t xLeft, std::int32_t yTop,
                                       AccVariant* pvarChild) {
  return acc::Answer(pvarChild, FView, [&](AccVariant& hit) -> HResult {
    const ui::WindowHandle h = FView->WindowHandleIfAny();
    const ui::Point p{xLeft, yTop};
    if (!h || !ui::GetWindowScreenRect(h).Contains(p)) return S_FALSE;
    // WindowFromPoint skips hidden windows already.
    const ui::WindowHandle under = ui::WindowFromPoint(p);
    if (under && under != h && ui::IsChild(h, under)) {
      AccRef object;
      const HResult r = ui::AccObjectFromWindow(under, ui::OBJID_WINDOW, &object);
      hit = acc::ObjectOf(std::move(object));
      return r;
    }
    if (TKestItemViewer* v = FView->ViewerFromPoint(ui::ScreenToClient(h, p)))
      hit = acc::ObjectOf(v->GetAccObject());
    else
      hit = AccVariant::Self();
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
