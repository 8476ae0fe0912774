#pragma once
// The headless backend: an in-memory screen with configurable monitors and
// settings, a fake clock, input injection through the ordinary queue,
// scripted answers for the services, and screenshots.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/gfx/Bitmap.h"
#include "ui/windowing/Backend.h"

namespace kest::ui::headless {

struct HeadlessConfig {
  std::vector<Monitor> monitors{{{0, 0, 1280, 1024}, {0, 0, 1280, 984}}};
  SystemSettings settings{};
  std::uint32_t startTime = 10000;
  Color desktop = Rgb(58, 110, 165);
};

class HeadlessBackend : public Backend, public Services {
public:
  explicit HeadlessBackend(HeadlessConfig config = {});

  // Backend
  std::uint32_t Now() override { return fNow; }
  // Time passes only here: waiting moves the fake clock on. Waiting without
  // a limit would never end, so it raises an error instead of hanging.
  void Wait(std::uint32_t timeoutMs) override;
  std::vector<Monitor> Monitors() override { return config.monitors; }
  std::optional<Rect> AdoptHostWindow(std::uint64_t nativeId) override;
  void CursorChanged(Cursor c, bool visible) override;
  void Beep(unsigned kind) override { beeps.push_back(kind); }
  Services& GetServices() override { return *this; }
  void AccessibilityEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                          std::int32_t childId) override {
    accEvents.push_back({event, h, objectId, childId});
  }

  // Services, answered from the scripts below.
  std::unique_ptr<ModalSession> BeginMessageBox(const MessageBoxRequest& request) override;
  std::optional<std::u16string> RunFileDialog(const FileDialogRequest& request) override;
  void SetClipboardText(std::u16string_view text) override { clipboard = std::u16string(text); }
  std::optional<std::u16string> ClipboardText() override { return clipboard; }
  bool OpenLink(std::string_view url, WindowHandle owner) override;
  SystemSettings Settings() override { return config.settings; }
  void PlaySystemSound(std::string_view name) override { sounds.emplace_back(name); }

  void Advance(std::uint32_t ms) { fNow += ms; }

  HeadlessConfig config;
  // Called when a loop waits with nothing to handle (timeoutMs: how long it
  // would wait, kInfinite for ever), before time passes: a test drives a
  // nested modal loop from here, injecting input, advancing the clock and
  // taking screenshots (but not pumping: the loop does that). Answer true
  // when something was done, so that the loop looks again; false lets the
  // wait go on as it would without the hook.
  std::function<bool(std::uint32_t timeoutMs)> onWait;
  // Windows of other programs (a host's editor windows) by native id, with
  // their places on the screen: toolkit windows may stand for them.
  std::map<std::uint64_t, Rect> hostWindows;
  // Called when a message box waits for the user, after the nested loop
  // has handled every pending message; answers the button (default IDOK).
  std::function<int(const MessageBoxRequest&)> onMessageBox;
  std::vector<MessageBoxRequest> messageBoxes;
  // Answers a file dialog (default: cancelled).
  std::function<std::optional<std::u16string>(const FileDialogRequest&)> onFileDialog;
  std::vector<FileDialogRequest> fileDialogs;
  bool openLinkSucceeds = true;
  std::vector<std::string> openedLinks;
  std::optional<std::u16string> clipboard;
  std::vector<std::string> sounds;
  std::vector<unsigned> beeps;
  // The accessibility events sent, in order.
  struct AccEvent {
    std::uint32_t event;
    WindowHandle window;
    std::int32_t objectId;
    std::int32_t childId;
  };
  std::vector<AccEvent> accEvents;
  Cursor shownCursor = Cursor::Default;
  bool pointerShown = true;

private:
  std::uint32_t fNow;
  bool fInWaitHook = false;
};

// Installs a fresh headless backend for its lifetime (each test gets a clean
// window system) and drives it.
class HeadlessScreen {
public:
  explicit HeadlessScreen(HeadlessConfig config = {});
  ~HeadlessScreen();
  HeadlessScreen(const HeadlessScreen&) = delete;
  HeadlessScreen& operator=(const HeadlessScreen&) = delete;

  HeadlessBackend& Backend() { return *fBackend; }
  HeadlessBackend* operator->() { return fBackend; }

  // Time.
  std::uint32_t Now() const { return fBackend->Now(); }
  void Advance(std::uint32_t ms) { fBackend->Advance(ms); }
  // Lets time pass in steps up to each due timer, pumping after each step.
  void RunFor(std::uint32_t ms);

  // Input, queued as real input would be; Pump delivers it.
  void MoveTo(Point screen);
  void Press(MouseButton button = MouseButton::Left);
  void Release(MouseButton button = MouseButton::Left);
  void Click(Point screen, MouseButton button = MouseButton::Left);
  void DoubleClick(Point screen);
  void Wheel(int delta);
  void KeyDown(std::uint16_t vk, char16_t character = 0);
  void KeyUp(std::uint16_t vk);
  void Key(std::uint16_t vk, char16_t character = 0); // down and up
  void Char(char16_t character);
  // Letters, digits and space as key presses that carry their character.
  void Type(std::u16string_view text);

  // Handles every available message (input, posted, paint, due timers);
  // answers how many. Raises an error when it never runs dry.
  int Pump();

  // The whole virtual screen (all monitors) with every shown top-level
  // window, or one window (its part of its top-level surface).
  Bitmap Screenshot();
  Bitmap Screenshot(WindowHandle h);

private:
  HeadlessBackend* fBackend;
};

} // namespace kest::ui::headless
