// Finding the accessibility bus, joining it, and the signals the menus'
// window events become.
#include <cstdlib>

#include "X11Atspi.h"
#include "X11AtspiMsg.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui::x11 {

namespace {

constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
constexpr int kCallTimeoutMs = 1000;

DBusConnection* OpenBus(const char* address) {
  DBusError err;
  dbus_error_init(&err);
  DBusConnection* c = dbus_connection_open_private(address, &err);
  if (c && !dbus_bus_register(c, &err)) {
    dbus_connection_close(c);
    dbus_connection_unref(c);
    c = nullptr;
  }
  dbus_error_free(&err);
  if (c) dbus_connection_set_exit_on_disconnect(c, FALSE);
  return c;
}

void CloseBus(DBusConnection* c) {
  dbus_connection_close(c);
  dbus_connection_unref(c);
}

// The accessibility bus's address: given outright, or asked of the
// session bus's launcher when that is already running. Nothing is
// activated: a desktop without assistive technology stays as it is.
std::string AccessibilityBusAddress() {
  if (const char* a = std::getenv("AT_SPI_BUS_ADDRESS"); a && *a) return a;
  const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!session || !*session) return {};
  DBusConnection* c = OpenBus(session);
  if (!c) return {};
  std::string address;
  DBusError err;
  dbus_error_init(&err);
  if (dbus_bus_name_has_owner(c, "org.a11y.Bus", &err)) {
    DBusMessage* call =
        dbus_message_new_method_call("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
    if (DBusMessage* reply =
            dbus_connection_send_with_reply_and_block(c, call, kCallTimeoutMs, &err)) {
      const char* a = nullptr;
      if (dbus_message_get_args(reply, &err, DBUS_TYPE_STRING, &a, DBUS_TYPE_INVALID) && a)
        address = a;
      dbus_message_unref(reply);
    }
    dbus_message_unref(call);
  }
  dbus_error_free(&err);
  CloseBus(c);
  return address;
}

DBusHandlerResult OnMessage(DBusConnection*, DBusMessage* m, void* bridge) {
  if (dbus_message_get_type(m) != DBUS_MESSAGE_TYPE_METHOD_CALL)
    return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
  return static_cast<AtspiBridge*>(bridge)->HandleCall(m) ? DBUS_HANDLER_RESULT_HANDLED
                                                           : DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
}

const DBusObjectPathVTable kVTable = {nullptr, &OnMessage, nullptr, nullptr, nullptr, nullptr};

} // namespace

std::unique_ptr<AtspiBridge> AtspiBridge::Connect() {
  const std::string address = AccessibilityBusAddress();
  if (address.empty()) return nullptr;
  dbus_threads_init_default();
  DBusConnection* c = OpenBus(address.c_str());
  if (!c) return nullptr;
  std::unique_ptr<AtspiBridge> bridge(new AtspiBridge(c));
  if (!dbus_connection_register_fallback(c, "/org/a11y/atspi", &kVTable, bridge.get()) ||
      !bridge->Embed())
    return nullptr;
  return bridge;
}

AtspiBridge::AtspiBridge(DBusConnection* conn) : fConn(conn) {
  if (const char* n = dbus_bus_get_unique_name(conn)) fUniqueName = n;
}

AtspiBridge::~AtspiBridge() {
  ForgetObjects();
  dbus_connection_unregister_object_path(fConn, "/org/a11y/atspi");
  CloseBus(fConn);
}

// The registry adopts the application as a child of the desktop.
bool AtspiBridge::Embed() {
  DBusMessage* call = dbus_message_new_method_call("org.a11y.atspi.Registry", kRootPath,
                                                   "org.a11y.atspi.Socket", "Embed");
  DBusMessageIter it;
  dbus_message_iter_init_append(call, &it);
  atspi::PutRef(&it, fUniqueName, kRootPath);
  DBusError err;
  dbus_error_init(&err);
  DBusMessage* reply = dbus_connection_send_with_reply_and_block(fConn, call, kCallTimeoutMs, &err);
  dbus_message_unref(call);
  dbus_error_free(&err);
  if (!reply) return false;
  DBusMessageIter r, s;
  if (dbus_message_iter_init(reply, &r) && dbus_message_iter_get_arg_type(&r) == DBUS_TYPE_STRUCT) {
    dbus_message_iter_recurse(&r, &s);
    const char* name = nullptr;
    const char* path = nullptr;
    dbus_message_iter_get_basic(&s, &name);
    dbus_message_iter_next(&s);
    dbus_message_iter_get_basic(&s, &path);
    fDesktopName = name ? name : "";
    fDesktopPath = path ? path : "";
  }
  dbus_message_unref(reply);
  return true;
}

