#pragma once
// A small tree of accessibility objects for the bridge's tests: a menu with
// items, each object counting itself so that leaked references show.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/windowing/Accessible.h"

namespace kest::ui::test {

class TestAcc final : public IAccessibleX {
public:
  static inline int live = 0;

  TestAcc(std::u16string name, std::int32_t role, std::int32_t state = 0)
      : name(std::move(name)), role(role), state(state) {
    ++live;
  }
  static AccRef Make(std::u16string name, std::int32_t role, std::int32_t state = 0) {
    return AccRef(new TestAcc(std::move(name), role, state));
  }
  static TestAcc* Of(const AccRef& r) { return static_cast<TestAcc*>(r.get()); }
  void Add(const AccRef& child) {
    Of(child)->parent = this;
    children.push_back(child);
  }

  std::u16string name;
  std::int32_t role;
  std::int32_t state;
  TestAcc* parent = nullptr;
  std::vector<AccRef> children;
  int defaultActions = 0;

  std::uint32_t AddRef() override { return ++fRefs; }
  std::uint32_t Release() override {
    const std::uint32_t left = --fRefs;
    if (left == 0) delete this;
    return left;
  }
  HResult GetTypeInfoCount(std::uint32_t* n) override {
    if (n) *n = 0;
    return E_NOTIMPL;
  }
  HResult GetTypeInfo() override { return E_NOTIMPL; }
  HResult GetIDsOfNames() override { return E_NOTIMPL; }
  HResult Invoke() override { return E_NOTIMPL; }

  HResult get_accParent(AccRef* p) override {
    *p = AccRef(parent);
    return parent ? S_OK : E_FAIL;
  }
  HResult get_accChildCount(std::int32_t* n) override {
    *n = static_cast<std::int32_t>(children.size());
    return S_OK;
  }
  HResult get_accChild(const AccVariant& v, AccRef* c) override {
    *c = nullptr;
    if (v.vt != AccVariant::Type::Int32 || v.lVal < 0 ||
        v.lVal > static_cast<std::int32_t>(children.size()))
      return E_INVALIDARG;
    *c = v.lVal == 0 ? AccRef(this) : children[static_cast<std::size_t>(v.lVal - 1)];
    return S_OK;
  }
  HResult get_accName(const AccVariant& v, std::u16string* s) override {
    return Self(v, [&] { *s = name; });
  }
  HResult get_accValue(const AccVariant&, std::u16string*) override {
    throw std::runtime_error("a fault inside the object");
  }
  HResult get_accDescription(const AccVariant&, std::u16string* s) override { return Empty(s); }
  HResult get_accRole(const AccVariant& v, AccVariant* r) override {
    return Self(v, [&] { *r = AccVariant::Int(role); });
  }
  HResult get_accState(const AccVariant& v, AccVariant* r) override {
    return Self(v, [&] { *r = AccVariant::Int(state); });
  }
  HResult get_accHelp(const AccVariant&, std::u16string* s) override { return Empty(s); }
  HResult get_accHelpTopic(std::u16string* s, const AccVariant&, std::int32_t* t) override {
    *t = 0;
    return Empty(s);
  }
  HResult get_accKeyboardShortcut(const AccVariant&, std::u16string* s) override {
    return Empty(s);
  }
  HResult get_accFocus(AccVariant* v) override {
    v->Clear();
    return S_FALSE;
  }
  HResult get_accSelection(AccVariant* v) override { return get_accFocus(v); }
  HResult get_accDefaultAction(const AccVariant&, std::u16string* s) override { return Empty(s); }
  HResult accSelect(std::int32_t, const AccVariant&) override { return DISP_E_MEMBERNOTFOUND; }
  HResult accLocation(std::int32_t* x, std::int32_t* y, std::int32_t* w, std::int32_t* h,
                      const AccVariant& v) override {
    return Self(v, [&] {
      *x = 10;
      *y = 20;
      *w = 120;
      *h = 18;
    });
  }
  HResult accNavigate(std::int32_t dir, const AccVariant&, AccVariant* out) override {
    out->Clear();
    if (dir != NAVDIR_FIRSTCHILD || children.empty()) return S_FALSE;
    *out = AccVariant::Object(children.front());
    return S_OK;
  }
  HResult accHitTest(std::int32_t, std::int32_t, AccVariant* out) override {
    *out = AccVariant::Self();
    return S_OK;
  }
  HResult accDoDefaultAction(const AccVariant& v) override {
    return Self(v, [&] { ++defaultActions; });
  }
  HResult put_accName(const AccVariant&, const std::u16string& s) override {
    name = s;
    return S_OK;
  }
  HResult put_accValue(const AccVariant&, const std::u16string&) override { return S_FALSE; }

private:
  ~TestAcc() { --live; }
  template <typename F> HResult Self(const AccVariant& v, F&& answer) {
    if (v.vt != AccVariant::Type::Int32 || v.lVal != CHILDID_SELF) return E_INVALIDARG;
    answer();
    return S_OK;
  }
  static HResult Empty(std::u16string* s) {
    s->clear();
    return S_FALSE;
  }
  std::uint32_t fRefs = 0;
};

// "Presets" with the items "Load" and "Save" (unavailable).
inline AccRef MakeMenu() {
  AccRef menu = TestAcc::Make(u"Presets", ROLE_SYSTEM_MENUPOPUP);
  TestAcc::Of(menu)->Add(TestAcc::Make(u"Load", ROLE_SYSTEM_MENUITEM));
  TestAcc::Of(menu)->Add(
      TestAcc::Make(u"Sav\u00e9", ROLE_SYSTEM_MENUITEM, STATE_SYSTEM_UNAVAILABLE));
  return menu;
}

} // namespace kest::ui::test
