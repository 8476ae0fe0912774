// The editor as a host drives it: its rectangle, opening inside the host's
// window and closing (counted), refusals that leave nothing behind, and the
// buttons' drop-down menus.
#include "EditorFixture.h"
#include "EditorRegistration.h"
#include "TPlugin.h"
#include "uKestMenu_popup.h"
#include "uKestPopupMenu.h"
#include "uKestSkins.h"
#include "ui/windowing/Backend.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::test {
namespace {

using EditorHost = EditorTest;

ERect* HostRect(kest::host::VstHost& host) {
  ERect* rect = nullptr;
  EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  return rect;
}

TEST_F(EditorHost, RectangleAndCountedOpenAndClose) {
  EXPECT_TRUE(effect->flags & effFlagsHasEditor);
  ERect* r = HostRect(host);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->top, 0);
  EXPECT_EQ(r->left, 0);
  EXPECT_EQ(r->bottom, 383);
  EXPECT_EQ(r->right, 494);

  CloseEditor(); // without an open: nothing
  EXPECT_EQ(Editor().UseCount(), 0);

  ASSERT_EQ(OpenEditor(), 1);
  const ui::WindowHandle form = Form().Handle();
  const ui::WindowHandle standIn = ui::GetParent(form);
  EXPECT_EQ(ui::GetWindowScreenRect(standIn), ui::Rect::FromSize(kHostAt.x, kHostAt.y, 494, 383));
  EXPECT_EQ(ui::GetWindowBounds(form), ui::Rect::FromSize(0, 0, 494, 383));
  EXPECT_TRUE(ui::IsWindowVisible(form));
  EXPECT_EQ(HostRect(host)->right, 494) << "the same rectangle while open";

  ASSERT_EQ(OpenEditor(), 1);
  EXPECT_EQ(Editor().Form()->Handle(), form) << "a second open keeps the editor";
  CloseEditor();
  ASSERT_NE(Editor().Form(), nullptr);
  EXPECT_TRUE(ui::IsWindowVisible(form)) << "still opened once: still shown";
  CloseEditor();
  EXPECT_EQ(Editor().Form(), nullptr);
  EXPECT_FALSE(ui::IsWindow(form));
  EXPECT_TRUE(ui::GetTopLevelWindows().empty()) << "nothing left behind";
  EXPECT_EQ(Editor().UseCount(), 0);

  // Many times over, each time from scratch.
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(OpenEditor(), 1);
    Idle();
    CloseEditor();
    ASSERT_TRUE(ui::GetTopLevelWindows().empty()) << i;
  }
}

TEST_F(EditorHost, RefusalsLeaveNothingBehind) {
  EXPECT_EQ(OpenEditor(nullptr), 0) << "no parent window";
  EXPECT_EQ(OpenEditor(reinterpret_cast<void*>(std::uintptr_t{0x77})), 0) << "not a window";
  displayRuns = false;
  EXPECT_EQ(OpenEditor(), 0) << "no display";
  displayFails = true;
  EXPECT_EQ(OpenEditor(), 0) << "an error, not thrown into the host";
  displayFails = false;
  for (int op : {effEditIdle, effEditClose})
    host.Dispatch(op);
  EXPECT_EQ(Editor().Form(), nullptr);
  EXPECT_EQ(Editor().UseCount(), 0);
  EXPECT_TRUE(ui::GetTopLevelWindows().empty());
  displayRuns = true;
  EXPECT_EQ(OpenEditor(), 1) << "a display that appears later is used";
  CloseEditor();

  // Without its face the plug-in offers the editor but opens none.
  FreeSharedSkins();
  EXPECT_EQ(OpenEditor(), 0);
  EXPECT_TRUE(ui::GetTopLevelWindows().empty());
  LoadSharedSkins();

  // A module that registered no editor makes plug-ins without one.
  UnregisterEditor();
  kest::host::VstHost plain;
  AEffect* e = plain.Open(&PluginEntry);
  ASSERT_NE(e, nullptr);
  EXPECT_FALSE(e->flags & effFlagsHasEditor);
  EXPECT_EQ(plain.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(kHostWindow)), 0);
}

TEST_F(EditorHost, ACloseFromInsideTheEditorsOwnHandlerWaitsForIt) {
  ASSERT_EQ(OpenEditor(), 1);
  // A host that closes the editor when told of an edit (inside the press).
  Form().Pat1[0]->OnChange = [this](TKestControl*) { CloseEditor(); };
  ClickAt(Form().Pat1[0], 10, 10);
  EXPECT_EQ(Editor().Form(), nullptr);
  EXPECT_TRUE(ui::GetTopLevelWindows().empty());
}

TEST_F(EditorHost, StepControlsAreNumberedAcrossTheChannels) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  const std::array<const std::array<TKestSwitch*, 16>*, 3> switches{&f.Pat1, &f.Pat2, &f.Pat3};
  const std::array<const std::array<TKestKnob*, 16>*, 3> knobs{&f.Frq1, &f.Frq2, &f.Frq3};
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 16; ++i) {
      const std::string n = std::to_string(1 + 3 * i + c);
      const TKestSwitch* s = (*switches[c])[i];
      const TKestKnob* k = (*knobs[c])[i];
      EXPECT_EQ(f.FindComponent("Switch" + n), s);
      EXPECT_EQ(f.FindComponent("Knob" + n), k);
      EXPECT_EQ(s->Tag(), StepSwitchIndex(c, i));
      EXPECT_EQ(k->Tag(), StepNoteIndex(c, i));
      EXPECT_EQ(s->BoundsRect(), ui::Rect::FromSize(75 + 24 * i, 70 + 62 * c, 24, 23));
      EXPECT_EQ(k->BoundsRect(), ui::Rect::FromSize(75 + 24 * i, 93 + 62 * c, 24, 33));
    }
  EXPECT_EQ(f.SlLev->MinValue(), -60);
  EXPECT_EQ(f.SlLev->MaxValue(), 6);
  EXPECT_EQ(f.SlDtn->MaxValue(), 50);
  EXPECT_EQ(f.SeRng->MinValue(), 1);
}

