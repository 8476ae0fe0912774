// The CLIPBOARD selection with UTF-8 text: owning it and answering
// requests, and asking its owner for text.
#include "ui/x11/X11Internal.h" // first: it tames Xlib's macros
#include <poll.h>

#include <X11/Xatom.h>

#include "ui/gfx/Utf.h"

namespace kest::ui::x11 {

void X11Backend::SetClipboardText(std::u16string_view text) {
  fClipboard = Utf16ToUtf8(text);
  XSetSelectionOwner(fDpy, fAtoms.clipboard, fUtility, CurrentTime);
  fOwnClipboard = XGetSelectionOwner(fDpy, fAtoms.clipboard) == fUtility;
}

void X11Backend::AnswerSelectionRequest(const XSelectionRequestEvent& r) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = r.display;
  reply.requestor = r.requestor;
  reply.selection = r.selection;
  reply.target = r.target;
  reply.time = r.time;
  // Old clients leave the property out: they mean the target's name.
  const Atom property = r.property ? r.property : r.target;
  reply.property = kXNone;
  if (r.selection == fAtoms.clipboard && fOwnClipboard) {
    if (r.target == fAtoms.targets) {
      const Atom targets[] = {fAtoms.targets, fAtoms.utf8String, fAtoms.text, XA_STRING};
      XChangeProperty(fDpy, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(targets), 4);
      reply.property = property;
    } else if (r.target == fAtoms.utf8String || r.target == fAtoms.text) {
      XChangeProperty(fDpy, r.requestor, property, fAtoms.utf8String, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(fClipboard.data()),
                      static_cast<int>(fClipboard.size()));
      reply.property = property;
    } else if (r.target == XA_STRING) {
      std::string latin1;
      for (char16_t c : Utf8ToUtf16(fClipboard))
        latin1.push_back(c < 256 ? static_cast<char>(c) : '?');
      XChangeProperty(fDpy, r.requestor, property, XA_STRING, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(latin1.data()),
                      static_cast<int>(latin1.size()));
      reply.property = property;
    }
  }
  XSendEvent(fDpy, r.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(fDpy);
}

namespace {
struct NotifyFor {
  Window window;
};
Bool IsSelectionNotify(Display*, XEvent* e, XPointer arg) {
  return e->type == SelectionNotify &&
         e->xselection.requestor == reinterpret_cast<NotifyFor*>(arg)->window;
}
} // namespace

std::optional<std::u16string> X11Backend::ClipboardText() {
  if (fOwnClipboard) return Utf8ToUtf16(fClipboard);
  if (XGetSelectionOwner(fDpy, fAtoms.clipboard) == kXNone) return std::nullopt;
  XConvertSelection(fDpy, fAtoms.clipboard, fAtoms.utf8String, fAtoms.kestSelection, fUtility,
                    CurrentTime);
  XFlush(fDpy);
  // The owner answers through the server; other events stay queued meanwhile.
  NotifyFor arg{fUtility};
  XEvent e;
  const std::uint32_t deadline = Now() + 1000;
  for (;;) {
    if (XCheckIfEvent(fDpy, &e, IsSelectionNotify, reinterpret_cast<XPointer>(&arg))) break;
    const auto left = static_cast<std::int32_t>(deadline - Now());
    if (left <= 0) return std::nullopt; // an owner that never answers
    pollfd fd{Fd(), POLLIN, 0};
    poll(&fd, 1, left);
  }
  if (e.xselection.property == kXNone) return std::nullopt;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::optional<std::u16string> result;
  if (XGetWindowProperty(fDpy, fUtility, fAtoms.kestSelection, 0, 1 << 20, True, AnyPropertyType,
                         &type, &format, &count, &after, &data) == Success &&
      data) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), count);
    if (type == fAtoms.utf8String) {
      result = Utf8ToUtf16(bytes);
    } else if (type == XA_STRING) {
      std::u16string s;
      for (char c : bytes)
        s.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
      result = s;
    }
    XFree(data);
  }
  return result;
}

} // namespace kest::ui::x11
