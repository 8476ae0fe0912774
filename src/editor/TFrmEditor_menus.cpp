// The editor's four menus, built in code with the form: the random styles
// with the auto-random period, the presets (made anew at every opening),
// the bank, and help. Their items call the form's commands.
#include <array>
#include <string>

#include "StyleTable.h"
#include "TFrmEditor.h"
#include "TPlugin.h"
#include "TextCodec.h"
#include "uKestPopupMenu.h"
#include "ui/gfx/Utf.h"

namespace kest {

namespace {

constexpr std::array<const char16_t*, 9> kPeriodCaptions{
    u"Off",           u"Each bar",      u"Each 2-th bar", u"Each 3-th bar", u"Each 4-th bar",
    u"Each 5-th bar", u"Each 6-th bar", u"Each 7-th bar", u"Each 8-th bar"};

int TagOf(ui::Component* Sender) {
  return static_cast<int>(Sender->Tag());
}

// Every item under Parent, those of its submenus included.
template <class F> void ForEachItem(menu::TKestCustomItem* Parent, const F& visit) {
  for (int i = 0; i < Parent->Count(); ++i) {
    menu::TKestCustomItem* item = Parent->Items(i);
    visit(item);
    ForEachItem(item, visit);
  }
}

menu::TKestPopupMenu* NewMenu(ui::Component* owner, const char* name) {
  auto* m = new menu::TKestPopupMenu(owner);
  m->SetName(name);
  return m;
}

} // namespace

void TFrmEditor::CreateMenus() {
  CreateStyleMenu();
  MnPrs = NewMenu(this, "MnPrs");
  MnPrs->OnPopup = [this](ui::Component*) { RebuildPresetMenu(); };
  CreateBankMenu();
  CreateHelpMenu();
  SetDropDownMenus(MnSty, MnPrs, MnBnk, MnHlp);
}

void TFrmEditor::CreateStyleMenu() {
  MnSty = NewMenu(this, "MnSty");
  const auto chooseStyle = [this](ui::Component* s) { ChooseStyle(TagOf(s)); };
  for (const StyleGroup& group : StyleMenu()) {
    auto* sub = MnSty->AddSubmenuItem(nullptr, ui::Utf8ToUtf16(group.Name));
    for (int number : group.Items) {
      if (number == StyleGroup::kSeparator) {
        MnSty->AddSeparatorItem(sub);
      } else {
        MnSty->AddRadioItem(sub, ui::Utf8ToUtf16(FindStyle(number)->Name), number, chooseStyle,
                            kStyleItems);
      }
    }
  }
  MnSty->AddSeparatorItem(nullptr);
  auto* periods = MnSty->AddSubmenuItem(nullptr, u"Auto random");
  const auto choosePeriod = [this](ui::Component* s) { ChooseAutoRandom(TagOf(s)); };
  for (std::size_t bars = 0; bars < kPeriodCaptions.size(); ++bars) {
    MnSty->AddRadioItem(periods, kPeriodCaptions[bars], static_cast<std::intptr_t>(bars),
                        choosePeriod, kPeriodItems);
  }
  MnSty->OnPopup = [this](ui::Component*) { MarkStyleMenu(); };
}

void TFrmEditor::MarkStyleMenu() {
  // Read at every opening: the host may have automated both meanwhile.
  const int style = CurrentStyle();
  const int period = CurrentAutoRandom();
  ForEachItem(MnSty->Items(), [&](menu::TKestCustomItem* item) {
    if (item->GroupIndex() == kStyleItems) item->SetChecked(item->Tag() == style);
    if (item->GroupIndex() == kPeriodItems) item->SetChecked(item->Tag() == period);
  });
}

void TFrmEditor::RebuildPresetMenu() {
  MnPrs->Items()->Clear();
  if (!fPlugin) return;
  const auto choose = [this](ui::Component* s) { ChoosePreset(TagOf(s)); };
  for (int32_t i = 0; i < TPlugin::kNumPrograms; ++i) {
    const std::u16string name = Cp1252ToUtf16(fPlugin->Bank()[i].Preset());
    auto* item = MnPrs->AddRadioItem(nullptr, name, i, choose, kPresetItems);
    item->SetChecked(i == fPlugin->GetProgram());
  }
}

void TFrmEditor::CreateBankMenu() {
  MnBnk = NewMenu(this, "MnBnk");
  const auto add = [this](const char16_t* caption, void (TFrmEditor::*command)()) {
    return MnBnk->AddItem(
        nullptr, caption, [this, command](ui::Component*) { (this->*command)(); }, 0);
  };
  add(u"Load Bank...", &TFrmEditor::LoadBank);
  add(u"Save Bank...", &TFrmEditor::SaveBank);
  add(u"Default Bank", &TFrmEditor::DefaultBank);
  add(u"Empty Bank", &TFrmEditor::EmptyBank);
  MnBnk->AddSeparatorItem(nullptr);
  add(u"Copy Preset", &TFrmEditor::CopyPreset);
  MiPaste = add(u"Paste Preset", &TFrmEditor::PastePreset);
  add(u"Rename Preset", &TFrmEditor::RenamePreset);
  MnBnk->OnPopup = [this](ui::Component*) { MiPaste->SetEnabled(CanPastePreset()); };
}

void TFrmEditor::CreateHelpMenu() {
  MnHlp = NewMenu(this, "MnHlp");
  const auto help = [this](ui::Component* s) { HelpCommand(TagOf(s)); };
  const std::array<const char16_t*, 4> captions{u"Help online...", u"Home page...", u"Donation...",
                                                u"About..."};
  for (std::size_t tag = 0; tag < captions.size(); ++tag)
    MnHlp->AddItem(nullptr, captions[tag], help, static_cast<std::intptr_t>(tag));
}

} // namespace kest
