#include "AtspiSession.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace kest::x11test {

namespace {

constexpr const char* kLauncher = "/usr/libexec/at-spi-bus-launcher";

bool Run(const std::string& command) {
  return std::system(command.c_str()) == 0;
}

} // namespace

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

bool Ended(pid_t pid, int* status) {
  int s = 0;
  const pid_t r = waitpid(pid, &s, WNOHANG);
  if (r == pid && status) *status = s;
  return r == pid || r < 0;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 100 && !Ended(pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

AtspiSession::AtspiSession() {
  if (access(kLauncher, X_OK) != 0 || !Run("/usr/bin/python3 -c 'import pyatspi' 2>/dev/null")) {
    fMissing = "at-spi2-core or python3-pyatspi is not installed";
    return;
  }
  FILE* p = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
  char address[512] = {}, pid[32] = {};
  const bool read = p && std::fgets(address, sizeof address, p) && std::fgets(pid, sizeof pid, p);
  if (p) pclose(p);
  if (!read) {
    fMissing = "no session bus could be started (dbus-daemon)";
    return;
  }
  fDaemon = static_cast<pid_t>(std::atoi(pid));
  std::string a = address;
  while (!a.empty() && (a.back() == '\n' || a.back() == '\r'))
    a.pop_back();
  if (const char* old = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
    fHadAddress = true;
    fOldAddress = old;
  }
  setenv("DBUS_SESSION_BUS_ADDRESS", a.c_str(), 1);
  unsetenv("AT_SPI_BUS_ADDRESS");
  fLauncher = Spawn({kLauncher, "--launch-immediately"});
  const std::string owned = "dbus-send --session --print-reply --dest=org.freedesktop.DBus "
                            "/org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "
                            "string:org.a11y.Bus 2>/dev/null | grep -q true";
  for (int i = 0; i < 100; ++i) {
    if (Run(owned)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  fMissing = "the accessibility bus did not come up";
}

AtspiSession::~AtspiSession() {
  Stop(fLauncher);
  if (fDaemon > 0) kill(fDaemon, SIGTERM);
  if (fHadAddress)
    setenv("DBUS_SESSION_BUS_ADDRESS", fOldAddress.c_str(), 1);
  else
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace kest::x11test