// The open menu's root window, or null.
menu::TKestPopupWindow* OpenMenu() {
  for (ui::WindowHandle h : ui::GetTopLevelWindows())
    if (auto* w = dynamic_cast<menu::TKestPopupWindow*>(ui::WinControl::FindControl(h))) return w;
  return nullptr;
}

// A one-item menu on the style button alone.
void GiveTheStyleButtonAMenu(TFrmEditor& f) {
  auto* styles = new menu::TKestPopupMenu(&f);
  styles->AddItem(nullptr, u"Minor", nullptr, 0);
  f.SetDropDownMenus(styles, nullptr, nullptr, nullptr);
}

TEST_F(EditorHost, DropDownButtonsOpenRealMenusBelowThemselves) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  // One item each, for the test: the editor's own menus come later.
  std::vector<std::string> chosen;
  auto testMenu = [&](const char* name) {
    auto* m = new menu::TKestPopupMenu(&f);
    m->AddItem(
        nullptr, u"&Choose", [&chosen, name](ui::Component*) { chosen.push_back(name); }, 0);
    return m;
  };
  auto* styles = testMenu("styles");
  f.SetDropDownMenus(styles, testMenu("presets"), testMenu("bank"), testMenu("help"));
  ui::Rect shown;
  screen->onWait = [&](std::uint32_t) {
    menu::TKestPopupWindow* w = OpenMenu();
    if (!w) return false;
    if (ui::GetAsyncKeyState(ui::VK_LBUTTON) < 0) {
      screen.Release(); // of the press that opened it
      return true;
    }
    if (!shown.IsEmpty()) throw std::logic_error("the menu did not take its accelerator");
    shown = ui::GetWindowScreenRect(w->Handle());
    screen.Type(u"c");
    return true;
  };
  struct Case {
    TKestButton* button;
    int x;
    const char* name;
  };
  for (const Case& c : {Case{f.BtMnu, 10, "styles"}, Case{f.Prsbox, 115, "presets"},
                        Case{f.BtBank, 10, "bank"}, Case{f.BtHelp, 10, "help"}}) {
    shown = {};
    PressAt(c.button, c.x, 10);
    Idle();
    EXPECT_EQ(shown.TopLeft(), c.button->ClientToScreen({-1, c.button->Height()}))
        << c.button->Name();
    EXPECT_EQ(chosen.back(), c.name) << "chosen, then run from the host's next idle";
    EXPECT_EQ(OpenMenu(), nullptr);
  }
  EXPECT_EQ(styles->PopupComponent(), f.BtMnu);
  EXPECT_GT(host.CallCount(audioMasterIdle), 0) << "the host had its idle while a menu was open";
}

TEST_F(EditorHost, WhileAMenuIsOpenTheStepLightMovesAndTheHostsIdleCallsAreHarmless) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  GiveTheStyleButtonAMenu(f);
  host.Resume();
  host.Time().ppqPos = 0;
  std::vector<int> steps;
  screen->onWait = [&](std::uint32_t) {
    if (!OpenMenu()) return false;
    if (ui::GetAsyncKeyState(ui::VK_LBUTTON) < 0) {
      screen.Release();
      return true;
    }
    if (steps.size() > 4) throw std::logic_error("the menu did not close");
    steps.push_back(f.Leds->Step());
    // From the second half on, the host answers the menu's idle request
    // with an idle call.
    host.SetEditIdleOnIdleRequest(steps.size() >= 2);
    if (steps.size() == 4) {
      screen.Key(ui::VK_ESCAPE);
      return true;
    }
    Play(0.3); // the audio thread plays on
    screen.Advance(30);
    return true;
  };
  PressAt(f.BtMnu, 10, 10);
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_NE(steps[0], steps[1]) << "the editor's timers run in the menu's loop";
  EXPECT_NE(steps[2], steps[3]);
  EXPECT_EQ(f.Leds->Step(), Plugin().CurrentStep());
  EXPECT_GT(host.CallCount(audioMasterIdle), 0);
  EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(EditorHost, AHostClosingTheEditorFromInsideAMenuClosesTheMenuFirst) {
  ASSERT_EQ(OpenEditor(), 1);
  TFrmEditor& f = Form();
  GiveTheStyleButtonAMenu(f);
  host.SetIdleRequestAnswer([this] { CloseEditor(); });
  int waits = 0;
  bool stuck = false;
  screen->onWait = [&](std::uint32_t) {
    if (!OpenMenu() || ++waits < 10) return false;
    stuck = true; // the user gives up
    ui::InputCancelMode();
    return true;
  };
  PressAt(f.BtMnu, 10, 10);
  EXPECT_FALSE(stuck) << "the menu stayed open over a closed editor";
  EXPECT_EQ(Editor().Form(), nullptr);
  EXPECT_TRUE(ui::GetTopLevelWindows().empty());
  EXPECT_EQ(ui::GetCaptureWnd(), 0u);
  screen.Release();
  Idle();
}

} // namespace
} // namespace kest::test
