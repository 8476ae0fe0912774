// Opening and closing a popup menu on the headless screen: laying out,
// showing and painting its window, running its loop until Escape, and the
// accessibility events on the way (no screen reader listening).
#include <benchmark/benchmark.h>

#include <string>

#include "uKestPopupMenu.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"

namespace {

using namespace kest::ui;
using kest::menu::TKestPopupMenu;

void BM_OpenAndCloseMenu(benchmark::State& state) {
  headless::HeadlessConfig config;
  config.settings.menuAnimation = false;
  headless::HeadlessScreen screen(config);
  TKestPopupMenu menu(nullptr);
  for (int i = 0; i < 12; ++i)
    menu.AddItem(nullptr, u"Item &" + std::u16string(1, static_cast<char16_t>(u'A' + i)),
                 nullptr, 0);
  auto* more = menu.AddSubmenuItem(nullptr, u"&More");
  menu.AddItem(more, u"Deeper", nullptr, 0);
  bool closing = false;
  screen->onWait = [&](std::uint32_t) {
    if (closing) return false;
    closing = true;
    screen.Key(VK_ESCAPE);
    return true;
  };
  for (auto _ : state) {
    closing = false;
    menu.Popup(200, 100);
    screen->accEvents.clear();
  }
  screen->onWait = nullptr;
}
BENCHMARK(BM_OpenAndCloseMenu)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
