#pragma once
// The file dialog and link launching of the utility functions, built on the
// ui toolkit's services (the parameters layer knows no windows).
#include <string_view>

#include "MessageBoxService.h"
#include "uKestUtils.h"
#include "ui/windowing/Types.h"

namespace kest {

// Runs the open (open = true) or save dialog. fileName holds the initial
// name and receives the chosen one (at most 1500 characters, terminated).
// filter is a list of zero-terminated description and pattern texts ended
// by an empty one, as BankFileFilter. Answers true when a file was chosen;
// a cancelled dialog, or a name too long for the buffer, leaves the buffer
// as it was and answers false.
bool FileDialog(TZFileName& fileName, ui::WindowHandle owner, bool open,
                std::u16string_view initialDir, std::u16string_view title, const char16_t* filter,
                std::u16string_view defaultExt);

// Opens the link in the default browser. When that fails it says so in a
// message box, puts the link on the clipboard and answers false.
bool OpenUrl(std::string_view link);

// Shows the messages of the lower layers (bank file errors) in real message
// boxes owned by the application's window; the module installs it with
// SetMessageBoxService at start-up.
IMessageBoxService& UiMessageBoxService();

inline constexpr std::u16string_view OpenUrlErrorText =
    u"Page open error in the browser by default.\r\nThe address of the link is copied in a "
    u"clipboard.";

} // namespace kest
