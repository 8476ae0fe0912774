// Opening links and starting helper programs.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "ui/x11/X11Process.h"

extern char** environ;

namespace kest::ui::x11 {

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    std::string full(dirs, start, end - start);
    if (full.empty()) full.push_back('.');
    full.push_back('/');
    full.append(name);
    struct stat st {};
    if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0) {
      return full;
    }
    start = end + 1;
  }
  return {};
}

namespace {
std::vector<char*> Argv(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}
} // namespace

bool SpawnDetached(const std::string& path, const std::vector<std::string>& args) {
  if (path.empty()) return false;
  // A middle child starts the program and ends at once, so the program is
  // adopted by init and never becomes our zombie.
  const std::string self = "/bin/sh";
  std::vector<std::string> shArgs{"-c", "\"$0\" \"$@\" >/dev/null 2>&1 </dev/null &", path};
  shArgs.insert(shArgs.end(), args.begin(), args.end());
  auto argv = Argv(self, shArgs);
  pid_t pid = 0;
  if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::optional<Child> SpawnReading(const std::string& path, const std::vector<std::string>& args) {
  if (path.empty()) return std::nullopt;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  auto argv = Argv(path, args);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return std::nullopt;
  }
  fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  return Child{pid, fds[0]};
}

bool ReadSome(Child& c, std::string& into) {
  char buf[512];
  for (;;) {
    const ssize_t n = read(c.out, buf, sizeof buf);
    if (n > 0) {
      into.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (n == 0) return true;
    return errno != EAGAIN && errno != EINTR;
  }
}

int Reap(Child& c) {
  if (c.out >= 0) close(c.out);
  c.out = -1;
  int status = 0;
  while (waitpid(c.pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool X11Backend::OpenLink(std::string_view url, WindowHandle) {
  // Without xdg-open the caller falls back (the link goes to the clipboard).
  return SpawnDetached(FindProgram("xdg-open"), {std::string(url)});
}

} // namespace kest::ui::x11
