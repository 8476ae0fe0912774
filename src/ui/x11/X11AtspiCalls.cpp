// The AT-SPI calls a screen reader makes on the application and its menus,
// answered from the window system's accessibility objects.
#include <cstring>
#include <vector>

#include "X11Atspi.h"
#include "X11AtspiMsg.h"
#include "ui/gfx/Utf.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui::x11 {

namespace {

// AT-SPI roles and states, with the protocol's numbers.
enum : std::uint32_t {
  kRoleCheckMenuItem = 8,
  kRoleLabel = 29,
  kRoleMenu = 33,
  kRoleMenuBar = 34,
  kRoleMenuItem = 35,
  kRoleSeparator = 50,
  kRoleToolBar = 63,
  kRoleUnknown = 67,
  kRoleApplication = 75,
};
enum : std::uint32_t {
  kStateArmed = 2,
  kStateChecked = 4,
  kStateEnabled = 8,
  kStateFocusable = 11,
  kStateFocused = 12,
  kStatePressed = 20,
  kStateSelectable = 22,
  kStateSelected = 23,
  kStateSensitive = 24,
  kStateShowing = 25,
  kStateVisible = 30,
  kStateCheckable = 41,
  kStateHasPopup = 42,
};
constexpr std::uint32_t kLayerPopup = 5;

const char* RoleName(std::uint32_t role) {
  switch (role) {
  case kRoleCheckMenuItem: return "check menu item";
  case kRoleLabel: return "label";
  case kRoleMenu: return "menu";
  case kRoleMenuBar: return "menu bar";
  case kRoleMenuItem: return "menu item";
  case kRoleSeparator: return "separator";
  case kRoleToolBar: return "tool bar";
  case kRoleApplication: return "application";
  default: return "unknown";
  }
}

std::int32_t MsaaState(const AccRef& o) {
  AccVariant v;
  return o->get_accState(AccVariant::Self(), &v) == S_OK ? v.lVal : 0;
}

} // namespace

// One call: the object it names and the ways to answer it.
struct AtspiCall {
  AtspiBridge& bridge;
  DBusMessage* msg;
  AccRef object; // null for the application
  bool isRoot = false;

  bool Is(const char* iface, const char* member) const {
    return dbus_message_is_method_call(msg, iface, member);
  }
  std::int32_t IntArg(int index = 0) const {
    DBusMessageIter it;
    dbus_int32_t v = 0;
    if (!dbus_message_iter_init(msg, &it)) return 0;
    for (int i = 0; i < index && dbus_message_iter_next(&it); ++i) {
    }
    if (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_INT32) dbus_message_iter_get_basic(&it, &v);
    return v;
  }
  template <class F>
  void Reply(F&& fill) {
    DBusMessage* r = dbus_message_new_method_return(msg);
    DBusMessageIter it;
    dbus_message_iter_init_append(r, &it);
    fill(&it);
    dbus_connection_send(bridge.fConn, r, nullptr);
    dbus_message_unref(r);
  }
  void Error(const char* name, const char* text) {
    DBusMessage* r = dbus_message_new_error(msg, name, text);
    dbus_connection_send(bridge.fConn, r, nullptr);
    dbus_message_unref(r);
  }
  void Ref(DBusMessageIter* it, const AccRef& o) {
    atspi::PutRef(it, bridge.fUniqueName, bridge.PathOf(o));
  }

