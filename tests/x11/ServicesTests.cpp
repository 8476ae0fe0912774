// The desktop services on X11: the clipboard both ways, monitors and work
// areas, links and file choosers through helper programs, key numbers.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "XServer.h"
#include "ui/gfx/Utf.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/x11/X11Backend.h"
#include "ui/x11/X11FileDialog.h"
#include "ui/x11/X11Internal.h"

// Xlib last, in a block of its own.
#include "XlibLast.h"

namespace kest::x11test {
namespace {

using namespace kest::ui;
namespace fs = std::filesystem;

using Services = X11Test;

std::string Property(::Display* d, Window w, Atom prop, Atom* typeOut = nullptr) {
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  std::string out;
  if (XGetWindowProperty(d, w, prop, 0, 1 << 16, True, AnyPropertyType, &type, &format, &n, &after,
                         &data) == Success &&
      data) {
    out.assign(reinterpret_cast<char*>(data), n * static_cast<unsigned long>(format / 8));
    XFree(data);
  }
  if (typeOut) *typeOut = type;
  return out;
}

TEST_F(Services, ClipboardTextIsServedToOtherClients) {
  ui::SetClipboardText(u"Gr\u00FC\u00DFe 42");
  ::Display* d = host->Dpy();
  const Window requestor = host->CreateWindow(0, 0, 1, 1);
  const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  const Atom prop = XInternAtom(d, "TEST_PROP", False);
  auto request = [&](Atom target) {
    XConvertSelection(d, clipboard, target, prop, requestor, CurrentTime);
    XFlush(d);
    XEvent e{};
    // Our backend answers while it is pumped.
    EXPECT_TRUE(PumpUntil(
        [&] { return XCheckTypedWindowEvent(d, requestor, SelectionNotify, &e) == True; }));
    return e.xselection.property;
  };
  ASSERT_EQ(request(utf8), prop);
  Atom type = 0;
  EXPECT_EQ(Property(d, requestor, prop, &type), "Gr\xC3\xBC\xC3\x9F"
                                                 "e 42");
  EXPECT_EQ(type, utf8);
  ASSERT_EQ(request(XA_STRING), prop);
  EXPECT_EQ(Property(d, requestor, prop), "Gr\xFC\xDF"
                                          "e 42");
  ASSERT_EQ(request(XInternAtom(d, "TARGETS", False)), prop);
  const std::string targets = Property(d, requestor, prop);
  bool offersUtf8 = false;
  for (std::size_t i = 0; i + sizeof(Atom) <= targets.size(); i += sizeof(Atom))
    offersUtf8 = offersUtf8 || *reinterpret_cast<const Atom*>(targets.data() + i) == utf8;
  EXPECT_TRUE(offersUtf8);
  // Something we cannot give is refused.
  EXPECT_EQ(request(XInternAtom(d, "image/png", False)), 0u);
  EXPECT_EQ(ui::GetClipboardText(), u"Gr\u00FC\u00DFe 42");
}

TEST_F(Services, ClipboardTextOfAnotherOwnerIsRead) {
  // Another program owns the clipboard and answers from its own thread.
  ::Display* other = XOpenDisplay(Display().c_str());
  ASSERT_NE(other, nullptr);
  const Window w = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(other, "CLIPBOARD", False);
  const Atom utf8 = XInternAtom(other, "UTF8_STRING", False);
  const Atom stop = XInternAtom(other, "TEST_STOP", False);
  XSetSelectionOwner(other, clipboard, w, CurrentTime);
  XSync(other, False);
  std::thread owner([&] {
    for (;;) {
      XEvent e;
      XNextEvent(other, &e);
      if (e.type == ClientMessage && e.xclient.message_type == stop) return;
      if (e.type != SelectionRequest) continue;
      const XSelectionRequestEvent& r = e.xselectionrequest;
      XSelectionEvent reply{};
      reply.type = SelectionNotify;
      reply.requestor = r.requestor;
      reply.selection = r.selection;
      reply.target = r.target;
      reply.time = r.time;
      reply.property = 0;
      if (r.target == utf8) {
        const std::string text = "from the host \xE2\x98\xBA";
        XChangeProperty(other, r.requestor, r.property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
        reply.property = r.property;
      }
      XSendEvent(other, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
      XFlush(other);
    }
  });
  EXPECT_EQ(ui::GetClipboardText(), u"from the host \u263A");
  // Taking ownership back serves our own text.
  ui::SetClipboardText(u"ours");
  EXPECT_EQ(ui::GetClipboardText(), u"ours");

  XClientMessageEvent bye{};
  bye.type = ClientMessage;
  bye.window = w;
  bye.message_type = stop;
  bye.format = 32;
  ::Display* poke = host->Dpy();
  XSendEvent(poke, w, False, 0, reinterpret_cast<XEvent*>(&bye));
  XFlush(poke);
  owner.join();
  XCloseDisplay(other);
}

TEST_F(Services, MonitorsAndTheDesktopsWorkArea) {
  auto mons = GetMonitors();
  ASSERT_EQ(mons.size(), 1u);
  EXPECT_EQ(mons[0].bounds, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(mons[0].workArea, mons[0].bounds);
  // A panel of 30 pixels at the top, as a desktop announces it.
  ::Display* d = host->Dpy();
  const long area[4] = {0, 30, 1024, 738};
  XChangeProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_WORKAREA", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(area), 4);
  host->Sync();
  mons = GetMonitors();
  EXPECT_EQ(mons[0].workArea, (Rect{0, 30, 1024, 768}));
  EXPECT_EQ(MonitorFromPoint({500, 500}).workArea, (Rect{0, 30, 1024, 768}));
  XDeleteProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_WORKAREA", False));
  host->Sync();
}

// Helper programs are found on PATH: fake ones record what they were given.
class FakePrograms {
public:
  FakePrograms() {
    dir = fs::temp_directory_path() /
          ("kest_x11_" + std::to_string(getpid()) + "_" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    const char* p = std::getenv("PATH");
    oldPath = p ? p : "";
    setenv("PATH", (dir.string() + ":/usr/bin:/bin").c_str(), 1);
  }
  ~FakePrograms() {
    setenv("PATH", oldPath.c_str(), 1);
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void Add(const std::string& name, const std::string& body) {
    const fs::path f = dir / name;
    std::ofstream(f) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(f, fs::perms::owner_all);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir / name);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path dir;
  std::string oldPath;
};

TEST_F(Services, LinksGoToXdgOpen) {
  FakePrograms fake;
  fake.Add("xdg-open", "printf '%s' \"$1\" > \"$(dirname \"$0\")/opened.tmp\"; "
                       "mv \"$(dirname \"$0\")/opened.tmp\" \"$(dirname \"$0\")/opened\"");
  EXPECT_TRUE(ui::OpenLink("https://example.org/a b?c=1&d='2'", 0));
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(fake.dir / "opened"); }));
  EXPECT_EQ(fake.Read("opened"), "https://example.org/a b?c=1&d='2'");
}

TEST_F(Services, WithoutXdgOpenTheLinkIsNotOpened) {
  FakePrograms fake;
  setenv("PATH", fake.dir.string().c_str(), 1);
  EXPECT_FALSE(ui::OpenLink("https://example.org", 0));
}

FileDialogRequest SaveRequest() {
  FileDialogRequest r;
  r.save = true;
  r.title = u"Save bank";
  r.initialDir = u"/srv/banks";
  r.fileName = u"My bank";
  r.filters = {{u"Kestrelphon banks", u"*.kst"}, {u"All files", u"*.kst;*.*"}};
  r.defaultExt = u"kst";
  r.flags = OFN_OVERWRITEPROMPT;
  return r;
}

TEST_F(Services, FileDialogRunsZenityWithTheRequest) {
  FakePrograms fake;
  fake.Add("zenity",
           "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname \"$0\")/args\"; "
           "echo /srv/banks/chosen");
  const FileDialogRequest r = SaveRequest();
  EXPECT_EQ(ui::ShowFileDialog(r), u"/srv/banks/chosen.kst");
  std::string expected;
  for (const auto& a : x11::ChooserArgs(x11::Chooser::Zenity, r))
    expected += a + "\n";
  EXPECT_EQ(fake.Read("args"), expected);

  // Cancelled: the chooser ends with an error status.
  fake.Add("zenity", "exit 1");
  EXPECT_EQ(ui::ShowFileDialog(r), std::nullopt);
}

TEST_F(Services, WhileTheChooserRunsOurWindowsLiveTheIdleWorkRunsAndInputIsDropped) {
  FakePrograms fake;
  fake.Add("zenity", "sleep 0.5; echo /srv/banks/chosen.kst");
  int ticks = 0, posted = 0, presses = 0;
  WindowDesc d;
  d.bounds = Rect::FromSize(40, 40, 120, 80);
  d.visible = true;
  d.topmost = true;
  d.proc = [&](WindowHandle h, std::uint32_t msg, WParam w, LParam l) -> LResult {
    if (msg == WM_TIMER) ++ticks;
    if (msg == WM_USER + 5) ++posted;
    if (msg == WM_LBUTTONDOWN) ++presses;
    return DefaultWindowProc(h, msg, w, l);
  };
  const WindowHandle h = CreateWnd(d);
  ASSERT_TRUE(PumpUntil([&] { return host->Viewable(x11::NativeWindowId(h)); }));
  SetTimer(h, 1, 20);
  // A press queued for the window while the chooser is up, a message posted
  // from another thread meanwhile.
  ASSERT_EQ(Xdotool({"mousemove", "--sync", "80", "80"}), 0);
  ASSERT_EQ(Xdotool({"click", "1"}), 0);
  std::thread poster([h] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    PostMsg(h, WM_USER + 5);
  });
  // The modal idle work (a plug-in asks its host for idle there), as in a menu.
  int idles = 0;
  bool modal = true;
  const ModalIdleId idle = AddModalIdleHandler([&] {
    ++idles;
    modal = modal && InModalLoop();
  });
  const auto chosen = ui::ShowFileDialog(SaveRequest());
  RemoveModalIdleHandler(idle);
  poster.join();
  EXPECT_EQ(chosen, u"/srv/banks/chosen.kst");
  EXPECT_GE(ticks, 10) << "timers tick at their rate";
  EXPECT_GE(idles, 15) << "every " << kModalIdleIntervalMs << " ms for half a second";
  EXPECT_TRUE(modal);
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(presses, 0);
  DestroyWnd(h);
}

TEST(X11Chooser, ArgumentsCarryModeTitleStartAndFilters) {
  const FileDialogRequest save = SaveRequest();
  EXPECT_EQ(x11::ChooserArgs(x11::Chooser::Zenity, save),
            (std::vector<std::string>{"--file-selection", "--save", "--confirm-overwrite",
                                      "--title=Save bank", "--filename=/srv/banks/My bank",
                                      "--file-filter=Kestrelphon banks | *.kst",
                                      "--file-filter=All files | *.kst *.*"}));
  EXPECT_EQ(x11::ChooserArgs(x11::Chooser::KDialog, save),
            (std::vector<std::string>{"--getsavefilename", "/srv/banks/My bank",
                                      "*.kst|Kestrelphon banks\n*.kst *.*|All files", "--title",
                                      "Save bank"}));
  FileDialogRequest open;
  open.initialDir = u"/media/me/";
  EXPECT_EQ(x11::ChooserArgs(x11::Chooser::Zenity, open),
            (std::vector<std::string>{"--file-selection", "--filename=/media/me/"}));
  EXPECT_EQ(x11::ChooserArgs(x11::Chooser::KDialog, FileDialogRequest{}),
            (std::vector<std::string>{"--getopenfilename", "."}));
}

TEST(X11Chooser, DefaultExtensionOnlyForNamesWithoutOne) {
  FileDialogRequest r = SaveRequest();
  EXPECT_EQ(x11::WithDefaultExtension(u"/a/b", r), u"/a/b.kst");
  EXPECT_EQ(x11::WithDefaultExtension(u"/a/b.fxb", r), u"/a/b.fxb");
  EXPECT_EQ(x11::WithDefaultExtension(u"/a.dir/b", r), u"/a.dir/b.kst");
  r.defaultExt = u".kst";
  EXPECT_EQ(x11::WithDefaultExtension(u"/a/b", r), u"/a/b.kst");
  r.defaultExt.clear();
  EXPECT_EQ(x11::WithDefaultExtension(u"/a/b", r), u"/a/b");
  EXPECT_NE(x11::NoChooserMessage().find(u"zenity"), std::u16string::npos);
}

TEST(X11Keys, KeysymsBecomeTheVirtualKeysOfTheKeyHandlers) {
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_a), 'A');
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_Z), 'Z');
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_7), '7');
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_KP_7), 0x67);
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_F10), VK_F10);
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_F12), VK_F1 + 11);
  const std::pair<unsigned long, std::uint16_t> editing[] = {
      {XK_BackSpace, VK_BACK},   {XK_Delete, VK_DELETE},
      {XK_KP_Delete, VK_DELETE}, {XK_Home, VK_HOME},
      {XK_End, VK_END},          {XK_Left, VK_LEFT},
      {XK_Right, VK_RIGHT},      {XK_Up, VK_UP},
      {XK_Down, VK_DOWN},        {XK_Return, VK_RETURN},
      {XK_KP_Enter, VK_RETURN},  {XK_Escape, VK_ESCAPE},
      {XK_Tab, VK_TAB},          {XK_ISO_Left_Tab, VK_TAB},
      {XK_space, VK_SPACE},      {XK_Insert, VK_INSERT},
      {XK_Prior, VK_PRIOR},      {XK_Next, VK_NEXT},
      {XK_Shift_R, VK_SHIFT},    {XK_Control_L, VK_CONTROL},
      {XK_Alt_L, VK_MENU}};
  for (const auto& [sym, vk] : editing)
    EXPECT_EQ(x11::VirtualKeyFromKeysym(sym), vk) << "keysym " << sym;
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_minus), 0xBD);
  EXPECT_EQ(x11::VirtualKeyFromKeysym(XK_odiaeresis), 0); // text only
}

} // namespace
} // namespace kest::x11test
