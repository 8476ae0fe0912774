// The per-thread message queue: posting, sending, peeking, waiting, timers.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/windowing/ModalLoop.h"
#include "ui/windowing/WindowSystemImpl.h"

namespace kest::ui {

using detail::B;
using detail::Find;
using detail::S;
using detail::ThreadQueue;
using detail::WindowRec;

namespace {

bool InRange(std::uint32_t msg, std::uint32_t first, std::uint32_t last) {
  return (first == 0 && last == 0) || (msg >= first && msg <= last);
}

bool IsInput(std::uint32_t m) {
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST);
}

// The first window of this thread, parent before child, with something to paint.
WindowHandle FindPaintable(WindowHandle filter) {
  auto& s = S();
  const auto me = std::this_thread::get_id();
  std::vector<WindowHandle> stack(s.topLevels.rbegin(), s.topLevels.rend());
  while (!stack.empty()) {
    const WindowHandle h = stack.back();
    stack.pop_back();
    WindowRec* w = Find(h);
    if (!w || !w->visible) continue;
    if (w->thread == me && (!w->update.IsEmpty() || w->ncDirty) && (filter == 0 || filter == h))
      return h;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
      stack.push_back(*it);
  }
  return 0;
}

// Records what a retrieved message says about the keys and the pointer.
void NoteRetrieved(ThreadQueue& q, const Message& m) {
  q.lastPos = m.pt;
  q.lastTime = m.time;
  auto setKey = [&](int vk, bool down) {
    q.keys[static_cast<std::size_t>(vk & 255)] = down ? 1 : 0;
  };
  switch (m.message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
    setKey(static_cast<int>(m.wParam), true);
    break;
  case WM_KEYUP:
  case WM_SYSKEYUP:
    setKey(static_cast<int>(m.wParam), false);
    break;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    setKey(VK_LBUTTON, true);
    break;
  case WM_LBUTTONUP:
    setKey(VK_LBUTTON, false);
    break;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK:
    setKey(VK_RBUTTON, true);
    break;
  case WM_RBUTTONUP:
    setKey(VK_RBUTTON, false);
    break;
  case WM_MBUTTONDOWN:
  case WM_MBUTTONDBLCLK:
    setKey(VK_MBUTTON, true);
    break;
  case WM_MBUTTONUP:
    setKey(VK_MBUTTON, false);
    break;
  default:
    break;
  }
}

bool Due(const detail::TimerRec& t, std::uint32_t now) {
  return static_cast<std::int32_t>(now - t.due) >= 0;
}

} // namespace

LResult SendMsg(WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
  WindowProc proc;
  {
    std::lock_guard lock(S().mutex);
    WindowRec* rec = Find(h);
    if (!rec) return 0;
    if (rec->thread != std::this_thread::get_id()) {
      throw std::logic_error("SendMsg: the window belongs to another thread; post instead");
    }
    proc = rec->proc;
  }
  if (proc) return proc(h, msg, w, l);
  return DefaultWindowProc(h, msg, w, l);
}

bool PostMsg(WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
  auto& s = S();
  bool otherThread = false;
  {
    std::lock_guard lock(s.mutex);
    WindowRec* rec = Find(h);
    if (!rec) return false;
    Message m{h, msg, w, l, B().Now(), s.cursorPos, 0};
    detail::QueueOf(rec->thread).messages.push_back(m);
    otherThread = rec->thread != std::this_thread::get_id();
  }
  if (otherThread) B().Wake();
  return true;
}

void PostThreadMsg(std::uint32_t msg, WParam w, LParam l) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  detail::MyQueue().messages.push_back(Message{0, msg, w, l, B().Now(), s.cursorPos, 0});
}

void PostQuitMsg(int exitCode) {
  std::lock_guard lock(S().mutex);
  auto& q = detail::MyQueue();
  q.quit = true;
  q.quitCode = exitCode;
}

namespace detail {
void QueueInput(const Message& m) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  WindowRec* rec = Find(m.hwnd);
  if (!rec) return;
  QueueOf(rec->thread).messages.push_back(m);
}
} // namespace detail

