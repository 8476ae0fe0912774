#pragma once
// Files named by UTF-8 text. On Windows the narrow file functions read names
// in the system's 8-bit code page, so names are passed to the wide ones.
#include <cstdio>
#include <string>

namespace kest {

// fopen with a UTF-8 name. For reading ("r" modes) others may read the file
// meanwhile but not write it.
std::FILE* OpenFile(const std::string& name, const char* mode);

// Moves the file `from` to `to` in one step, replacing a file already there.
// Answers "" on success, else the system's reason; `to` is then untouched.
std::string MoveFileOver(const std::string& from, const std::string& to);

void RemoveFile(const std::string& name);

} // namespace kest
