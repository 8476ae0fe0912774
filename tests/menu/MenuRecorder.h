#pragma once
// Records the change notifications an item sends to one subscriber.
#include <vector>

#include "uKestMenu.h"

namespace kest::menu::test {

struct Heard {
  TKestItemChangedAction action;
  int index;
  TKestCustomItem* item;
  bool relayed;
  friend bool operator==(const Heard&, const Heard&) = default;
};

class MenuRecorder {
public:
  explicit MenuRecorder(TKestCustomItem* watched = nullptr) : fWatched(watched) {
    if (watched) watched->RegisterNotification(Proc());
  }
  ~MenuRecorder() {
    if (fWatched) fWatched->UnregisterNotification(Proc());
  }
  MenuRecorder(const MenuRecorder&) = delete;
  MenuRecorder& operator=(const MenuRecorder&) = delete;

  TKestItemChangedProc Proc() { return TKestItemChangedProc::Of<&MenuRecorder::Changed>(this); }
  void Changed(TKestCustomItem*, bool relayed, TKestItemChangedAction action, int index,
               TKestCustomItem* item) {
    heard.push_back({action, index, item, relayed});
    if (onChanged) onChanged(action);
  }
  // Actions only, in order.
  std::vector<TKestItemChangedAction> Actions() const {
    std::vector<TKestItemChangedAction> a;
    for (const Heard& h : heard)
      a.push_back(h.action);
    return a;
  }
  int CountOf(TKestItemChangedAction action, TKestCustomItem* item) const {
    int n = 0;
    for (const Heard& h : heard)
      n += (h.action == action && h.item == item) ? 1 : 0;
    return n;
  }
  void Forget() { fWatched = nullptr; }

  std::vector<Heard> heard;
  std::function<void(TKestItemChangedAction)> onChanged;

private:
  TKestCustomItem* fWatched;
};

// The captions of an item's subitems, in order, as one string of first letters.
inline std::string Order(const TKestCustomItem& parent) {
  std::string s;
  for (int i = 0; i < parent.Count(); ++i)
    s += static_cast<char>(parent.Items(i)->Caption().at(0));
  return s;
}

} // namespace kest::menu::test
