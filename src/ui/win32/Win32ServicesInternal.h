#pragma once
// The parts of the Win32 services that tests reach: the native arguments a
// request turns into, the owner window's lookup, and the keeping alive of
// our windows while a system dialog runs its own loop.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/win32/Win32Services.h"
#include "ui/windowing/ModalLoop.h"

#include "ui/win32/Win32Library.h" // last: it brings windows.h

#include <commdlg.h>

namespace kest::ui::win32 {

// The native window of a toolkit window (null: none).
using HwndResolver = std::function<HWND(WindowHandle)>;
std::unique_ptr<Services> CreateServices(HwndResolver resolve);

// The native top-level window a modal system dialog belongs to: the one
// that holds the owner (the host's window when the owner is our editor),
// else the thread's active window.
HWND OwnerTopLevel(const HwndResolver& resolve, WindowHandle owner);

std::wstring Wide(std::u16string_view s);
std::u16string Narrow(std::wstring_view s);

struct MessageBoxCall {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};
MessageBoxCall MessageBoxCallFor(const MessageBoxRequest& request, HWND owner);

// GetOpenFileNameW/GetSaveFileNameW's record for a request, with the
// buffers it points into.
class FileDialogCall {
public:
  // Room for the longest path the system can hand back.
  static constexpr std::size_t kFileCapacity = 32768;
  FileDialogCall(const FileDialogRequest& request, HWND owner);
  FileDialogCall(const FileDialogCall&) = delete;
  FileDialogCall& operator=(const FileDialogCall&) = delete;
  OPENFILENAMEW& Native() { return fNative; }
  bool Save() const { return fSave; }
  // Starts without a file name (the system refuses names it deems invalid).
  void DropFileName();
  // The name in the buffer after the dialog returned TRUE.
  std::u16string Chosen() const;

private:
  bool fSave;
  std::wstring fFilter, fInitialDir, fTitle, fDefaultExt;
  std::vector<wchar_t> fFile;
  OPENFILENAMEW fNative{};
};

// Runs the dialog; nothing when the user cancelled or the system failed.
std::optional<std::u16string> RunFileDialogCall(FileDialogCall& call);

// While a system dialog's own loop holds the thread, a thread timer of ours
// keeps the toolkit's windows alive (posted messages, timers, painting, but
// no input) and runs the thread's modal idle work, as a menu's loop does.
// An error from that work waits until the dialog has closed: Finish throws it.
class SystemDialogScope {
public:
  SystemDialogScope();
  ~SystemDialogScope();
  SystemDialogScope(const SystemDialogScope&) = delete;
  SystemDialogScope& operator=(const SystemDialogScope&) = delete;
  void Finish();

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void KeepAlive();
  ModalLoopScope fModal;
  SystemDialogScope* fOuter = nullptr;
  UINT_PTR fTimer = 0;
  bool fInTick = false;
  std::exception_ptr fError;
};

// The sound events the menus ask about, and whether the user's scheme has a
// sound for each.
std::map<std::string, bool> ReadSoundEvents();
SystemSettings ReadSystemSettings();
// Plays a sound event of the user's scheme, without waiting.
void PlaySoundEvent(std::string_view eventName);

// Text on the clipboard through a hidden window of ours that owns it.
class Clipboard {
public:
  Clipboard() = default;
  ~Clipboard();
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  bool SetText(std::u16string_view text);
  std::optional<std::u16string> Text();

private:
  bool Open();
  HWND fOwner = nullptr;
};

} // namespace kest::ui::win32
