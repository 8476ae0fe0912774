#pragma once
// Finding and starting the desktop's helper programs (xdg-open, zenity,
// kdialog) without a shell in between.
#include <optional>
#include <string>
#include <vector>

namespace kest::ui::x11 {

// The full path of a program found on $PATH, or empty.
std::string FindProgram(const std::string& name);

// Starts a program detached (it outlives us, leaves no zombie); false when
// it could not be started.
bool SpawnDetached(const std::string& path, const std::vector<std::string>& args);

// A running program whose standard output we read.
struct Child {
  int pid = -1;
  int out = -1; // read end of its standard output
};
std::optional<Child> SpawnReading(const std::string& path, const std::vector<std::string>& args);
// Reads what is available without waiting; true once the output ended.
bool ReadSome(Child& c, std::string& into);
// Waits for the program's end; its exit status (-1 when it did not exit).
int Reap(Child& c);

} // namespace kest::ui::x11
