#pragma once
// The bridge to the desktop's accessibility bus (AT-SPI 2 over D-Bus),
// through which screen readers such as Orca read the menus. It speaks the
// few interfaces a menu needs (Accessible, Component, Action, Application)
// straight over libdbus, answered from the window system's accessibility
// objects, and turns the menus' window events into AT-SPI signals. It is
// serviced from the backend's own waiting, so no toolkit main loop enters
// the host's process; where no accessibility bus runs it never starts.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ui/windowing/Accessible.h"

struct DBusConnection;
struct DBusMessage;

namespace kest::ui::x11 {

class AtspiBridge {
public:
  // Connects when an accessibility bus runs (none is started); null else.
  static std::unique_ptr<AtspiBridge> Connect();
  ~AtspiBridge();
  AtspiBridge(const AtspiBridge&) = delete;
  AtspiBridge& operator=(const AtspiBridge&) = delete;

  // The connection's descriptor, for the backend's poll.
  int Fd() const;
  // Reads what arrived and answers every waiting call, without blocking.
  void Dispatch();
  // False once the bus has gone away (the bridge is then of no use).
  bool Connected() const;
  // A window event of the menus (NotifyWinEvent).
  void Event(std::uint32_t event, WindowHandle h, std::int32_t objectId, std::int32_t childId);

  // Answers one call to one of our objects; false when the path is not ours.
  bool HandleCall(DBusMessage* call);

private:
  explicit AtspiBridge(DBusConnection* conn);
  bool Embed();

  // Objects by path and paths by object; the root (the application) is
  // the null reference.
  std::string PathOf(const AccRef& object);
  bool ObjectAt(const char* path, AccRef& object, bool& isRoot) const;
  void ForgetObjects();
  void EmitStateChanged(const AccRef& object, const char* state, bool on);
  void EmitChildrenChanged(const AccRef& parent, const AccRef& child, bool added);

  friend struct AtspiCall;
  DBusConnection* fConn;
  std::string fUniqueName;
  std::string fDesktopName;
  std::string fDesktopPath;
  std::int32_t fAppId = 0;
  std::uint32_t fNextId = 1;
  std::map<std::string, AccRef> fObjects;
  std::map<IAccessibleX*, std::string> fPaths;
  AccRef fFocused;
};

} // namespace kest::ui::x11
