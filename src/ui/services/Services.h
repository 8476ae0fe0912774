#pragma once
// Desktop services behind one interface: message boxes, file dialogs, the
// clipboard, opening links, system settings and sounds. Each backend brings
// its own implementation; the free functions below are what programs call.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/windowing/Types.h"

namespace kest::ui {

struct MessageBoxRequest {
  WindowHandle owner = 0;
  std::u16string text;
  std::u16string caption;
  unsigned flags = 0;
};

struct FileFilter {
  std::u16string description;
  std::u16string pattern;
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// Flags of the file dialog, with the platform's values.
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;
inline constexpr unsigned OFN_HIDEREADONLY = 0x4;
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;
inline constexpr unsigned OFN_EXPLORER = 0x80000;

struct FileDialogRequest {
  WindowHandle owner = 0;
  bool save = false;
  std::u16string fileName; // initial name
  std::u16string initialDir;
  std::u16string title;
  std::vector<FileFilter> filters;
  std::u16string defaultExt;
  unsigned flags = 0;
};

// What the menus read from the desktop. An empty optional means that the
// system could not answer, so that callers apply their own fallback.
struct SystemSettings {
  std::optional<int> menuShowDelayMs = 400;
  std::optional<bool> keyboardCues = false;
  bool menuAnimation = true;
  bool dropShadow = true;
  // Whether a sound is set for an event name ("MenuPopup", "MenuCommand").
  std::map<std::string, bool> soundEvents;
  std::uint32_t doubleClickMs = 500;
};

// A modal message box in progress.
class ModalSession {
public:
  virtual ~ModalSession() = default;
  virtual bool Done() = 0;
  virtual int Result() = 0;
  // Called when the nested loop has no message to handle: wait for the user.
  virtual void Idle() = 0;
};

class Services {
public:
  virtual ~Services() = default;
  virtual std::unique_ptr<ModalSession> BeginMessageBox(const MessageBoxRequest& request) = 0;
  virtual std::optional<std::u16string> RunFileDialog(const FileDialogRequest& request) = 0;
  virtual void SetClipboardText(std::u16string_view text) = 0;
  virtual std::optional<std::u16string> ClipboardText() = 0;
  virtual bool OpenLink(std::string_view url, WindowHandle owner) = 0;
  virtual SystemSettings Settings() = 0;
  virtual void PlaySystemSound(std::string_view eventName) = 0;
};

// Shows a modal message box and answers IDOK, IDCANCEL, ... The owner's
// top-level window is disabled meanwhile, the mouse mode is cancelled, and a
// nested loop keeps dispatching messages (timers, painting) until it closes.
int ShowMessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                   unsigned flags);
// The chosen file, or nothing when the user cancelled.
std::optional<std::u16string> ShowFileDialog(const FileDialogRequest& request);
void SetClipboardText(std::u16string_view text);
std::optional<std::u16string> GetClipboardText();
// True when the link was handed to the browser.
bool OpenLink(std::string_view url, WindowHandle owner);
SystemSettings GetSystemSettings();
void PlaySystemSound(std::string_view eventName);

} // namespace kest::ui
