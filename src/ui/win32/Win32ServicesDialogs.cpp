// Message boxes and the open and save dialogs of the system.
#include "ui/windowing/WindowSystem.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <cderr.h>

namespace kest::ui::win32 {

HWND OwnerTopLevel(const HwndResolver& resolve, WindowHandle owner) {
  HWND native = owner && IsWindow(owner) && resolve ? resolve(GetRootWindow(owner)) : nullptr;
  // Without a window of ours (an error met outside any window), the window
  // the user works in: a box nobody owns may open behind the host.
  if (!native || !::IsWindow(native)) native = ::GetActiveWindow();
  if (!native) return nullptr;
  // Our editor is a child of the host's window: the dialog belongs to that.
  HWND top = ::GetAncestor(native, GA_ROOT);
  return top ? top : native;
}

MessageBoxCall MessageBoxCallFor(const MessageBoxRequest& request, HWND owner) {
  return {owner, Wide(request.text), Wide(request.caption), request.flags};
}

namespace {
// "desc\0pattern\0...\0\0", as the dialog reads its filters.
std::wstring FilterList(const std::vector<FileFilter>& filters) {
  std::wstring list;
  for (const FileFilter& f : filters) {
    list += Wide(f.description);
    list.push_back(L'\0');
    list += Wide(f.pattern);
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  return list;
}

const wchar_t* OrNull(const std::wstring& s) {
  return s.empty() ? nullptr : s.c_str();
}
} // namespace

FileDialogCall::FileDialogCall(const FileDialogRequest& r, HWND owner)
    : fSave(r.save), fFilter(FilterList(r.filters)), fInitialDir(Wide(r.initialDir)),
      fTitle(Wide(r.title)), fDefaultExt(Wide(r.defaultExt)), fFile(kFileCapacity, L'\0') {
  // The dialog wants the extension without its dot.
  if (!fDefaultExt.empty() && fDefaultExt.front() == L'.') fDefaultExt.erase(0, 1);
  const std::wstring name = Wide(r.fileName);
  std::copy_n(name.begin(), std::min(name.size(), kFileCapacity - 1), fFile.begin());
  fNative.lStructSize = sizeof fNative;
  fNative.hwndOwner = owner;
  fNative.lpstrFilter = r.filters.empty() ? nullptr : fFilter.c_str();
  fNative.nFilterIndex = 1;
  fNative.lpstrFile = fFile.data();
  fNative.nMaxFile = static_cast<DWORD>(fFile.size());
  fNative.lpstrInitialDir = OrNull(fInitialDir);
  fNative.lpstrTitle = OrNull(fTitle);
  fNative.lpstrDefExt = OrNull(fDefaultExt);
  // A plug-in must not move its host's working folder.
  fNative.Flags = r.flags | OFN_NOCHANGEDIR;
}

void FileDialogCall::DropFileName() {
  std::fill(fFile.begin(), fFile.end(), L'\0');
}

std::u16string FileDialogCall::Chosen() const {
  const auto end = std::find(fFile.begin(), fFile.end(), L'\0');
  return Narrow(std::wstring_view(fFile.data(), static_cast<std::size_t>(end - fFile.begin())));
}

std::optional<std::u16string> RunFileDialogCall(FileDialogCall& call) {
  // 0 when a file was chosen; else the dialog's error (0 too on cancel).
  const auto run = [&call](DWORD& error) {
    SystemDialogScope scope;
    const BOOL ok =
        call.Save() ? ::GetSaveFileNameW(&call.Native()) : ::GetOpenFileNameW(&call.Native());
    error = ok ? 0 : ::CommDlgExtendedError();
    scope.Finish();
    return ok != FALSE;
  };
  DWORD error = 0;
  bool chosen = run(error);
  // A proposed name with characters the system refuses (a preset called
  // "A/B") would keep the dialog from opening at all.
  if (!chosen && error == FNERR_INVALIDFILENAME) {
    call.DropFileName();
    chosen = run(error);
  }
  if (!chosen) return std::nullopt;
  std::u16string name = call.Chosen();
  if (name.empty()) return std::nullopt;
  return name;
}

} // namespace kest::ui::win32
