#pragma once
// Views on a headless screen inside stand-ins for the menu's popup
// windows: a framed top-level window that paints its view and passes the
// view's timer ticks on, as the menu loop will; submenus open beside their
// item in windows of the same kind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "uKestMenu_views.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/WinControl.h"

namespace kest::menu::test {

class TestPopup;

class TestPopupView : public TKestPopupView {
public:
  using TKestPopupView::TKestPopupView;
  void CreateChildPopup(TKestItemViewer* AViewer, bool SelectFirstItem) override;
};

class TestPopup : public kest::ui::WinControl {
public:
  TestPopup(TKestView* parentView, TKestCustomItem* item, kest::ui::Point at);
  TestPopupView* view = nullptr;

protected:
  void CreateParamsFor(kest::ui::CreateParams& params) override;
  kest::ui::LResult WndProc(std::uint32_t msg, kest::ui::WParam w, kest::ui::LParam l) override;
  void EraseBackground(kest::ui::Canvas& canvas) override;
  void PaintWindow(kest::ui::Canvas& canvas) override;
};

class ViewTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Items under the root.
  TKestItem* AddItem(const std::u16string& caption, TKestCustomItem* parent = nullptr);
  TKestSubmenuItem* AddSubmenu(const std::u16string& caption, TKestCustomItem* parent = nullptr);
  TKestSeparatorItem* AddSeparator(TKestCustomItem* parent = nullptr);
  TKestLabelItem* AddLabel(const std::u16string& caption, TKestCustomItem* parent = nullptr);
  template <class T> T* Add(TKestCustomItem* parent, const std::u16string& caption);

  // Shows the root's items at a screen point in a modal view.
  TKestView* Open(kest::ui::Point at = {200, 100});
  // The pointer moves there and every open view updates its selection, as
  // the menu loop does for a pointer move.
  void PointTo(kest::ui::Point p);
  void Key(std::uint16_t key, kest::ui::ShiftState shift = 0);
  TKestView* Deepest();

  kest::ui::headless::HeadlessScreen screen;
  TKestRootItem* root = nullptr;
  TestPopup* popup = nullptr;
};

// The screen point in the middle of an item's viewer.
kest::ui::Point Centre(TKestView* view, const TKestCustomItem* item);
// The caption of the selected item of a view, or "-" when none (or no view).
std::string SelectedCaption(TKestView* view);

std::string OutputPath(const std::string& name);
// Pins the menu font to DejaVu, so that sizes and pictures do not depend
// on the machine's fonts; false when DejaVu is missing.
bool PinTestFonts();

} // namespace kest::menu::test