namespace {

bool PeekLocked(Message& out, WindowHandle h, std::uint32_t first, std::uint32_t last,
                unsigned flags, std::vector<Message>& unclaimed) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  ThreadQueue& q = detail::MyQueue();
  const bool remove = (flags & PM_REMOVE) != 0;
  for (auto it = q.messages.begin(); it != q.messages.end();) {
    if (!detail::ResolveRoute(*it)) {
      if (it->route == Message::Route::Pointer) unclaimed.push_back(*it);
      it = q.messages.erase(it); // input that no window takes
      continue;
    }
    if ((h != 0 && it->hwnd != h) || !InRange(it->message, first, last)) {
      ++it;
      continue;
    }
    out = *it;
    if (remove) {
      q.messages.erase(it);
      if (IsInput(out.message))
        NoteRetrieved(q, out);
      else {
        q.lastPos = out.pt;
        q.lastTime = out.time;
      }
    }
    return true;
  }
  const std::uint32_t now = B().Now();
  if (q.quit && InRange(WM_QUIT, first, last) && h == 0) {
    out = Message{0, WM_QUIT, static_cast<WParam>(q.quitCode), 0, now, s.cursorPos, 0};
    if (remove) q.quit = false;
    return true;
  }
  if (InRange(WM_PAINT, first, last)) {
    if (const WindowHandle p = FindPaintable(h)) {
      // Paint requests stay until the window validates its area.
      out = Message{p, WM_PAINT, 0, 0, now, s.cursorPos, 0};
      return true;
    }
  }
  if (InRange(WM_TIMER, first, last)) {
    const auto me = std::this_thread::get_id();
    for (auto& t : s.timers) {
      if (t.thread != me || !Due(t, now) || (h != 0 && t.hwnd != h)) continue;
      out = Message{t.hwnd, WM_TIMER, t.id, 0, now, s.cursorPos, 0};
      // One tick per retrieval however late; the next one comes a full interval later.
      if (remove) t.due = now + t.interval;
      return true;
    }
  }
  return false;
}

} // namespace

bool PeekMsg(Message& out, WindowHandle h, std::uint32_t first, std::uint32_t last,
             unsigned flags) {
  std::vector<Message> unclaimed;
  const bool found = PeekLocked(out, h, first, last, flags, unclaimed);
  // Outside the lock: the backend may talk to its display.
  for (const Message& m : unclaimed)
    B().UnclaimedInput(m);
  return found;
}

bool WaitMsg(std::uint32_t timeoutMs) {
  const std::uint32_t start = B().Now();
  for (;;) {
    Message m;
    if (PeekMsg(m, 0, 0, 0, PM_NOREMOVE)) return true;
    const std::uint32_t now = B().Now();
    std::uint32_t wait = kInfinite;
    if (timeoutMs != kInfinite) {
      const std::uint32_t spent = now - start;
      if (spent >= timeoutMs) return false;
      wait = timeoutMs - spent;
    }
    {
      std::lock_guard lock(S().mutex);
      const auto me = std::this_thread::get_id();
      for (const auto& t : S().timers) {
        if (t.thread != me) continue;
        const std::uint32_t until = Due(t, now) ? 0 : t.due - now;
        wait = std::min(wait, until);
      }
    }
    B().Wait(wait);
  }
}

bool GetMsg(Message& msg, WindowHandle h, std::uint32_t first, std::uint32_t last) {
  while (!PeekMsg(msg, h, first, last, PM_REMOVE))
    WaitMsg(kInfinite);
  return msg.message != WM_QUIT;
}

int PumpPending(std::uint32_t limitMs) {
  B().Wait(0);
  // Called back from inside a menu's loop (a host answering the menu's idle
  // request with an idle call of its own): the queue is the loop's.
  if (InModalLoop()) {
    B().Flush();
    return 0;
  }
  // Everything waiting now, but never for long: a window that keeps asking
  // to be painted must not hold a host's user-interface thread.
  const std::uint32_t start = B().Now();
  int handled = 0;
  Message m;
  while (handled < 10000 && B().Now() - start < limitMs && PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMsg(static_cast<int>(m.wParam));
      break;
    }
    TranslateMsg(m);
    DispatchMsg(m);
    ++handled;
  }
  B().Flush();
  return handled;
}

