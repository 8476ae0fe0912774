// The message queue: order, removal, ranges, paint and timer messages, the
// fake clock, nested modal loops and posting from other threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "Recorder.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/services/Services.h"

namespace kest::ui {
namespace {

using headless::HeadlessScreen;

class Queue : public ::testing::Test {
protected:
  HeadlessScreen screen;
  test::Recorder rec;
  WindowHandle w = 0;
  void SetUp() override {
    w = rec.Create({0, 0, 50, 50});
    ValidateWnd(w); // no paint request in the way
  }
};

TEST_F(Queue, PostedMessagesComeInOrderAndPeekWithoutRemovalLeavesThem) {
  EXPECT_EQ(WM_USER + 1, 1025u);
  PostMsg(w, WM_USER + 1, 18);
  PostMsg(w, WM_USER + 2);
  PostMsg(w, WM_USER + 3);
  Message m;
  ASSERT_TRUE(PeekMsg(m, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1);
  EXPECT_EQ(m.wParam, 18u);
  // A range picks the first message inside it and keeps the others in order.
  ASSERT_TRUE(PeekMsg(m, 0, WM_USER + 2, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  EXPECT_FALSE(PeekMsg(m, 0, WM_USER + 10, WM_USER + 20, PM_REMOVE));
  EXPECT_FALSE(PeekMsg(m, w + 1000, 0, 0, PM_REMOVE)); // another window
  screen.Pump();
  EXPECT_EQ(rec.Messages(), (std::vector<std::uint32_t>{WM_USER + 1, WM_USER + 3}));
  EXPECT_FALSE(PostMsg(0xDEAD, WM_USER)); // no such window
}

TEST_F(Queue, PaintComesAfterPostedAndTimersLastAndQuitEndsGet) {
  SetTimer(w, 7, 10);
  screen.Advance(10);
  InvalidateWnd(w);
  PostMsg(w, WM_USER + 1);
  screen.Pump();
  EXPECT_EQ(rec.Messages(), (std::vector<std::uint32_t>{WM_USER + 1, WM_PAINT, WM_TIMER}));
  EXPECT_TRUE(GetUpdateRect(w).IsEmpty()); // the default handling validated it

  PostMsg(w, WM_USER + 2);
  PostQuitMsg(3);
  Message m;
  ASSERT_TRUE(GetMsg(m));
  EXPECT_EQ(m.message, WM_USER + 2);
  EXPECT_FALSE(GetMsg(m));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(Queue, TimersTickWithTheFakeClockOncePerRetrieval) {
  SetTimer(w, 9000, 100);
  SetTimer(w, 9003, 250);
  screen.Advance(99);
  EXPECT_EQ(screen.Pump(), 0);
  screen.Advance(1);
  screen.Pump();
  ASSERT_EQ(rec.log.size(), 1u);
  EXPECT_EQ(rec.log[0].w, 9000u);
  // Late timers do not pile up: one tick, then a full interval.
  screen.Advance(500);
  screen.Pump();
  EXPECT_EQ(rec.log.size(), 3u);
  screen.Advance(99);
  EXPECT_EQ(screen.Pump(), 0);
  KillTimer(w, 9000);
  screen.Advance(1000);
  screen.Pump();
  EXPECT_EQ(rec.log.back().w, 9003u);
  EXPECT_FALSE(KillTimer(w, 9000));
  // Setting a timer again restarts its interval.
  SetTimer(w, 9003, 40);
  screen.Advance(39);
  EXPECT_EQ(screen.Pump(), 0);
}

TEST_F(Queue, WaitingMovesTheFakeClockAndNeverHangs) {
  const auto start = screen.Now();
  EXPECT_FALSE(WaitMsg(30));
  EXPECT_EQ(screen.Now() - start, 30u);
  SetTimer(w, 1, 5);
  EXPECT_TRUE(WaitMsg(kInfinite));
  EXPECT_EQ(screen.Now() - start, 35u);
  KillTimer(w, 1);
  EXPECT_THROW(WaitMsg(kInfinite), std::logic_error);
  screen.RunFor(0);
}

TEST_F(Queue, MessageBoxRunsANestedLoopAndDisablesItsOwner) {
  std::vector<std::uint32_t> seenInside;
  int answer = 0;
  rec.keep.push_back(WM_USER + 50);
  WindowDesc d;
  d.bounds = {0, 0, 10, 10};
  d.proc = [&](WindowHandle h, std::uint32_t m, WParam wp, LParam lp) -> LResult {
    if (m == WM_USER + 50) {
      PostMsg(w, WM_USER + 1);
      SetTimer(w, 5, 20);
      answer =
          ShowMessageBox(h, u"Preset name is empty!", u"Kestrelphon", MB_OK | MB_ICONEXCLAMATION);
      return 0;
    }
    return DefaultWindowProc(h, m, wp, lp);
  };
  const WindowHandle owner = CreateWnd(d);
  SetFocusWnd(w);
  rec.log.clear();
  screen->onMessageBox = [&](const MessageBoxRequest& r) {
    EXPECT_EQ(GetFocusWnd(), 0u); // the box has the keyboard now
    // By now the nested loop has handled what was pending.
    seenInside = rec.Messages(w);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(r.text, u"Preset name is empty!");
    screen.RunFor(20); // the box stays open while a timer ticks
    return IDCANCEL;
  };
  PostMsg(owner, WM_USER + 50);
  screen.Pump();
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(GetFocusWnd(), w); // and gives it back
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(seenInside, (std::vector<std::uint32_t>{WM_KILLFOCUS, WM_USER + 1}));
  const auto all = rec.Messages(w);
  EXPECT_EQ(std::count(all.begin(), all.end(), WM_TIMER), 1);
  ASSERT_EQ(screen->messageBoxes.size(), 1u);
  EXPECT_EQ(screen->messageBoxes[0].flags, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(Queue, PostsFromAnotherThreadReachTheWindowsThread) {
  std::thread audio([&] {
    for (int i = 0; i < 100; ++i)
      PostMsg(w, WM_USER + 1, static_cast<WParam>(i));
    EXPECT_THROW(SendMsg(w, WM_USER + 2), std::logic_error);
  });
  audio.join();
  screen.Pump();
  ASSERT_EQ(rec.log.size(), 100u);
  EXPECT_EQ(rec.log[99].w, 99u);
}

TEST_F(Queue, DestroyedWindowsGetNothingMore) {
  PostMsg(w, WM_USER + 1);
  SetTimer(w, 1, 1);
  DestroyWnd(w);
  screen.Advance(10);
  screen.Pump();
  EXPECT_TRUE(rec.log.empty());
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(SendMsg(w, WM_USER), 0);
}

} // namespace
} // namespace kest::ui
