#include "PopupFixture.h"

#include <stdexcept>

#include "ViewFixture.h"
#include "ui/gfx/Utf.h"
#include "ui/toolkit/Application.h"

namespace kest::menu::test {

using namespace kest::ui;

headless::HeadlessConfig PopupTest::Quiet() {
  headless::HeadlessConfig c;
  c.settings.menuAnimation = false;
  return c;
}

PopupTest::PopupTest(headless::HeadlessConfig config) : screen(std::move(config)) {}

void PopupTest::SetUp() {
  App().Reset();
  if (!PinTestFonts()) GTEST_SKIP() << "DejaVu fonts are missing (install fonts-dejavu-core)";
  menu = new TKestPopupMenu(nullptr);
  screen->onWait = [this](std::uint32_t) { return Step(); };
}

void PopupTest::TearDown() {
  EXPECT_TRUE(fSteps.empty()) << fSteps.size() << " steps left: the menu closed too early";
  screen->onWait = nullptr;
  delete menu;
  App().Reset();
}

void PopupTest::Then(std::function<void()> step) {
  fSteps.push_back(std::move(step));
}

bool PopupTest::Step() {
  if (fSteps.empty()) {
    if (LevelCount() > 0) throw std::logic_error("the menu is still open after the last step");
    return false;
  }
  auto step = std::move(fSteps.front());
  fSteps.pop_front();
  step();
  return true;
}

TKestView* PopupTest::Level(int i) {
  for (WindowHandle h : GetTopLevelWindows()) {
    auto* w = dynamic_cast<TKestPopupWindow*>(WinControl::FindControl(h));
    if (!w || w->View()->ParentView() || !w->View()->State().Contains(vsModal)) continue;
    TKestView* v = w->View();
    for (; v && i > 0; --i)
      v = v->OpenViewerView();
    return v;
  }
  return nullptr;
}

int PopupTest::LevelCount() {
  int n = 0;
  while (Level(n))
    ++n;
  return n;
}

Rect PopupTest::Bounds(int level) {
  return GetWindowScreenRect(Level(level)->Window()->Handle());
}

Point PopupTest::Centre(int level, const TKestCustomItem* item) {
  return test::Centre(Level(level), item);
}

void PopupTest::ClickOn(int level, const TKestCustomItem* item) {
  screen.Click(Centre(level, item));
}

std::string PopupTest::Selected(int level) {
  return SelectedCaption(Level(level));
}

int PopupTest::PopupWindowCount() {
  int n = 0;
  for (WindowHandle h : GetTopLevelWindows())
    n += dynamic_cast<TKestPopupWindow*>(WinControl::FindControl(h)) != nullptr;
  return n;
}

TKestItem* PopupTest::Item(const std::u16string& caption, TKestCustomItem* parent) {
  return menu->AddItem(
      parent, caption, [this, caption](Component*) { clicks.push_back(Utf16ToUtf8(caption)); }, 0);
}

TKestSubmenuItem* PopupTest::Submenu(const std::u16string& caption, TKestCustomItem* parent) {
  return menu->AddSubmenuItem(parent, caption);
}
} // namespace kest::menu::test
