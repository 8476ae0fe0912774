#pragma once
// The shipped module in the host harness, its editor open in the host's own
// window on the tests' desktop (EditorDriver.h), and what a user does there.
// The same fixture serves Linux (X11) and Windows (Wine).
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "EditorDriver.h"
#include "EditorWindow.h"
#include "UserSteps.h"
#include "VstHost.h"
#include "ui/gfx/Bitmap.h"

namespace kest::editortest {

constexpr int kAt = 30; // where the host's window asks to lie

// Where the editor's controls are (their centres, in the editor).
constexpr ui::Point kFirstNoteKnob{75 + 12, 93 + 16};
constexpr ui::Point kStyleButton{77 + 11, 288 + 11};
constexpr ui::Point kPresetArrow{292 + 117, 4 + 11};
constexpr ui::Point kBankButton{419 + 12, 4 + 11};
constexpr ui::Point kHelpButton{443 + 12, 4 + 11};
constexpr int kEditorWidth = 494;
constexpr int kEditorHeight = 383;

// The user's actions while the plug-in holds the thread (a menu's loop, a
// file chooser's wait), looked at whenever the plug-in asks for the host's
// idle processing. Past the deadline the user presses Escape.
class UserScript : public x11test::UserSteps {
public:
  explicit UserScript(kest::host::VstHost& host, int timeoutMs = 15000);
  ~UserScript();
  UserScript(const UserScript&) = delete;
  UserScript& operator=(const UserScript&) = delete;

  void Keys(std::initializer_list<const char*> keys);
  int Idles() const { return fIdles; }

private:
  kest::host::VstHost& fHost;
  int fIdles = 0;
};

// A path in the tests' picture folder (made when missing).
std::string ShotPath(const std::string& name);
// The number of distinct colours of a picture: a face has hundreds.
std::size_t Colours(const ui::Bitmap& picture);
// The number of pixels two pictures differ in, over the area they share.
std::size_t Differing(const ui::Bitmap& a, const ui::Bitmap& b);

class ModuleEditor : public ::testing::Test {
protected:
  void SetUp() override; // skips without a desktop; opens the effect
  void TearDown() override;

  // The host's window at (kAt, kAt) with the editor open in it, shown.
  void OpenEditor();
  // The host's idle calls until done() holds.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 8000);
  void Pump(int ms);

  // A point of the editor on the screen.
  ui::Point OnScreen(ui::Point inEditor);
  // What the screen shows of a rectangle of the editor.
  ui::Bitmap EditorPicture(int x, int y, int width, int height);
  ui::Bitmap EditorPicture() { return EditorPicture(0, 0, kEditorWidth, kEditorHeight); }
  // A real click on a point of the editor, then idle calls until the script
  // has run (the menu it opens runs inside one of them).
  void ClickAndRun(ui::Point at, UserScript& script);

  // The menus' windows on the screen, the root level first.
  std::vector<ScreenWindow> Popups();
  // A step that waits until n menu levels are shown and have unfolded.
  std::function<bool()> Levels(std::size_t n);
  // The editor with the open menus over it, saved for people to look at.
  void SaveShot(const std::string& name);

  float Param(int index) { return host.GetParameter(index); }
  int Program() { return static_cast<int>(host.Dispatch(effGetProgram)); }

  EditorDriver& desk = Desktop();
  kest::host::PluginModule module{KEST_MODULE_PATH};
  kest::host::VstHost host;
  std::unique_ptr<kest::host::EditorWindow> window;
};

} // namespace kest::editortest
