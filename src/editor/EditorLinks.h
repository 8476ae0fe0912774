#pragma once
// Where the help menu and the about window lead. The project has no website
// yet: every link opens the user manual that is installed beside the
// module, the maker's pages as sections of it.
#include <string>
#include <string_view>

#include "ui/windowing/Types.h"

namespace kest {

// The manual's folder beside the module and its page in it.
inline constexpr std::string_view kManualFolder = "Kestrelphon-manual";
inline constexpr std::string_view kManualPage = "manual.html";

// Sections of the manual that stand in for the maker's web pages.
inline constexpr std::string_view kHomeSection = "home";
inline constexpr std::string_view kDonationSection = "donate";
inline constexpr std::string_view kMakerSection = "maker";

// The manual page beside the module (a file name, not a link).
std::string ManualFile();
// A link to the manual, at a section when one is given.
std::string ManualLink(std::string_view section = {});
// Opens the manual at a section (none: its top) in the browser. When the
// manual is not installed it says so in a message box owned by owner;
// when the browser cannot be started, OpenUrl says so. True when opened.
bool OpenManual(std::string_view section, ui::WindowHandle owner);
// A "file://" link to an absolute path; bytes outside the few that links
// carry as they are (letters, digits, "-._~/") are escaped as %XX.
std::string FileLink(std::string_view path);

} // namespace kest
