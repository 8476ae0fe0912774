// The file dialog: a chooser program runs while our windows stay alive
// (posted messages, timers, painting) and the thread's modal idle work runs
// (a plug-in's host gets its idle requests); input to our windows is dropped.
#include "ui/x11/X11FileDialog.h"
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros

#include <poll.h>

#include <algorithm>
#include <exception>

#include "ui/gfx/Utf.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/x11/X11Process.h"

namespace kest::ui::x11 {

namespace {

// "*.kst;*.fxb" lists patterns with semicolons; choosers want spaces.
std::string Patterns(const std::u16string& pattern) {
  std::string s = Utf16ToUtf8(pattern);
  for (char& c : s)
    if (c == ';') c = ' ';
  return s;
}

std::string StartPath(const FileDialogRequest& r) {
  std::string dir = Utf16ToUtf8(r.initialDir);
  const std::string name = Utf16ToUtf8(r.fileName);
  if (!name.empty() && name.front() == '/') return name;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + name;
}

} // namespace

std::vector<std::string> ChooserArgs(Chooser chooser, const FileDialogRequest& r) {
  std::vector<std::string> a;
  const std::string title = Utf16ToUtf8(r.title);
  const std::string start = StartPath(r);
  if (chooser == Chooser::Zenity) {
    a.push_back("--file-selection");
    if (r.save) {
      a.push_back("--save");
      if (r.flags & OFN_OVERWRITEPROMPT) a.push_back("--confirm-overwrite");
    }
    if (!title.empty()) a.push_back("--title=" + title);
    if (!start.empty()) a.push_back("--filename=" + start);
    for (const FileFilter& f : r.filters)
      a.push_back("--file-filter=" + Utf16ToUtf8(f.description) + " | " + Patterns(f.pattern));
    return a;
  }
  a.push_back(r.save ? "--getsavefilename" : "--getopenfilename");
  a.push_back(start.empty() ? "." : start);
  std::string filter;
  for (const FileFilter& f : r.filters) {
    if (!filter.empty()) filter += '\n';
    filter += Patterns(f.pattern) + "|" + Utf16ToUtf8(f.description);
  }
  if (!filter.empty()) a.push_back(filter);
  if (!title.empty()) {
    a.push_back("--title");
    a.push_back(title);
  }
  return a;
}

std::u16string WithDefaultExtension(std::u16string path, const FileDialogRequest& r) {
  std::u16string ext = r.defaultExt;
  if (!ext.empty() && ext.front() == u'.') ext.erase(0, 1);
  if (ext.empty() || path.empty()) return path;
  const std::size_t slash = path.find_last_of(u'/');
  const std::size_t dot = path.find_last_of(u'.');
  if (dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash)) return path;
  return path + u"." + ext;
}

std::u16string NoChooserMessage() {
  return u"Choosing a file needs a file chooser program, and neither zenity nor kdialog is "
         u"installed.\n\nInstall one of them (for example: sudo apt install zenity) and try "
         u"again.";
}

void X11Backend::KeepAliveWhileChoosing() {
  DispatchAllButInput();
  Flush();
}

std::optional<std::u16string> X11Backend::RunFileDialog(const FileDialogRequest& request) {
  std::string path = FindProgram("zenity");
  Chooser chooser = Chooser::Zenity;
  if (path.empty()) {
    path = FindProgram("kdialog");
    chooser = Chooser::KDialog;
  }
  if (path.empty()) {
    ShowMessageBox(request.owner, NoChooserMessage(), u"Kestrelphon", MB_OK | MB_ICONEXCLAMATION);
    return std::nullopt;
  }
  auto child = SpawnReading(path, ChooserArgs(chooser, request));
  if (!child) return std::nullopt;
  if (const WindowHandle c = GetCaptureWnd()) SendMsg(c, WM_CANCELMODE);
  std::string out;
  {
    // The thread is held here as in a menu's loop: a host's idle call from
    // the idle work must leave our queue alone.
    const ModalLoopScope modal;
    std::exception_ptr idleError;
    while (!ReadSome(*child, out)) {
      std::uint32_t idleDueIn = kModalIdleIntervalMs;
      if (!idleError) {
        try {
          idleDueIn = RunModalIdleIfDue(TickCount());
        } catch (...) {
          // Kept until the chooser has gone: it must not be left running.
          idleError = std::current_exception();
        }
      }
      SyncState();
      pollfd fds[2] = {{child->out, POLLIN, 0}, {Fd(), POLLIN, 0}};
      poll(fds, 2, static_cast<int>(std::min<std::uint32_t>(idleDueIn, 20)));
      DrainEvents();
      KeepAliveWhileChoosing();
    }
    if (idleError) {
      Reap(*child);
      std::rethrow_exception(idleError);
    }
  }
  if (Reap(*child) != 0) return std::nullopt;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
    out.pop_back();
  if (out.empty()) return std::nullopt;
  return WithDefaultExtension(Utf8ToUtf16(out), request);
}

} // namespace kest::ui::x11
