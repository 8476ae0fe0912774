#pragma once
// What the tools share about choosing: the Kestrelphon module to load when
// none is named, and a program by number or name.
#include <string>

#include "VstHost.h"

namespace kest::host {

// The module beside the build's tools folder, else the one installed beside
// the tool (../lib/lxvst), else the user's ~/.vst, else builtPath (the one
// the tool was built with).
std::string DefaultModulePath(const char* argv0, const std::string& builtPath);

// Selects a program by its number or by its name (exact first, then
// ignoring case). Throws std::runtime_error saying what is wrong; hint is
// added to the message for an unknown name.
void SelectProgram(VstHost& host, const std::string& wanted, const std::string& hint = {});

} // namespace kest::host
