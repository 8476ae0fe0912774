// Clicks posted to run after the current message: order, items freed on
// the way, slot reuse, failures, and the per-thread window's lifetime.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "MenuRecorder.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/toolkit/Application.h"

namespace kest::menu {
namespace {

using kest::ui::headless::HeadlessScreen;

class Deferred : public ::testing::Test {
protected:
  HeadlessScreen screen;
  kest::ui::Component owner;
  std::string log;
  TKestItem* Make(char name) {
    auto* item = new TKestItem(&owner);
    item->OnClick = [this, name](kest::ui::Component*) { log += name; };
    return item;
  }
  // A window that writes its messages' wParam into the log.
  kest::ui::WindowHandle Marker() {
    kest::ui::WindowDesc desc;
    desc.proc = [this](kest::ui::WindowHandle h, std::uint32_t m, kest::ui::WParam w,
                       kest::ui::LParam l) {
      if (m == kest::ui::WM_USER) log += static_cast<char>(w);
      return kest::ui::DefaultWindowProc(h, m, w, l);
    };
    return kest::ui::CreateWnd(desc);
  }
  void TearDown() override { kest::ui::App().Reset(); }
};

TEST_F(Deferred, APostedClickRunsWhenMessagesAreHandledInPostingOrder) {
  TKestItem* a = Make('a');
  const auto m = Marker();
  a->PostClick();
  kest::ui::PostMsg(m, kest::ui::WM_USER, 'm');
  a->PostClick();
  EXPECT_EQ(log, "");
  screen.Pump();
  EXPECT_EQ(log, "ama");
}

TEST_F(Deferred, AnItemFreedBeforeItsMessageIsNotClickedAndItsSlotIsNotReused) {
  TKestItem* keepAlive = Make('k'); // keeps the queue's window alive
  TKestItem* gone = Make('g');
  TKestItem* b = Make('b');
  const auto m = Marker();
  gone->PostClick();
  delete gone;
  kest::ui::PostMsg(m, kest::ui::WM_USER, 'm');
  // Reusing the freed item's slot would run b at the first message.
  b->PostClick();
  screen.Pump();
  EXPECT_EQ(log, "mb");
  // All slots are free again: the next click is not confused with old ones.
  b->PostClick();
  screen.Pump();
  EXPECT_EQ(log, "mbb");
  (void)keepAlive;
}

TEST_F(Deferred, AHandlerMayFreeItsOwnItemAndClicksFollowCheckAndEnabledState) {
  TKestItem* a = Make('a');
  a->OnClick = [&](kest::ui::Component* s) {
    log += 'a';
    delete s;
  };
  TKestItem* c = Make('c');
  c->SetAutoCheck(true);
  a->PostClick();
  c->PostClick();
  c->PostClick();
  screen.Pump();
  EXPECT_EQ(log, "acc");
  EXPECT_FALSE(c->Checked()); // toggled twice
  c->PostClick();
  c->SetEnabled(false); // the state when the message arrives counts
  screen.Pump();
  EXPECT_EQ(log, "acc");
}

TEST_F(Deferred, FailuresGoToTheApplicationAndLaterClicksStillRun) {
  std::string errors;
  kest::ui::App().OnException = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      errors += ex.what();
    }
  };
  TKestItem* bad = Make('x');
  bad->OnClick = [](kest::ui::Component*) { throw std::runtime_error("boom"); };
  TKestItem* good = Make('g');
  bad->PostClick();
  good->PostClick();
  EXPECT_NO_THROW(screen.Pump());
  EXPECT_EQ(errors, "boom");
  EXPECT_EQ(log, "g");
}

TEST_F(Deferred, TheQueueWindowGoesWithTheLastItemAndComesBackWithTheNext) {
  // Handles are handed out in order: the queue's window is the next one.
  kest::ui::WindowDesc probe;
  probe.messageOnly = true;
  const kest::ui::WindowHandle queue = kest::ui::CreateWnd(probe) + 1;
  {
    TKestItem only;
    only.OnClick = [&](kest::ui::Component*) { log += 'o'; };
    only.PostClick();
    EXPECT_TRUE(kest::ui::IsMessageOnlyWindow(queue)) << "never a window on the screen";
    EXPECT_TRUE(kest::ui::GetTopLevelWindows().empty());
  }
  EXPECT_FALSE(kest::ui::IsWindow(queue));
  screen.Pump(); // the message went with its window
  EXPECT_EQ(log, "");
  TKestItem* next = Make('n');
  next->PostClick();
  screen.Pump();
  EXPECT_EQ(log, "n");
}

TEST_F(Deferred, EachThreadRunsOnlyItsOwnClicks) {
  bool clickedOnWorker = false;
  std::thread worker([&] {
    TKestItem item;
    item.OnClick = [&](kest::ui::Component*) { clickedOnWorker = true; };
    item.PostClick();
    kest::ui::App().ProcessMessages();
  });
  worker.join();
  TKestItem* mine = Make('m');
  mine->PostClick();
  screen.Pump();
  EXPECT_TRUE(clickedOnWorker);
  EXPECT_EQ(log, "m");
}

TEST(DeferredAcrossWindowSystems, PostsWorkAgainUnderAFreshWindowSystem) {
  std::string log;
  auto screen = std::make_unique<HeadlessScreen>();
  TKestItem a;
  a.OnClick = [&](kest::ui::Component*) { log += 'a'; };
  a.PostClick();
  // A new window system drops every window and message of the old one.
  screen.reset();
  screen = std::make_unique<HeadlessScreen>();
  a.PostClick();
  screen->Pump();
  EXPECT_EQ(log, "a");
  a.PostClick();
  screen->Pump();
  EXPECT_EQ(log, "aa");
}

TEST(Popup, PopupHandlersRunBeforeTheClickUnlessTheItemIsACombo) {
  std::string log;
  TKestSubmenuItem sub;
  sub.OnPopup = [&](TKestCustomItem* sender, bool fromLink) {
    log += fromLink ? "L" : "P";
    EXPECT_EQ(sender, &sub);
  };
  sub.OnClick = [&](kest::ui::Component*) { log += "C"; };
  sub.DoPopup(&sub, false);
  sub.DoPopup(&sub, true);
  sub.SetDropdownCombo(true);
  sub.DoPopup(&sub, false);
  EXPECT_EQ(log, "PCLCP");
}

} // namespace
} // namespace kest::menu
