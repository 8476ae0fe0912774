#pragma once
// The editor window: a borderless 494 x 383 form carrying every control of
// the plug-in's face, wired to the plug-in in both directions. User edits
// become automated parameter changes; changes from any source come back to
// the controls. It also shows the running step, drives the level meters and
// keeps the parameter the mouse wheel adjusts.
#include <array>
#include <cstdint>
#include <string>

#include "uKestCtrls.h"
#include "uKestUtils.h"
#include "ui/toolkit/Form.h"
#include "ui/toolkit/Timer.h"

class TPlugin;

namespace kest {

class TEditorHandover;

namespace menu {
class TKestPopupMenu;
class TKestCustomItem;
class TKestItem;
} // namespace menu

class TFrmEditor : public ui::Form {
public:
  static constexpr int kWidth = 494;
  static constexpr int kHeight = 383;
  // Carries the running step in wParam (only its low four bits count).
  static constexpr std::uint32_t WM_KEST_STEP = ui::WM_USER + 1;
  static constexpr std::uint32_t kMeterIntervalMs = 25;

  // Builds the form and every control in code; the meter timer runs at once.
  explicit TFrmEditor(ui::Component* AOwner);
  ~TFrmEditor() override;

  TPlugin* Plugin() const { return fPlugin; }
  void SetPlugin(TPlugin* Value) { fPlugin = Value; }
  // Where values from other threads wait (the editor host's); not owned.
  void SetHandover(TEditorHandover* Value) { fHandover = Value; }

  // A parameter's plain value to its control(s); never fires control
  // events. The user-interface thread only; indices outside 0...107 do nothing.
  void SetEditorParametr(int32_t index, double value);
  void SetPresetName(const std::u16string& aName);
  // Shows what other threads handed over: parameter values, the preset
  // name, and the step, which is posted to this window as WM_KEST_STEP.
  void ApplyHandover();

  // The menus the four drop-down buttons open (styles, presets, bank,
  // help); null leaves a button without one. The form gives its buttons its
  // own menus at creation; a caller giving others keeps them.
  void SetDropDownMenus(TKestPopupMenuIntf* Styles, TKestPopupMenuIntf* Presets,
                        TKestPopupMenuIntf* Bank, TKestPopupMenuIntf* Help);

  // The parameter the wheel adjusts; -1 for none.
  int LastPar() const { return fLastPar; }

  // The menus' commands (they run after their menu has closed). Errors
  // reach the application's error handler; those already shown to the
  // user (a bank file that cannot be read or written) end silently.
  // The random style (0...303): set, and new note rows in it at once.
  void ChooseStyle(int Style);
  // The auto-random period in bars (0 = off); nothing is filled now.
  void ChooseAutoRandom(int Bars);
  void ChoosePreset(int Program);
  // The bank commands; each but the save makes program 0 current.
  void LoadBank();
  void SaveBank();
  void DefaultBank();
  void EmptyBank();
  void CopyPreset();
  void PastePreset();
  bool CanPastePreset() const;
  void RenamePreset();
  // The help menu's commands by tag: 0 the manual, 1 the home page,
  // 2 the donation page, 3 the about window.
  void HelpCommand(int Tag);
  // The style and the auto-random period as the style menu marks them.
  int CurrentStyle() const;
  int CurrentAutoRandom() const;
  // The file name the bank dialogs start with (the last one chosen).
  std::u16string BankFileName() const;

  // The controls, as the layout places them.
  TKestStepLed* Leds = nullptr;
  std::array<TKestSwitch*, 16> Pat1{}, Pat2{}, Pat3{};
  std::array<TKestKnob*, 16> Frq1{}, Frq2{}, Frq3{};
  TKestSlider *SlLev = nullptr, *SlDpt = nullptr, *SlGld = nullptr, *SlDtn = nullptr;
  TKestLedBtn *CkChA = nullptr, *CkChB = nullptr, *CkChC = nullptr;
  TKestNoteLabel* LbNote = nullptr;
  TKestKeybrd* KbNote = nullptr;
  TKestOctSpin *SeOct = nullptr, *SeRng = nullptr;
  TKestButton *BtRnd = nullptr, *BtMnu = nullptr;
  TKestVUMeter *VU1 = nullptr, *VU2 = nullptr;
  TKestPresetBox* Prsbox = nullptr;
  TKestTopButton *BtBank = nullptr, *BtHelp = nullptr;
  ui::Timer* VUTimer = nullptr;
  // The menus, owned by the form and given to the buttons at creation.
  menu::TKestPopupMenu *MnSty = nullptr, *MnPrs = nullptr, *MnBnk = nullptr, *MnHlp = nullptr;
  menu::TKestItem* MiPaste = nullptr;

protected:
  ui::LResult WndProc(std::uint32_t msg, ui::WParam w, ui::LParam l) override;
  void Paint() override;
  // The face covers the whole form: there is nothing to erase under it.
  void EraseBackground(ui::Canvas& canvas) override;
  // Every showing pushes all values and has the plug-in apply its preset.
  void DoShow() override;
  void KeyDown(std::uint16_t& key, ui::ShiftState shift) override;
  bool DoMouseWheel(ui::ShiftState shift, int delta, ui::Point screen) override;
  // A press on the face outside every control.
  void MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;

private:
  // Creation (TFrmEditor_layout.cpp).
  void CreateControls();
  template <class T> T* Place(int left, int top, int tag, const std::string& name);
  void WireValueControl(TKestControl* c);

  // Menus (TFrmEditor_menus.cpp). The style menu's radio groups, and the
  // preset menu's.
  static constexpr int kStyleItems = 1;
  static constexpr int kPeriodItems = 2;
  static constexpr int kPresetItems = 1;
  void CreateMenus();
  void CreateStyleMenu();
  void CreateBankMenu();
  void CreateHelpMenu();
  // Marks the current style and period (the menu's opening).
  void MarkStyleMenu();
  // The 32 presets as the bank has them now (the menu's opening).
  void RebuildPresetMenu();

  // Handlers (TFrmEditor_input.cpp, TFrmEditor_values.cpp).
  void ParameterChange(TKestControl* Sender);
  void RootNoteChange(TKestControl* Sender);
  void Selection(TKestControl* Sender, int Index);
  void BackgroundClick();
  void RandomRelease();
  void Rename(ui::Component* Sender, std::u16string& NewText, bool& Accept);
  void MeterTick();
  void Edit(int32_t index, double value);
  void SetLastPar(int index);

  // Commands (TFrmEditor_commands.cpp).
  template <class F> void RunCommand(F&& command);
  // Asks the user for a bank file; false when the dialog was cancelled.
  bool ChooseBankFile(bool open);
  // Program 0 of a bank just replaced becomes current, and the host hears.
  void SelectFirstProgram();
  void Complain(const std::u16string& text);

  TPlugin* fPlugin = nullptr;
  TEditorHandover* fHandover = nullptr;
  int fLastPar = 0;
  // The bank dialogs' file name; it keeps the last one while the form exists.
  TZFileName fBankFileName;
};

} // namespace kest
