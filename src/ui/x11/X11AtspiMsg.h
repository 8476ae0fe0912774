#pragma once
// Small writers for D-Bus message bodies, as the bridge's answers and
// signals need them.
#include <dbus/dbus.h>

#include <cstdint>
#include <string>

namespace kest::ui::x11::atspi {

inline void PutString(DBusMessageIter* it, const std::string& s) {
  const char* p = s.c_str();
  dbus_message_iter_append_basic(it, DBUS_TYPE_STRING, &p);
}
inline void PutInt(DBusMessageIter* it, std::int32_t v) {
  dbus_int32_t x = v;
  dbus_message_iter_append_basic(it, DBUS_TYPE_INT32, &x);
}
inline void PutUint(DBusMessageIter* it, std::uint32_t v) {
  dbus_uint32_t x = v;
  dbus_message_iter_append_basic(it, DBUS_TYPE_UINT32, &x);
}
inline void PutBool(DBusMessageIter* it, bool v) {
  dbus_bool_t x = v ? TRUE : FALSE;
  dbus_message_iter_append_basic(it, DBUS_TYPE_BOOLEAN, &x);
}
// A reference to an object: (bus name, path).
inline void PutRef(DBusMessageIter* it, const std::string& name, const std::string& path) {
  DBusMessageIter s;
  dbus_message_iter_open_container(it, DBUS_TYPE_STRUCT, nullptr, &s);
  PutString(&s, name);
  const char* p = path.c_str();
  dbus_message_iter_append_basic(&s, DBUS_TYPE_OBJECT_PATH, &p);
  dbus_message_iter_close_container(it, &s);
}

// Opens a container, lets fill write into it, closes it.
template <class F>
void Container(DBusMessageIter* it, int type, const char* signature, F&& fill) {
  DBusMessageIter sub;
  dbus_message_iter_open_container(it, type, signature, &sub);
  fill(&sub);
  dbus_message_iter_close_container(it, &sub);
}

} // namespace kest::ui::x11::atspi
