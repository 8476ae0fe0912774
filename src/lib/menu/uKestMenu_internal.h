#pragma once
// Helpers shared by the item tree's source files; not part of its interface.
#include <string>

#include "ui/windowing/Types.h"

namespace kest::menu::detail {

// printf-style text with one %s.
std::string Format1(const char* pattern, const std::string& arg);

// A message-only window of the calling thread, and its release.
kest::ui::WindowHandle AllocateMessageWindow(kest::ui::WindowProc proc);
void DeallocateMessageWindow(kest::ui::WindowHandle h);

} // namespace kest::menu::detail