  // What the object is, in AT-SPI's terms.
  std::string Name() const {
    if (isRoot) return "Kestrelphon";
    std::u16string s;
    object->get_accName(AccVariant::Self(), &s);
    return Utf16ToUtf8(s.substr(0, s.find(u'\t'))); // the shortcut is the action's key binding
  }
  std::uint32_t Role() const {
    if (isRoot) return kRoleApplication;
    AccVariant v;
    if (object->get_accRole(AccVariant::Self(), &v) != S_OK) return kRoleUnknown;
    switch (v.lVal) {
    case ROLE_SYSTEM_MENUPOPUP: return kRoleMenu;
    case ROLE_SYSTEM_MENUBAR: return kRoleMenuBar;
    case ROLE_SYSTEM_TOOLBAR: return kRoleToolBar;
    case ROLE_SYSTEM_SEPARATOR: return kRoleSeparator;
    case ROLE_SYSTEM_STATICTEXT: return kRoleLabel;
    case ROLE_SYSTEM_MENUITEM:
      return (MsaaState(object) & STATE_SYSTEM_CHECKED) ? kRoleCheckMenuItem : kRoleMenuItem;
    default: return kRoleUnknown;
    }
  }
  std::vector<std::uint32_t> States() const {
    std::vector<std::uint32_t> s;
    if (isRoot) return s;
    const std::int32_t m = MsaaState(object);
    const bool usable = !(m & STATE_SYSTEM_UNAVAILABLE);
    if (usable) s.insert(s.end(), {kStateEnabled, kStateSensitive});
    if (!(m & STATE_SYSTEM_INVISIBLE)) s.insert(s.end(), {kStateVisible, kStateShowing});
    // Separators and disabled items cannot take the focus, whatever the window can.
    if (usable && (m & STATE_SYSTEM_FOCUSABLE))
      s.insert(s.end(), {kStateFocusable, kStateSelectable});
    if (m & STATE_SYSTEM_HOTTRACKED) s.insert(s.end(), {kStateSelected, kStateArmed});
    if (m & STATE_SYSTEM_FOCUSED) s.push_back(kStateFocused);
    if (m & STATE_SYSTEM_PRESSED) s.push_back(kStatePressed);
    if (m & STATE_SYSTEM_CHECKED) s.insert(s.end(), {kStateChecked, kStateCheckable});
    if (m & STATE_SYSTEM_HASPOPUP) s.push_back(kStateHasPopup);
    return s;
  }
  std::vector<AccRef> Children() const {
    std::vector<AccRef> out;
    if (isRoot) {
      // The menus open at the top: windows with a client object and no
      // item above them.
      for (WindowHandle h : GetTopLevelWindows()) {
        AccRef menu, above;
        if (IsWindowVisible(h) && AccObjectFromWindow(h, OBJID_CLIENT, &menu) == S_OK &&
            menu->get_accParent(&above) != S_OK)
          out.push_back(menu);
      }
      return out;
    }
    std::int32_t n = 0;
    object->get_accChildCount(&n);
    for (std::int32_t i = 1; i <= n; ++i) {
      AccRef c;
      if (object->get_accChild(AccVariant::Int(i), &c) == S_OK && c) out.push_back(c);
    }
    return out;
  }
  // Null with isParentRoot: the application; false for the application itself.
  bool Parent(AccRef& parent) const {
    if (isRoot) return false;
    if (object->get_accParent(&parent) != S_OK) parent = nullptr;
    return true;
  }
  std::string DefaultAction() const {
    std::u16string s;
    if (isRoot || object->get_accDefaultAction(AccVariant::Self(), &s) != S_OK) return {};
    return Utf16ToUtf8(s);
  }
  std::string KeyBinding() const {
    std::u16string s;
    if (isRoot) return {};
    object->get_accKeyboardShortcut(AccVariant::Self(), &s);
    return Utf16ToUtf8(s);
  }
  Rect Extents() const {
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    if (!isRoot) object->accLocation(&x, &y, &w, &h, AccVariant::Self());
    return {x, y, x + w, y + h};
  }

  void ParentRef(DBusMessageIter* it) {
    AccRef parent;
    if (Parent(parent))
      Ref(it, parent);
    else
      atspi::PutRef(it, bridge.fDesktopName, bridge.fDesktopPath);
  }
  bool Property(DBusMessageIter* it, const std::string& name);
  bool Accessible();
  bool Component();
  bool Action();
};

// One property as a variant; false when the object has no such property.
bool AtspiCall::Property(DBusMessageIter* it, const std::string& name) {
  auto variant = [&](const char* sig, auto&& fill) {
    atspi::Container(it, DBUS_TYPE_VARIANT, sig, fill);
    return true;
  };
  if (name == "Name") return variant("s", [&](DBusMessageIter* v) { atspi::PutString(v, Name()); });
  if (name == "Description" || name == "Locale" || name == "AccessibleId" ||
      name == "HelpText")
    return variant("s", [&](DBusMessageIter* v) { atspi::PutString(v, ""); });
  if (name == "Parent") return variant("(so)", [&](DBusMessageIter* v) { ParentRef(v); });
  if (name == "ChildCount")
    return variant("i", [&](DBusMessageIter* v) {
      atspi::PutInt(v, static_cast<std::int32_t>(Children().size()));
    });
  if (name == "NActions" && !isRoot)
    return variant("i", [&](DBusMessageIter* v) { atspi::PutInt(v, DefaultAction().empty() ? 0 : 1); });
  if (!isRoot) return false;
  if (name == "ToolkitName")
    return variant("s", [&](DBusMessageIter* v) { atspi::PutString(v, "Kestrelphon"); });
  if (name == "Version")
    return variant("s", [&](DBusMessageIter* v) { atspi::PutString(v, "1"); });
  if (name == "AtspiVersion")
    return variant("s", [&](DBusMessageIter* v) { atspi::PutString(v, "2.1"); });
  if (name == "Id") return variant("i", [&](DBusMessageIter* v) { atspi::PutInt(v, bridge.fAppId); });
  return false;
}

