// Our accessibility objects as COM IAccessible objects: every call is
// forwarded with its variants and strings converted, and no C++ error
// crosses into the caller.
#include "ui/win32/Win32Acc.h"

#include <atomic>
#include <new>

namespace kest::ui::win32 {

namespace {

template <typename Call> HRESULT Guarded(Call&& call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// A text answer: a string on success (S_FALSE answers carry none).
template <typename Call> HRESULT TextAnswer(BSTR* out, Call&& call) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    std::u16string text;
    const HRESULT r = call(&text);
    if (r == S_OK && !(*out = AllocBstr(text))) return E_OUTOFMEMORY;
    return r;
  });
}

template <typename Call> HRESULT VariantAnswer(VARIANT* out, Call&& call) noexcept {
  if (!out) return E_POINTER;
  out->vt = VT_EMPTY;
  return Guarded([&] {
    AccVariant value;
    const HRESULT r = call(&value);
    if (SUCCEEDED(r)) VariantFrom(std::move(value), out);
    return r;
  });
}

template <typename Call> HRESULT ObjectAnswer(IDispatch** out, Call&& call) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    AccRef object;
    const HRESULT r = call(&object);
    if (SUCCEEDED(r) && object) *out = WrapAccessible(std::move(object));
    return r;
  });
}

