// The toolkit page: mouse, keys and the edit, a timer, a popup window with
// capture, and the desktop services (message box, file chooser, clipboard,
// links, monitors and settings).
#include <cmath>
#include <string>

#include "Widgets.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"
#include "ui/toolkit/Application.h"
#include "ui/toolkit/Edit.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/Timer.h"

namespace kest::gallery {

using namespace kest::ui;

namespace {

template <class T, class... A> T* Add(Form* parent, int x, int y, int w, int h, A&&... args) {
  auto* c = new T(parent, std::forward<A>(args)...);
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
  return c;
}

std::u16string DesktopFacts() {
  std::string s;
  for (const Monitor& m : GetMonitors()) {
    s += "Monitor " + std::to_string(m.bounds.Width()) + " x " + std::to_string(m.bounds.Height()) +
         " at " + std::to_string(m.bounds.left) + ", " + std::to_string(m.bounds.top) +
         ";\nwork area " + std::to_string(m.workArea.Width()) + " x " +
         std::to_string(m.workArea.Height()) + "\n";
  }
  const SystemSettings st = GetSystemSettings();
  s += "Menu delay " + std::to_string(st.menuShowDelayMs.value_or(-1)) + " ms, double click " +
       std::to_string(st.doubleClickMs) + " ms";
  return Utf8ToUtf16(s);
}

// A popup window as the menus make them: no activation, above everything,
// holding the capture so that a press outside closes it.
Form* MakePopup(Label* status) {
  auto* popup = new Form(nullptr);
  popup->SetNoActivate(true);
  popup->SetTopmost(true);
  popup->SetColor(Rgb(245, 245, 245));
  popup->SetBounds(0, 0, 150, 3 * 26 + 8);
  auto close = [popup] {
    popup->Hide();
    if (GetCaptureWnd() == popup->Handle()) ReleaseCaptureWnd();
  };
  const char16_t* items[] = {u"Randomise", u"Copy sequence", u"Paste sequence"};
  for (int i = 0; i < 3; ++i) {
    auto* b = Add<PlainButton>(popup, 4, 4 + i * 26, 142, 24, items[i]);
    b->OnClick = [status, close, text = std::u16string(items[i])](Component*) {
      status->SetText(u"Chosen: " + text);
      close();
    };
  }
  popup->OnMouseDown = [popup, close](Component*, MouseButton, ShiftState, int x, int y) {
    if (!popup->ClientRect().Contains({x, y})) close();
  };
  return popup;
}

} // namespace

Form* BuildToolkitPanel(Form* main) {
  auto* panel = new Form(main);
  panel->SetParent(main);
  panel->SetBounds(0, 0, 300, 400);
  panel->SetColor(Rgb(28, 36, 48));

  Add<Label>(panel, 12, 8, 280, 18, u"Toolkit: move, press, type");
  Add<MousePad>(panel, 12, 30, 276, 80);
  auto* edit = Add<Edit>(panel, 12, 118, 276, 24);
  edit->SetText(u"Edit me; Ctrl+C / Ctrl+V");
  auto* status = Add<Label>(panel, 12, 150, 276, 18, u"");
  auto* bar = Add<Bar>(panel, 12, 174, 276, 12);

  auto* timer = new Timer(panel);
  timer->SetInterval(30);
  timer->SetOnTimer(
      [bar, t = 0](Component*) mutable { bar->SetLevel(0.5 + 0.5 * std::sin(++t * 0.08)); });

  auto* msg = Add<PlainButton>(panel, 12, 196, 134, 26, u"Message box");
  msg->OnClick = [status, main](Component*) {
    const int r = ShowMessageBox(main->Handle(), u"Keep the changes to this preset?",
                                 u"Kestrelphon", MB_YESNO | MB_ICONQUESTION);
    status->SetText(r == IDYES ? u"Answered yes" : u"Answered no");
  };
  auto* open = Add<PlainButton>(panel, 154, 196, 134, 26, u"Open file...");
  open->OnClick = [status](Component*) {
    FileDialogRequest r;
    r.title = u"Open a bank";
    r.filters = {{u"Kestrelphon banks", u"*.kst"}, {u"All files", u"*"}};
    r.defaultExt = u"kst";
    const auto file = ShowFileDialog(r);
    status->SetText(file ? u"File: " + *file : u"No file chosen");
  };
  auto* copy = Add<PlainButton>(panel, 12, 228, 134, 26, u"Copy edit text");
  copy->OnClick = [edit, status](Component*) {
    SetClipboardText(edit->Text());
    status->SetText(u"Copied");
  };
  auto* paste = Add<PlainButton>(panel, 154, 228, 134, 26, u"Show clipboard");
  paste->OnClick = [status](Component*) {
    const auto t = GetClipboardText();
    status->SetText(t ? u"Clipboard: " + *t : u"Clipboard is empty");
  };
  auto* link = Add<PlainButton>(panel, 12, 260, 134, 26, u"Open a link");
  link->OnClick = [status, main](Component*) {
    const bool ok = OpenLink("https://www.x.org/", main->Handle());
    status->SetText(ok ? u"Link handed to the browser" : u"No xdg-open: link not opened");
  };
  Form* popup = MakePopup(status);
  auto* pop = Add<PlainButton>(panel, 154, 260, 134, 26, u"Popup window");
  pop->OnClick = [pop, popup](Component*) {
    const Point at = pop->ClientToScreen({0, pop->Height()});
    popup->SetBounds(at.x, at.y, popup->Width(), popup->Height());
    popup->Show();
    SetCaptureWnd(popup->Handle());
  };
  auto* hide = Add<PlainButton>(panel, 12, 292, 276, 26, u"Hold to hide the pointer");
  hide->OnMouseDown = [](Component*, MouseButton, ShiftState, int, int) {
    App().SetCursor(Cursor::None);
  };
  hide->OnMouseUp = [](Component*, MouseButton, ShiftState, int, int) {
    App().SetCursor(Cursor::Default);
  };
  Add<Label>(panel, 12, 326, 276, 60, DesktopFacts());
  panel->Show();
  main->OnClose = [popup](Component*, CloseAction& a) {
    delete popup;
    a = CloseAction::Hide;
    PostQuitMsg(0);
  };
  return panel;
}

} // namespace kest::gallery