int AtspiBridge::Fd() const {
  int fd = -1;
  return dbus_connection_get_unix_fd(fConn, &fd) ? fd : -1;
}

void AtspiBridge::Dispatch() {
  dbus_connection_read_write(fConn, 0);
  while (dbus_connection_dispatch(fConn) == DBUS_DISPATCH_DATA_REMAINS) {
  }
  dbus_connection_flush(fConn);
}

bool AtspiBridge::Connected() const {
  return dbus_connection_get_is_connected(fConn);
}

std::string AtspiBridge::PathOf(const AccRef& object) {
  if (!object) return kRootPath;
  if (auto found = fPaths.find(object.get()); found != fPaths.end()) return found->second;
  std::string path = "/org/a11y/atspi/accessible/" + std::to_string(fNextId++);
  fPaths.emplace(object.get(), path);
  fObjects.emplace(path, object);
  return path;
}

bool AtspiBridge::ObjectAt(const char* path, AccRef& object, bool& isRoot) const {
  isRoot = path && std::string(path) == kRootPath;
  if (isRoot) return true;
  auto found = path ? fObjects.find(path) : fObjects.end();
  if (found == fObjects.end()) return false;
  object = found->second;
  return true;
}

void AtspiBridge::ForgetObjects() {
  fFocused = nullptr;
  fPaths.clear();
  fObjects.clear();
}

void AtspiBridge::EmitStateChanged(const AccRef& object, const char* state, bool on) {
  DBusMessage* sig =
      dbus_message_new_signal(PathOf(object).c_str(), "org.a11y.atspi.Event.Object", "StateChanged");
  DBusMessageIter it;
  dbus_message_iter_init_append(sig, &it);
  atspi::PutString(&it, state);
  atspi::PutInt(&it, on ? 1 : 0);
  atspi::PutInt(&it, 0);
  atspi::Container(&it, DBUS_TYPE_VARIANT, "i", [](DBusMessageIter* v) { atspi::PutInt(v, 0); });
  atspi::Container(&it, DBUS_TYPE_ARRAY, "{sv}", [](DBusMessageIter*) {});
  dbus_connection_send(fConn, sig, nullptr);
  dbus_message_unref(sig);
}

void AtspiBridge::EmitChildrenChanged(const AccRef& parent, const AccRef& child, bool added) {
  DBusMessage* sig = dbus_message_new_signal(PathOf(parent).c_str(), "org.a11y.atspi.Event.Object",
                                             "ChildrenChanged");
  DBusMessageIter it;
  dbus_message_iter_init_append(sig, &it);
  atspi::PutString(&it, added ? "add" : "remove");
  atspi::PutInt(&it, 0);
  atspi::PutInt(&it, 0);
  const std::string childPath = PathOf(child);
  atspi::Container(&it, DBUS_TYPE_VARIANT, "(so)",
                   [&](DBusMessageIter* v) { atspi::PutRef(v, fUniqueName, childPath); });
  atspi::Container(&it, DBUS_TYPE_ARRAY, "{sv}", [](DBusMessageIter*) {});
  dbus_connection_send(fConn, sig, nullptr);
  dbus_message_unref(sig);
}

void AtspiBridge::Event(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                        std::int32_t childId) {
  if (event == EVENT_SYSTEM_MENUEND) {
    // The menu's objects answer E_FAIL from now on: let them go.
    ForgetObjects();
    Dispatch();
    return;
  }
  if (objectId != OBJID_CLIENT) return;
  AccRef view;
  if (AccObjectFromWindow(h, OBJID_CLIENT, &view) != S_OK) return;
  AccRef parent;
  if (view->get_accParent(&parent) != S_OK) parent = nullptr; // a root menu: the application's
  switch (event) {
  case EVENT_SYSTEM_MENUPOPUPSTART:
    EmitChildrenChanged(parent, view, true);
    EmitStateChanged(view, "showing", true);
    break;
  case EVENT_SYSTEM_MENUPOPUPEND:
    EmitStateChanged(view, "showing", false);
    EmitChildrenChanged(parent, view, false);
    break;
  case EVENT_OBJECT_FOCUS: {
    AccRef item = view;
    if (childId > 0 && view->get_accChild(AccVariant::Int(childId), &item) != S_OK) return;
    if (fFocused && fFocused.get() != item.get()) {
      EmitStateChanged(fFocused, "focused", false);
      EmitStateChanged(fFocused, "selected", false);
    }
    fFocused = item;
    EmitStateChanged(item, "selected", true);
    EmitStateChanged(item, "focused", true);
    break;
  }
  default:
    break;
  }
  Dispatch();
}

} // namespace kest::ui::x11