bool AtspiCall::Accessible() {
  constexpr const char* I = "org.a11y.atspi.Accessible";
  if (Is(I, "GetRole")) {
    Reply([&](DBusMessageIter* it) { atspi::PutUint(it, Role()); });
  } else if (Is(I, "GetRoleName") || Is(I, "GetLocalizedRoleName")) {
    Reply([&](DBusMessageIter* it) { atspi::PutString(it, RoleName(Role())); });
  } else if (Is(I, "GetState")) {
    std::uint32_t words[2] = {0, 0};
    for (std::uint32_t s : States())
      words[s / 32] |= 1u << (s % 32);
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "u", [&](DBusMessageIter* a) {
        atspi::PutUint(a, words[0]);
        atspi::PutUint(a, words[1]);
      });
    });
  } else if (Is(I, "GetChildAtIndex")) {
    const auto children = Children();
    const std::int32_t i = IntArg();
    if (i < 0 || i >= static_cast<std::int32_t>(children.size())) {
      Error(DBUS_ERROR_INVALID_ARGS, "no such child");
      return true;
    }
    Reply([&](DBusMessageIter* it) { Ref(it, children[static_cast<std::size_t>(i)]); });
  } else if (Is(I, "GetChildren")) {
    const auto children = Children();
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "(so)", [&](DBusMessageIter* a) {
        for (const auto& c : children)
          Ref(a, c);
      });
    });
  } else if (Is(I, "GetIndexInParent")) {
    std::int32_t index = -1;
    AccRef parent;
    if (Parent(parent)) {
      AtspiCall up{bridge, msg, parent, !parent};
      const auto siblings = up.Children();
      for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == object.get()) index = static_cast<std::int32_t>(i);
    }
    Reply([&](DBusMessageIter* it) { atspi::PutInt(it, index); });
  } else if (Is(I, "GetApplication")) {
    Reply([&](DBusMessageIter* it) { Ref(it, nullptr); });
  } else if (Is(I, "GetAttributes")) {
    Reply([&](DBusMessageIter* it) { atspi::Container(it, DBUS_TYPE_ARRAY, "{ss}", [](auto*) {}); });
  } else if (Is(I, "GetRelationSet")) {
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "(ua(so))", [](auto*) {});
    });
  } else if (Is(I, "GetInterfaces")) {
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "s", [&](DBusMessageIter* a) {
        atspi::PutString(a, I);
        atspi::PutString(a, isRoot ? "org.a11y.atspi.Application" : "org.a11y.atspi.Component");
        if (!isRoot) atspi::PutString(a, "org.a11y.atspi.Action");
      });
    });
  } else {
    return false;
  }
  return true;
}

bool AtspiCall::Component() {
  constexpr const char* I = "org.a11y.atspi.Component";
  if (isRoot) return false;
  // Menus are top-level windows: their screen and window coordinates
  // are both given on the screen.
  const Rect r = Extents();
  if (Is(I, "GetExtents")) {
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_STRUCT, nullptr, [&](DBusMessageIter* s) {
        for (int v : {r.left, r.top, r.Width(), r.Height()})
          atspi::PutInt(s, v);
      });
    });
  } else if (Is(I, "GetPosition") || Is(I, "GetSize")) {
    const bool pos = Is(I, "GetPosition");
    Reply([&](DBusMessageIter* it) {
      atspi::PutInt(it, pos ? r.left : r.Width());
      atspi::PutInt(it, pos ? r.top : r.Height());
    });
  } else if (Is(I, "Contains")) {
    const bool in = r.Contains({IntArg(0), IntArg(1)});
    Reply([&](DBusMessageIter* it) { atspi::PutBool(it, in); });
  } else if (Is(I, "GetAccessibleAtPoint")) {
    AccVariant hit;
    object->accHitTest(IntArg(0), IntArg(1), &hit);
    const bool self = hit.vt == AccVariant::Type::Int32;
    const bool found = self || hit.pdispVal;
    Reply([&](DBusMessageIter* it) {
      if (found)
        Ref(it, self ? object : hit.pdispVal);
      else
        atspi::PutRef(it, "", "/org/a11y/atspi/null");
    });
  } else if (Is(I, "GetLayer")) {
    Reply([&](DBusMessageIter* it) { atspi::PutUint(it, kLayerPopup); });
  } else if (Is(I, "GetMDIZOrder")) {
    Reply([&](DBusMessageIter* it) {
      dbus_int16_t z = 0;
      dbus_message_iter_append_basic(it, DBUS_TYPE_INT16, &z);
    });
  } else if (Is(I, "GrabFocus")) {
    const bool ok = object->accSelect(SELFLAG_TAKEFOCUS, AccVariant::Self()) == S_OK;
    Reply([&](DBusMessageIter* it) { atspi::PutBool(it, ok); });
  } else if (Is(I, "GetAlpha")) {
    Reply([&](DBusMessageIter* it) {
      double a = 1.0;
      dbus_message_iter_append_basic(it, DBUS_TYPE_DOUBLE, &a);
    });
  } else {
    return false;
  }
  return true;
}

