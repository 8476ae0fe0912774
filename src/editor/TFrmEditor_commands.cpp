// The commands of the editor's menus: the random style and the auto-random
// period, the preset choice, the bank (load, save, default, empty), the
// preset clipboard and rename, and help.
#include <algorithm>

#include "EditorLinks.h"
#include "TFrmAbout.h"
#include "TFrmEditor.h"
#include "TPlugin.h"
#include "uKestDialogs.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"
#include "ui/toolkit/Application.h"

namespace kest {

template <class F> void TFrmEditor::RunCommand(F&& command) {
  try {
    command();
  } catch (const EAbort&) {
    // Already shown to the user where it happened.
  } catch (...) {
    ui::App().HandleException(std::current_exception());
  }
}

void TFrmEditor::Complain(const std::u16string& text) {
  ui::ShowMessageBox(Handle(), text, ui::Utf8ToUtf16(MessageCaption),
                     ui::MB_ICONEXCLAMATION | ui::MB_OK);
}

int TFrmEditor::CurrentStyle() const {
  return fPlugin ? RoundEven(fPlugin->Preset()[kRandomStyle].Value()) : -1;
}

int TFrmEditor::CurrentAutoRandom() const {
  return fPlugin ? RoundEven(fPlugin->Preset()[kAutoRandom].Value()) : -1;
}

void TFrmEditor::ChooseStyle(int Style) {
  RunCommand([&] {
    Edit(kRandomStyle, Style);
    if (fPlugin) fPlugin->FillRandomSeq();
  });
}

void TFrmEditor::ChooseAutoRandom(int Bars) {
  RunCommand([&] { Edit(kAutoRandom, Bars); });
}

void TFrmEditor::ChoosePreset(int Program) {
  RunCommand([&] {
    if (!fPlugin) return;
    fPlugin->SetProgramManual(Program);
    // Hosts show the current program; nothing else tells them it changed.
    fPlugin->UpdateDisplay();
  });
}

void TFrmEditor::SelectFirstProgram() {
  fPlugin->SetProgram(0);
  // The host's list of program names is out of date.
  fPlugin->UpdateDisplay();
}

std::u16string TFrmEditor::BankFileName() const {
  const auto* text = fBankFileName.Text;
  return std::u16string(text, std::find(text, text + std::size(fBankFileName.Text) - 1, u'\0'));
}

bool TFrmEditor::ChooseBankFile(bool open) {
  const bool chosen = FileDialog(fBankFileName, Handle(), open, u"",
                                 open ? u"Load Kestrelphon bank" : u"Save Kestrelphon bank as",
                                 BankFileFilter, BankFileExt);
  // The dialog goes and the editor repaints before the file is touched.
  if (chosen) ui::App().ProcessMessages();
  return chosen;
}

void TFrmEditor::LoadBank() {
  RunCommand([&] {
    if (!ChooseBankFile(true) || !fPlugin) return;
    // A bank that cannot be read is reported and leaves the bank as it was.
    fPlugin->Bank().LoadFromFile(ui::Utf16ToUtf8(BankFileName()));
    SelectFirstProgram();
  });
}

void TFrmEditor::SaveBank() {
  RunCommand([&] {
    if (!ChooseBankFile(false) || !fPlugin) return;
    // A failed save is reported and leaves the old file as it was.
    fPlugin->Bank().SaveToFile(ui::Utf16ToUtf8(BankFileName()));
  });
}

void TFrmEditor::DefaultBank() {
  RunCommand([&] {
    if (!fPlugin) return;
    fPlugin->Bank().LoadDefaultBank();
    SelectFirstProgram();
  });
}

void TFrmEditor::EmptyBank() {
  RunCommand([&] {
    if (!fPlugin) return;
    fPlugin->Bank().ResetBank();
    SelectFirstProgram();
  });
}

void TFrmEditor::CopyPreset() {
  RunCommand([&] {
    if (fPlugin) fPlugin->CopyPreset();
  });
}

bool TFrmEditor::CanPastePreset() const {
  return fPlugin && fPlugin->CanPastePreset();
}

void TFrmEditor::PastePreset() {
  RunCommand([&] {
    if (!CanPastePreset()) return;
    fPlugin->PastePreset();
    fPlugin->UpdateDisplay();
  });
}

void TFrmEditor::RenamePreset() {
  RunCommand([&] { Prsbox->ShowEdit(); });
}

void TFrmEditor::HelpCommand(int Tag) {
  RunCommand([&] {
    switch (Tag) {
    case 0:
      OpenManual({}, Handle());
      break;
    case 1:
      OpenManual(kHomeSection, Handle());
      break;
    case 2:
      OpenManual(kDonationSection, Handle());
      break;
    case 3:
      TFrmAbout::ShowAbout(this);
      break;
    default:
      break;
    }
  });
}

} // namespace kest
