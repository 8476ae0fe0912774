#pragma once
// Finding the file of an installed font face: fontconfig on Linux, the
// system's font folder on Windows. Internal to Font.cpp and its helpers.
#include <string>
#include <string_view>
#include <tuple>

namespace kest::ui::detail {

struct FaceFile {
  std::string path; // UTF-8
  int index = 0;    // face in a collection
  bool synthBold = false;
  bool operator<(const FaceFile& o) const {
    return std::tie(path, index, synthBold) < std::tie(o.path, o.index, o.synthBold);
  }
};

// Face names compare without regard to ASCII case.
inline std::string FoldCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return r;
}

// The installed file of family `face`, its bold style when `bold` (the
// regular one, to embolden, when the family has no bold). False when no face
// of that family is installed. Callers serialise calls.
bool FindFaceFile(const std::string& face, bool bold, FaceFile& out);

} // namespace kest::ui::detail
