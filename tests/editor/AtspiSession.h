#pragma once
// A private session bus with the desktop's accessibility bus on it, as a
// desktop with a screen reader has them, for the time of one test; and the
// screen reader's stand-in, a Python AT-SPI client.
#include <sys/types.h>

#include <string>
#include <vector>

namespace kest::x11test {

// Debian's AT-SPI binding belongs to the system's interpreter.
inline constexpr const char* kSystemPython = "/usr/bin/python3";

class AtspiSession {
public:
  AtspiSession();
  ~AtspiSession();
  AtspiSession(const AtspiSession&) = delete;
  AtspiSession& operator=(const AtspiSession&) = delete;

  // Empty when all is running, else why it is not.
  const std::string& Missing() const { return fMissing; }

private:
  std::string fMissing;
  pid_t fDaemon = 0;
  pid_t fLauncher = 0;
  std::string fOldAddress;
  bool fHadAddress = false;
};

// Starts a program (found on the path); 0 when it could not start.
pid_t Spawn(const std::vector<std::string>& args);
// Whether it has ended (reaped), without waiting.
bool Ended(pid_t pid, int* status = nullptr);
void Stop(pid_t pid);

} // namespace kest::x11test
