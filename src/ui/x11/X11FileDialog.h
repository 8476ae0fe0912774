#pragma once
// The file dialog through a desktop chooser program (zenity or kdialog).
#include <string>
#include <vector>

#include "ui/services/Services.h"

namespace kest::ui::x11 {

enum class Chooser { Zenity, KDialog };

// The chooser's arguments for a request: mode, title, start file, filters.
std::vector<std::string> ChooserArgs(Chooser chooser, const FileDialogRequest& request);
// A chosen name without an extension gets the default one.
std::u16string WithDefaultExtension(std::u16string path, const FileDialogRequest& request);
// What the user is told when no chooser is installed.
std::u16string NoChooserMessage();

} // namespace kest::ui::x11
