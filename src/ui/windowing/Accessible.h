#pragma once
// The accessibility interface of the window system, in the shape of the
// desktop platform's IAccessible: reference-counted objects that answer a
// client's queries about a window's contents with the platform's result
// codes, roles, states and child ids. Portable C++: a Win32 backend wraps
// the same objects in COM, the Linux bridge puts them on the desktop's
// accessibility bus.
#include <cstdint>
#include <string>
#include <utility>

#include "ui/windowing/Types.h"

namespace kest::ui {

using HResult = std::int32_t;
inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001);
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057);
inline constexpr HResult E_UNEXPECTED = static_cast<HResult>(0x8000FFFF);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = static_cast<HResult>(0x80020003);

inline constexpr std::uint32_t WM_GETOBJECT = 0x003D;
inline constexpr std::int32_t OBJID_WINDOW = 0;
inline constexpr std::int32_t OBJID_CLIENT = -4;
inline constexpr std::int32_t CHILDID_SELF = 0;

// Roles, states, navigation directions and selection flags, with the
// platform's values.
inline constexpr std::int32_t ROLE_SYSTEM_MENUBAR = 2;
inline constexpr std::int32_t ROLE_SYSTEM_MENUPOPUP = 11;
inline constexpr std::int32_t ROLE_SYSTEM_MENUITEM = 12;
inline constexpr std::int32_t ROLE_SYSTEM_SEPARATOR = 21;
inline constexpr std::int32_t ROLE_SYSTEM_TOOLBAR = 22;
inline constexpr std::int32_t ROLE_SYSTEM_STATICTEXT = 41;

inline constexpr std::int32_t STATE_SYSTEM_UNAVAILABLE = 0x1;
inline constexpr std::int32_t STATE_SYSTEM_FOCUSED = 0x4;
inline constexpr std::int32_t STATE_SYSTEM_PRESSED = 0x8;
inline constexpr std::int32_t STATE_SYSTEM_CHECKED = 0x10;
inline constexpr std::int32_t STATE_SYSTEM_HOTTRACKED = 0x80;
inline constexpr std::int32_t STATE_SYSTEM_INVISIBLE = 0x8000;
inline constexpr std::int32_t STATE_SYSTEM_FOCUSABLE = 0x100000;
inline constexpr std::int32_t STATE_SYSTEM_HASPOPUP = 0x40000000;

inline constexpr std::int32_t NAVDIR_UP = 1;
inline constexpr std::int32_t NAVDIR_DOWN = 2;
inline constexpr std::int32_t NAVDIR_LEFT = 3;
inline constexpr std::int32_t NAVDIR_RIGHT = 4;
inline constexpr std::int32_t NAVDIR_NEXT = 5;
inline constexpr std::int32_t NAVDIR_PREVIOUS = 6;
inline constexpr std::int32_t NAVDIR_FIRSTCHILD = 7;
inline constexpr std::int32_t NAVDIR_LASTCHILD = 8;

inline constexpr std::int32_t SELFLAG_TAKEFOCUS = 0x1;

// Window events for assistive technology.
inline constexpr std::uint32_t EVENT_SYSTEM_MENUSTART = 0x0004;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUEND = 0x0005;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUPOPUPSTART = 0x0006;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUPOPUPEND = 0x0007;
inline constexpr std::uint32_t EVENT_OBJECT_FOCUS = 0x8005;

class IAccessibleX;

// An owning reference to an accessibility object (AddRef on copy, Release
// at the end), so that no answer leaks a reference.
class AccRef {
public:
  AccRef() = default;
  AccRef(std::nullptr_t) {}
  // Takes a new reference to p.
  explicit AccRef(IAccessibleX* p);
  // Adopts a reference the caller already holds.
  static AccRef Adopt(IAccessibleX* p) {
    AccRef r;
    r.fP = p;
    return r;
  }
  AccRef(const AccRef& o) : AccRef(o.fP) {}
  AccRef(AccRef&& o) noexcept : fP(std::exchange(o.fP, nullptr)) {}
  AccRef& operator=(AccRef o) noexcept {
    std::swap(fP, o.fP);
    return *this;
  }
  ~AccRef();
  IAccessibleX* get() const { return fP; }
  IAccessibleX* operator->() const { return fP; }
  explicit operator bool() const { return fP != nullptr; }
  // Hands the reference to the caller.
  IAccessibleX* Detach() { return std::exchange(fP, nullptr); }

private:
  IAccessibleX* fP = nullptr;
};

