// The module's start-up and unload for the editor: the shared skins are
// loaded when the library loads and freed when it unloads, and every plug-in
// object gets an editor that starts the display (Win32 on Windows, X11
// elsewhere) on its first opening.
// It lives in the module itself, where the linker keeps it.
#include "EditorRegistration.h"
#include "MessageBoxService.h"
#include "uKestDialogs.h"
#include "uKestSkins.h"
#if defined(_WIN32)
#include "ui/win32/Win32Backend.h"
#else
#include "ui/x11/X11Backend.h"
#endif

namespace {

bool InstallDisplay() {
#if defined(_WIN32)
  return kest::ui::win32::Install();
#else
  return kest::ui::x11::Install();
#endif
}

bool StartDisplay() {
  if (!InstallDisplay()) return false;
  // Bank file errors are shown on the screen once there is one.
  kest::SetMessageBoxService(&kest::UiMessageBoxService());
  return true;
}

struct EditorStartup {
  EditorStartup() {
    try {
      kest::KestCtrlsInitialization();
    } catch (...) {
      return; // without its face the plug-in offers no editor; it still sounds
    }
    kest::RegisterEditor(&StartDisplay);
  }
  ~EditorStartup() {
    kest::UnregisterEditor();
    kest::SetMessageBoxService(nullptr);
    kest::KestCtrlsFinalization();
  }
  EditorStartup(const EditorStartup&) = delete;
  EditorStartup& operator=(const EditorStartup&) = delete;
};

const EditorStartup gStartup;

} // namespace
