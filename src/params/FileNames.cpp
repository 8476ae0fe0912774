#include "FileNames.h"

#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <share.h>
#include <system_error>
#include <windows.h>
#endif

namespace kest {

#if defined(_WIN32)

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

} // namespace

std::FILE* OpenFile(const std::string& name, const char* mode) {
  const std::wstring wideMode = Wide(mode);
  const int share = mode[0] == 'r' ? _SH_DENYWR : _SH_DENYRW;
  return _wfsopen(Wide(name).c_str(), wideMode.c_str(), share);
}

std::string MoveFileOver(const std::string& from, const std::string& to) {
  if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return std::system_category().message(static_cast<int>(GetLastError()));
}

void RemoveFile(const std::string& name) {
  DeleteFileW(Wide(name).c_str());
}

#else

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), mode);
}

std::string MoveFileOver(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::strerror(errno);
}

void RemoveFile(const std::string& name) {
  std::remove(name.c_str());
}

#endif

} // namespace kest
