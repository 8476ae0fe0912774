#include "ModuleChoice.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace kest::host {

std::string DefaultModulePath(const char* argv0, const std::string& builtPath) {
  namespace fs = std::filesystem;
  std::error_code ec;
#if defined(_WIN32)
  const fs::path self = argv0 != nullptr ? argv0 : "";
  const char* const file = "Kestrelphon.dll";
  // A build tree (build/tools/<tool>/<program>.exe), else beside the program.
  std::vector<fs::path> candidates{self.parent_path() / ".." / ".." / file,
                                   self.parent_path() / file};
#else
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = argv0 != nullptr ? argv0 : "";
  const char* const file = "Kestrelphon.so";
  std::vector<fs::path> candidates{// A build tree, also when moved: build/tools/<tool>/<program>.
                                   self.parent_path() / ".." / ".." / file,
                                   // An installation: <prefix>/bin/<program>.
                                   self.parent_path() / ".." / "lib" / "lxvst" / file};
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    candidates.push_back(fs::path(home) / ".vst" / file);
#endif
  for (const fs::path& p : candidates) {
    if (fs::exists(p, ec)) return p.lexically_normal().string();
  }
  return builtPath;
}

namespace {

std::optional<int32_t> WholeNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || v != static_cast<double>(static_cast<long long>(v)) ||
      v < -1e9 || v > 1e9) {
    return std::nullopt;
  }
  return static_cast<int32_t>(v);
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

} // namespace

void SelectProgram(VstHost& host, const std::string& wanted, const std::string& hint) {
  AEffect* e = host.Effect();
  if (e == nullptr || e->numPrograms <= 0)
    throw std::runtime_error("the plug-in has no programs to select");
  std::optional<int32_t> chosen = WholeNumber(wanted);
  if (chosen && (*chosen < 0 || *chosen >= e->numPrograms)) {
    throw std::runtime_error("there is no program " + wanted + " (0 to " +
                             std::to_string(e->numPrograms - 1) + ")");
  }
  for (int pass = 0; pass < 2 && !chosen; ++pass) {
    for (int32_t i = 0; i < e->numPrograms && !chosen; ++i) {
      const std::string name = host.ProgramNameIndexed(i);
      if (pass == 0 ? name == wanted : Lower(name) == Lower(wanted)) chosen = i;
    }
  }
  if (!chosen) throw std::runtime_error("unknown preset \"" + wanted + "\"" + hint);
  host.Dispatch(effSetProgram, 0, *chosen);
  if (host.Dispatch(effGetProgram) != *chosen)
    throw std::runtime_error("the plug-in did not select program " + std::to_string(*chosen));
}

} // namespace kest::host