class ComAccessible final : public IAccessible {
public:
  ComAccessible(AccRef object, HWND window) : fObject(std::move(object)), fWindow(window) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++fRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --fRefs;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: our objects offer no type information.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    const HRESULT r = ObjectAnswer(parent, [&](AccRef* p) { return fObject->get_accParent(p); });
    if (SUCCEEDED(r) && *parent) return r;
    // Our top level knows no parent; the system's object for its window is it.
    const auto fromWindow = OleAcc().accessibleObjectFromWindow;
    if (!fWindow || !fromWindow || !Alive()) return r;
    return fromWindow(fWindow, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return Guarded([&] {
      std::int32_t n = 0;
      const HRESULT r = fObject->get_accChildCount(&n);
      *count = n;
      return r;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return ObjectAnswer(out,
                        [&](AccRef* p) { return fObject->get_accChild(AccVariantFrom(child), p); });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return TextAnswer(
        out, [&](std::u16string* s) { return fObject->get_accName(AccVariantFrom(child), s); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return TextAnswer(
        out, [&](std::u16string* s) { return fObject->get_accValue(AccVariantFrom(child), s); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return TextAnswer(out, [&](std::u16string* s) {
      return fObject->get_accDescription(AccVariantFrom(child), s);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return VariantAnswer(
        out, [&](AccVariant* v) { return fObject->get_accRole(AccVariantFrom(child), v); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return VariantAnswer(
        out, [&](AccVariant* v) { return fObject->get_accState(AccVariantFrom(child), v); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return TextAnswer(
        out, [&](std::u16string* s) { return fObject->get_accHelp(AccVariantFrom(child), s); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (!topic) return E_POINTER;
    *topic = 0;
    return TextAnswer(file, [&](std::u16string* s) {
      std::int32_t t = 0;
      const HRESULT r = fObject->get_accHelpTopic(s, AccVariantFrom(child), &t);
      *topic = t;
      return r;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return TextAnswer(out, [&](std::u16string* s) {
      return fObject->get_accKeyboardShortcut(AccVariantFrom(child), s);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    return VariantAnswer(out, [&](AccVariant* v) { return fObject->get_accFocus(v); });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return VariantAnswer(out, [&](AccVariant* v) { return fObject->get_accSelection(v); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return TextAnswer(out, [&](std::u16string* s) {
      return fObject->get_accDefaultAction(AccVariantFrom(child), s);
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return Guarded([&] { return fObject->accSelect(flags, AccVariantFrom(child)); });
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h,
                                        VARIANT child) override {
    if (!x || !y || !w || !h) return E_POINTER;
    *x = *y = *w = *h = 0;
    return Guarded([&] {
      std::int32_t l = 0, t = 0, cx = 0, cy = 0;
      const HRESULT r = fObject->accLocation(&l, &t, &cx, &cy, AccVariantFrom(child));
      *x = l;
      *y = t;
      *w = cx;
      *h = cy;
      return r;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* out) override {
    return VariantAnswer(
        out, [&](AccVariant* v) { return fObject->accNavigate(dir, AccVariantFrom(start), v); });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return VariantAnswer(out, [&](AccVariant* v) { return fObject->accHitTest(x, y, v); });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Guarded([&] { return fObject->accDoDefaultAction(AccVariantFrom(child)); });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return Guarded([&] { return fObject->put_accName(AccVariantFrom(child), BstrText(name)); });
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Guarded([&] { return fObject->put_accValue(AccVariantFrom(child), BstrText(value)); });
  }

private:
  ~ComAccessible() = default;

  // Whether our object still describes something (its menu may be gone).
  bool Alive() const noexcept {
    AccVariant role;
    return Guarded([&] { return fObject->get_accRole(AccVariant::Self(), &role); }) == S_OK;
  }

  std::atomic<ULONG> fRefs{1};
  AccRef fObject;
  HWND fWindow;
};

struct OleAut {
  BSTR(WINAPI* allocLen)(const OLECHAR*, UINT) = nullptr;
};

const OleAut& OleAutFunctions() {
  static const OleAut functions = [] {
    const HMODULE library = LoadSystemLibrary(L"oleaut32.dll");
    OleAut f;
    f.allocLen = SystemFunction<decltype(f.allocLen)>(library, "SysAllocStringLen");
    return f;
  }();
  return functions;
}

} // namespace

IAccessible* WrapAccessible(AccRef object, HWND window) {
  if (!object) return nullptr;
  return new ComAccessible(std::move(object), window);
}

AccVariant AccVariantFrom(const VARIANT& v) {
  switch (v.vt) {
  case VT_EMPTY:
    return {};
  case VT_I4:
    return AccVariant::Int(v.lVal);
  default:
    // Our objects take child ids as 32-bit integers only and refuse the rest.
    return {AccVariant::Type::Other, 0, nullptr};
  }
}

void VariantFrom(AccVariant a, VARIANT* out) {
  out->vt = VT_EMPTY;
  switch (a.vt) {
  case AccVariant::Type::Int32:
    out->vt = VT_I4;
    out->lVal = a.lVal;
    break;
  case AccVariant::Type::Dispatch:
    if (IAccessible* wrapped = WrapAccessible(std::move(a.pdispVal))) {
      out->vt = VT_DISPATCH;
      out->pdispVal = wrapped;
    }
    break;
  default:
    break;
  }
}

BSTR AllocBstr(std::u16string_view s) {
  const auto alloc = OleAutFunctions().allocLen;
  if (!alloc) return nullptr;
  std::wstring text(s.begin(), s.end());
  return alloc(text.c_str(), static_cast<UINT>(text.size()));
}

std::u16string BstrText(BSTR b) {
  if (!b) return {};
  // The length in bytes sits just before the characters.
  const UINT bytes = reinterpret_cast<const UINT*>(b)[-1];
  return std::u16string(b, b + bytes / sizeof(OLECHAR));
}

const OleAccFunctions& OleAcc() {
  static const OleAccFunctions functions = [] {
    const HMODULE library = LoadSystemLibrary(L"oleacc.dll");
    OleAccFunctions f;
    f.lresultFromObject =
        SystemFunction<decltype(f.lresultFromObject)>(library, "LresultFromObject");
    f.accessibleObjectFromWindow = SystemFunction<decltype(f.accessibleObjectFromWindow)>(
        library, "AccessibleObjectFromWindow");
    return f;
  }();
  return functions;
}

} // namespace kest::ui::win32