LResult DispatchMsg(const Message& msg) {
  if (msg.hwnd == 0) return 0;
  return SendMsg(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool TranslateMsg(const Message& msg) {
  if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || msg.character == 0)
    return false;
  auto& s = S();
  std::lock_guard lock(s.mutex);
  WindowRec* rec = Find(msg.hwnd);
  if (!rec) return false;
  Message c = msg;
  c.message = msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  c.wParam = msg.character;
  c.character = 0;
  c.route = Message::Route::Fixed;
  // The character comes next, ahead of input that arrived later.
  auto& q = detail::QueueOf(rec->thread).messages;
  q.push_front(c);
  return true;
}

Point LastMessagePos() {
  std::lock_guard lock(S().mutex);
  return detail::MyQueue().lastPos;
}

std::uint32_t LastMessageTime() {
  std::lock_guard lock(S().mutex);
  return detail::MyQueue().lastTime;
}

bool SetTimer(WindowHandle h, std::uintptr_t id, std::uint32_t intervalMs) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  WindowRec* rec = Find(h);
  if (!rec) return false;
  // The platform raises very short intervals to its minimum; ours is 1 ms.
  intervalMs = std::max<std::uint32_t>(intervalMs, 1);
  const std::uint32_t due = B().Now() + intervalMs;
  for (auto& t : s.timers) {
    if (t.hwnd == h && t.id == id) {
      t.interval = intervalMs;
      t.due = due;
      return true;
    }
  }
  s.timers.push_back({h, id, intervalMs, due, rec->thread});
  return true;
}

bool KillTimer(WindowHandle h, std::uintptr_t id) {
  auto& s = S();
  std::lock_guard lock(s.mutex);
  const auto n =
      std::erase_if(s.timers, [&](const detail::TimerRec& t) { return t.hwnd == h && t.id == id; });
  return n > 0;
}

std::uint32_t TickCount() {
  return B().Now();
}

namespace {
// The system's window move: the window follows the pointer until the left
// button goes up; other messages keep flowing meanwhile, and the thread's
// modal idle work runs (a plug-in's host gets its idle requests).
void MoveLoop(WindowHandle h) {
  const ModalLoopScope modal;
  const Point start = LastMessagePos(); // where the press that started it was
  const Rect from = GetWindowBounds(h);
  SetCaptureWnd(h);
  struct Release {
    WindowHandle h;
    ~Release() {
      if (GetCaptureWnd() == h) ReleaseCaptureWnd();
    }
  } release{h};
  for (;;) {
    const std::uint32_t idleDueIn = RunModalIdleIfDue(TickCount());
    Message m;
    if (!PeekMsg(m, 0, 0, 0, PM_REMOVE)) {
      if (GetAsyncKeyState(VK_LBUTTON) >= 0) break;
      WaitMsg(idleDueIn);
      continue;
    }
    if (m.message == WM_QUIT) {
      PostQuitMsg(static_cast<int>(m.wParam));
      break;
    }
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      SetWindowBounds(h, from.Offset(m.pt.x - start.x, m.pt.y - start.y));
      if (m.message == WM_LBUTTONUP) break;
      continue;
    }
    if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) continue;
    TranslateMsg(m);
    DispatchMsg(m);
  }
}
} // namespace

LResult DefaultWindowProc(WindowHandle h, std::uint32_t msg, WParam w, LParam l) {
  (void)l;
  switch (msg) {
  case WM_SYSCOMMAND:
    if ((w & 0xFFF0) == SC_MOVE) MoveLoop(h);
    return 0;
  case WM_PAINT: {
    PaintStruct ps = BeginPaint(h);
    EndPaint(h, ps);
    return 0;
  }
  case WM_ERASEBKGND: {
    auto* canvas = reinterpret_cast<Canvas*>(w);
    std::optional<Color> bg;
    {
      std::lock_guard lock(S().mutex);
      if (WindowRec* rec = Find(h)) bg = rec->background;
    }
    if (!canvas || !bg) return 0;
    canvas->FillRect(canvas->ClipRect(), *bg);
    return 1;
  }
  case WM_CANCELMODE:
    if (GetCaptureWnd() == h) ReleaseCaptureWnd();
    return 0;
  case WM_ACTIVATE:
    if ((w & 0xFFFF) != WA_INACTIVE) {
      const WindowHandle f = GetFocusWnd();
      if (f != h && !IsChild(h, f)) SetFocusWnd(h);
    }
    return 0;
  case WM_CLOSE:
    DestroyWnd(h);
    return 0;
  default:
    return 0;
  }
}

} // namespace kest::ui