// The platform's variant as far as these calls use it: nothing, a 32-bit
// integer, an object, or another type (which child-id checks refuse).
struct AccVariant {
  enum class Type : std::uint8_t { Empty, Int32, Dispatch, Other };
  Type vt = Type::Empty;
  std::int32_t lVal = 0;
  AccRef pdispVal;

  static AccVariant Int(std::int32_t v) { return {Type::Int32, v, nullptr}; }
  static AccVariant Object(AccRef p) { return {Type::Dispatch, 0, std::move(p)}; }
  static AccVariant Self() { return Int(CHILDID_SELF); }
  void Clear() { *this = AccVariant{}; }
};

// The operations in the platform interface's order. Text outputs are
// UTF-16; outputs are cleared before anything else.
class IAccessibleX {
public:
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

  // The dispatch part of the platform's interface, which these objects do
  // not offer.
  virtual HResult GetTypeInfoCount(std::uint32_t* pctinfo) = 0;
  virtual HResult GetTypeInfo() = 0;
  virtual HResult GetIDsOfNames() = 0;
  virtual HResult Invoke() = 0;

  virtual HResult get_accParent(AccRef* ppdispParent) = 0;
  virtual HResult get_accChildCount(std::int32_t* pcountChildren) = 0;
  virtual HResult get_accChild(const AccVariant& varChild, AccRef* ppdispChild) = 0;
  virtual HResult get_accName(const AccVariant& varChild, std::u16string* pszName) = 0;
  virtual HResult get_accValue(const AccVariant& varChild, std::u16string* pszValue) = 0;
  virtual HResult get_accDescription(const AccVariant& varChild, std::u16string* pszDescription) = 0;
  virtual HResult get_accRole(const AccVariant& varChild, AccVariant* pvarRole) = 0;
  virtual HResult get_accState(const AccVariant& varChild, AccVariant* pvarState) = 0;
  virtual HResult get_accHelp(const AccVariant& varChild, std::u16string* pszHelp) = 0;
  virtual HResult get_accHelpTopic(std::u16string* pszHelpFile, const AccVariant& varChild,
                                   std::int32_t* pidTopic) = 0;
  virtual HResult get_accKeyboardShortcut(const AccVariant& varChild,
                                          std::u16string* pszKeyboardShortcut) = 0;
  virtual HResult get_accFocus(AccVariant* pvarChild) = 0;
  virtual HResult get_accSelection(AccVariant* pvarChildren) = 0;
  virtual HResult get_accDefaultAction(const AccVariant& varChild,
                                       std::u16string* pszDefaultAction) = 0;
  virtual HResult accSelect(std::int32_t flagsSelect, const AccVariant& varChild) = 0;
  virtual HResult accLocation(std::int32_t* pxLeft, std::int32_t* pyTop, std::int32_t* pcxWidth,
                              std::int32_t* pcyHeight, const AccVariant& varChild) = 0;
  virtual HResult accNavigate(std::int32_t navDir, const AccVariant& varStart,
                              AccVariant* pvarEndUpAt) = 0;
  virtual HResult accHitTest(std::int32_t xLeft, std::int32_t yTop, AccVariant* pvarChild) = 0;
  virtual HResult accDoDefaultAction(const AccVariant& varChild) = 0;
  virtual HResult put_accName(const AccVariant& varChild, const std::u16string& szName) = 0;
  virtual HResult put_accValue(const AccVariant& varChild, const std::u16string& szValue) = 0;

protected:
  ~IAccessibleX() = default;
};

// A window answers WM_GETOBJECT (wParam: flags, lParam: object id) with
// LresultFromObject of its object, which hands the asker one reference;
// ObjectFromLresult takes it back. 0 means the window has no such object.
LResult LresultFromObject(IAccessibleX* object);
AccRef ObjectFromLresult(LResult result);
// The object a window gives for an object id (OBJID_CLIENT: its contents),
// through WM_GETOBJECT; E_FAIL when it has none.
HResult AccObjectFromWindow(WindowHandle h, std::int32_t objectId, AccRef* object);

// Sends a window event to whatever listens for them (the display backend).
void NotifyWinEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                    std::int32_t childId);

} // namespace kest::ui
