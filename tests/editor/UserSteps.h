#pragma once
// A user's steps for tests that act from inside a loop the plug-in runs (a
// menu's, a file chooser's wait): each step waits for its moment, looked at
// whenever the loop calls back, then acts. Past the deadline the script
// tries to end the loop instead and counts as timed out.
#include <chrono>
#include <deque>
#include <functional>
#include <utility>

namespace kest::x11test {

class UserSteps {
public:
  explicit UserSteps(int timeoutMs)
      : fDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}

  void When(std::function<bool()> ready, std::function<void()> act) {
    fSteps.push_back({std::move(ready), std::move(act)});
  }
  void Do(std::function<void()> act) {
    When([] { return true; }, std::move(act));
  }
  bool Done() const { return fSteps.empty(); }
  bool TimedOut() const { return fTimedOut; }

protected:
  // The loop's call back: the next step if its moment has come, or
  // giveUp past the deadline.
  void Tick(const std::function<void()>& giveUp) {
    if (std::chrono::steady_clock::now() > fDeadline) {
      fTimedOut = true;
      giveUp();
      return;
    }
    if (fSteps.empty() || !fSteps.front().ready()) return;
    Step step = std::move(fSteps.front());
    fSteps.pop_front();
    step.act();
  }

private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  std::deque<Step> fSteps;
  std::chrono::steady_clock::time_point fDeadline;
  bool fTimedOut = false;
};

} // namespace kest::x11test
