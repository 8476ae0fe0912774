#pragma once
// Internal to the X11 backend: the backend object and its native windows.
// Only the backend's own source files include Xlib.
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "X11Atspi.h"
#include "ui/services/Services.h"
#include "ui/windowing/Backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
// Xlib's None would clash with the toolkit's Cursor::None.
#undef None
inline constexpr unsigned long kXNone = 0L;

namespace kest::ui::x11 {

struct Atoms {
  Atom wmProtocols, wmDeleteWindow, wmState, netWmName, netWmState, netWmStateAbove,
      netWmStateSkipTaskbar, netWmWindowType, netWmTypeDialog, netWmTypePopupMenu, netWmTypeNormal,
      netWmPid, netWmOpacity, netWorkArea, netCurrentDesktop, motifWmHints, utf8String, clipboard,
      targets, text, kestSelection;
};

// The native side of one toolkit top-level window.
struct NativeWindow {
  Window xid = 0;
  Window foreignParent = 0; // the host's window it is embedded in
  bool overrideRedirect = false;
  bool mapped = false;   // as requested
  bool viewable = false; // as the server says (MapNotify)
  bool gone = false;     // destroyed under us (the host's window went)
  Rect placed;           // the bounds last given to the server
  std::uint8_t opacity = 255;
  std::optional<Region> shape; // the visible region last given to the server
};

class X11Backend final : public Backend, public Services {
public:
  explicit X11Backend(Display* display);
  ~X11Backend() override;
  X11Backend(const X11Backend&) = delete;
  X11Backend& operator=(const X11Backend&) = delete;

  // Backend
  std::uint32_t Now() override;
  void Wait(std::uint32_t timeoutMs) override;
  void Wake() override;
  void Flush() override;
  std::vector<Monitor> Monitors() override;
  void TopLevelChanged(WindowHandle h) override;
  void Present(WindowHandle h, const Rect& r) override;
  void CursorChanged(Cursor c, bool visible) override;
  void Beep(unsigned kind) override;
  Services& GetServices() override { return *this; }
  std::optional<Rect> AdoptHostWindow(std::uint64_t nativeId) override;
  void UnclaimedInput(const Message& m) override;
  // The first menu event joins the accessibility bus, when one runs.
  void AccessibilityEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                          std::int32_t childId) override;

  // Services
  std::unique_ptr<ModalSession> BeginMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::u16string> RunFileDialog(const FileDialogRequest& request) override;
  // One round of the wait for a chooser: everything but input is handled.
  void KeepAliveWhileChoosing();
  void SetClipboardText(std::u16string_view text) override;
  std::optional<std::u16string> ClipboardText() override;
  bool OpenLink(std::string_view url, WindowHandle owner) override;
  SystemSettings Settings() override;
  void PlaySystemSound(std::string_view) override {}

  // Reads what has arrived without waiting; true when anything came.
  bool DrainEvents();
  // Whether the server can give windows any shape (else menus do not slide).
  bool HasShapes() const { return fHasShape; }
  // Native grab, focus and cursor follow the window system's state; flushes.
  void SyncState();
  WindowHandle Wrap(Window foreign);
  Window XidOf(WindowHandle h) const;
  Display* Dpy() const { return fDpy; }
  int Fd() const { return ConnectionNumber(fDpy); }

private:
  // Windows (X11Windows.cpp).
  void CreateNative(WindowHandle h, NativeWindow& n);
  void DestroyNative(NativeWindow& n);
  void SetProperties(WindowHandle h, NativeWindow& n);
  void ApplyCursor(Window w);
  void PutImage(WindowHandle h, const NativeWindow& n, const Rect& r);
  WindowHandle FromXid(Window w) const;
  // The toolkit learns a position or size the server decided.
  void AdoptBounds(WindowHandle h, const Rect& screen);
  Window TopLevelAncestor(Window w);
  // Events (X11Events.cpp).
  void Handle(XEvent& e);
  void HandlePointer(WindowHandle h, XEvent& e);
  void HandleKey(XKeyEvent& e, bool down);
  void HandleConfigure(WindowHandle h, const XConfigureEvent& e);
  void HandleForeign(const XEvent& e);
  void NoteOrigin(WindowHandle h, int xRoot, int yRoot, int x, int y);
  // Clipboard (X11Clipboard.cpp).
  void AnswerSelectionRequest(const XSelectionRequestEvent& r);
  // Grabs for the capture (X11Grab.cpp).
  void CreateGrabWindow();
  void SyncGrab();
  void Ungrab();
  bool CaptureWantsKeyboard(WindowHandle capture) const;
  void HandleGrabWindowEvent(XEvent& e);
  // The grab went or never came: the capture is cancelled.
  void CaptureLost();
  // The deepest native window at a screen point that is not ours (0: ours).
  Window ForeignWindowAt(Point screen, int& x, int& y);
  // Shapes (X11Shape.cpp).
  void QueryShape();
  void ApplyShape(NativeWindow& n, const std::optional<Region>& region);

  Display* fDpy;
  int fScreen;
  Window fRoot;
  Visual* fVisual;
  int fDepth;
  Colormap fColormap;
  GC fGc = nullptr;
  Window fUtility = 0; // owns the clipboard, receives its conversions
  Atoms fAtoms{};
  XIM fIm = nullptr;
  std::map<Window, XIC> fIcs;
  std::map<WindowHandle, NativeWindow> fWindows;
  bool fAdopting = false; // the toolkit's bounds are being set from the server's
  Cursor fCursor = Cursor::Default;
  bool fPointerVisible = true;
  std::map<Cursor, ::Cursor> fCursors;
  // Pointer and keyboard grabs of the capture live on an invisible window of
  // our own that is always viewable, so that a capture by a window with no
  // native window (a menu's message window) or one not yet shown grabs too.
  Window fGrabWindow = 0;
  WindowHandle fGrabbed = 0;    // the capture window the grab is held for
  WindowHandle fGrabFailed = 0; // the capture window whose grab failed (reported once)
  bool fKeyboardGrabbed = false;
  unsigned long fGrabSerial = 0; // request serial of the latest grab
  bool fHasShape = false;
  int fShapeEventBase = 0;
  WindowHandle fFocusWnd = 0; // the toolkit focus we last gave the keyboard for
  Window fKeysFrom = 0;       // a host window whose keyboard focus we took
  std::string fClipboard;     // UTF-8, while we own the selection
  bool fOwnClipboard = false;
  int fWakePipe[2] = {-1, -1};
  void DispatchAtspi();
  std::unique_ptr<AtspiBridge> fAtspi;
  bool fAtspiTried = false;
  std::chrono::steady_clock::time_point fStart;
  XErrorHandler fPreviousErrorHandler = nullptr;
};

X11Backend* Current(); // the installed X11 backend, or null
std::uint16_t VirtualKeyFromKeysym(unsigned long keysym);

} // namespace kest::ui::x11