bool AtspiCall::Action() {
  constexpr const char* I = "org.a11y.atspi.Action";
  if (isRoot) return false;
  const std::string action = DefaultAction();
  if (Is(I, "GetName") || Is(I, "GetLocalizedName")) {
    Reply([&](DBusMessageIter* it) { atspi::PutString(it, IntArg() == 0 ? action : ""); });
  } else if (Is(I, "GetDescription")) {
    Reply([&](DBusMessageIter* it) { atspi::PutString(it, ""); });
  } else if (Is(I, "GetKeyBinding")) {
    Reply([&](DBusMessageIter* it) { atspi::PutString(it, IntArg() == 0 ? KeyBinding() : ""); });
  } else if (Is(I, "GetActions")) {
    const std::string key = KeyBinding();
    Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "(sss)", [&](DBusMessageIter* a) {
        if (action.empty()) return;
        atspi::Container(a, DBUS_TYPE_STRUCT, nullptr, [&](DBusMessageIter* s) {
          atspi::PutString(s, action);
          atspi::PutString(s, "");
          atspi::PutString(s, key);
        });
      });
    });
  } else if (Is(I, "DoAction")) {
    const bool ok =
        IntArg() == 0 && object->accDoDefaultAction(AccVariant::Self()) == S_OK;
    Reply([&](DBusMessageIter* it) { atspi::PutBool(it, ok); });
  } else {
    return false;
  }
  return true;
}

bool AtspiBridge::HandleCall(DBusMessage* m) {
  const char* path = dbus_message_get_path(m);
  AtspiCall call{*this, m, nullptr};
  if (path && std::strcmp(path, "/org/a11y/atspi/cache") == 0) {
    // Nothing is cached ahead: clients ask each object.
    call.Reply([](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "((so)(so)(so)iiassusau)", [](auto*) {});
    });
    return true;
  }
  if (!ObjectAt(path, call.object, call.isRoot)) {
    call.Error(DBUS_ERROR_UNKNOWN_OBJECT, "the menu has closed");
    return true;
  }
  constexpr const char* P = DBUS_INTERFACE_PROPERTIES;
  if (call.Is(P, "Get")) {
    const char* iface = nullptr;
    const char* prop = nullptr;
    DBusError err;
    dbus_error_init(&err);
    const bool args = dbus_message_get_args(m, &err, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING,
                                            &prop, DBUS_TYPE_INVALID);
    dbus_error_free(&err);
    DBusMessage* r = dbus_message_new_method_return(m);
    DBusMessageIter it;
    dbus_message_iter_init_append(r, &it);
    if (args && call.Property(&it, prop)) {
      dbus_connection_send(fConn, r, nullptr);
    } else {
      call.Error(DBUS_ERROR_UNKNOWN_PROPERTY, "no such property");
    }
    dbus_message_unref(r);
  } else if (call.Is(P, "GetAll")) {
    call.Reply([&](DBusMessageIter* it) {
      atspi::Container(it, DBUS_TYPE_ARRAY, "{sv}", [&](DBusMessageIter* a) {
        for (const char* name : {"Name", "Description", "Parent", "ChildCount"}) {
          atspi::Container(a, DBUS_TYPE_DICT_ENTRY, nullptr, [&](DBusMessageIter* e) {
            atspi::PutString(e, name);
            call.Property(e, name);
          });
        }
      });
    });
  } else if (call.Is(P, "Set")) {
    // The registry numbers the application.
    DBusMessageIter it, v;
    if (call.isRoot && dbus_message_iter_init(m, &it) && dbus_message_iter_next(&it) &&
        dbus_message_iter_next(&it) && dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
      dbus_message_iter_recurse(&it, &v);
      if (dbus_message_iter_get_arg_type(&v) == DBUS_TYPE_INT32)
        dbus_message_iter_get_basic(&v, &fAppId);
    }
    call.Reply([](DBusMessageIter*) {});
  } else if (call.Is("org.a11y.atspi.Application", "GetLocale")) {
    call.Reply([](DBusMessageIter* it) { atspi::PutString(it, ""); });
  } else if (!call.Accessible() && !call.Component() && !call.Action()) {
    call.Error(DBUS_ERROR_UNKNOWN_METHOD, "not offered");
  }
  return true;
}

} // namespace kest::ui::x11
