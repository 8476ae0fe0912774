#pragma once
// What the tools share about choosing: the Kestrelphon module to load when
// none is named, and a program by number or name.
#include <string>

#include "VstHost.h"

namespace kest::host {

// The module (Kestrelphon.so; Kestrelphon.dll on Windows) of the build tree
// the tool lies in, else the one installed beside the tool (../lib/lxvst; on
// Windows the tool's own folder), else the user's ~/.vst (Linux), else
// builtPath (the one the tool was built with).
std::string DefaultModulePath(const char* argv0, const std::string& builtPath);

// Selects a program by its number or by its name (exact first, then
// ignoring case). Throws std::runtime_error saying what is wrong; hint is
// added to the message for an unknown name.
void SelectProgram(VstHost& host, const std::string& wanted, const std::string& hint = {});

} // namespace kest::host
