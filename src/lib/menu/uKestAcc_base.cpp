// Reference counting, the process-wide list of live objects, and the
// unit's services.
#include <mutex>

#include "uKestAcc.h"
#include "ui/windowing/Backend.h"
#include "ui/windowing/Messages.h"

namespace kest::menu {

namespace {

// Objects may be released on another thread than the one that made them
// (a client's), so the list has a lock of its own.
// Declared before the unload hook, so that it outlives it.
std::mutex gListLock;
TKestCustomAccObject* gNewest = nullptr;

// When the module goes, objects that clients still hold must not reach
// into freed menus.
struct DisconnectAtUnload {
  ~DisconnectAtUnload() { KestDisconnectAccObjects(); }
} gDisconnectAtUnload;

} // namespace

std::uint32_t TKestBaseAccObject::AddRef() {
  return ++FRefCount;
}

std::uint32_t TKestBaseAccObject::Release() {
  const std::uint32_t left = --FRefCount;
  if (left == 0) delete this;
  return left;
}

kest::ui::HResult TKestBaseAccObject::GetTypeInfoCount(std::uint32_t* pctinfo) {
  if (pctinfo) *pctinfo = 0;
  return kest::ui::E_NOTIMPL;
}

TKestCustomAccObject::TKestCustomAccObject() {
  std::lock_guard lock(gListLock);
  FNext = gNewest;
  if (gNewest) gNewest->FPrevious = this;
  gNewest = this;
}

TKestCustomAccObject::~TKestCustomAccObject() {
  std::lock_guard lock(gListLock);
  if (FPrevious)
    FPrevious->FNext = FNext;
  else
    gNewest = FNext;
  if (FNext) FNext->FPrevious = FPrevious;
}

int KestLiveAccObjectCount() {
  std::lock_guard lock(gListLock);
  int n = 0;
  for (auto* o = gNewest; o; o = o->FNext)
    ++n;
  return n;
}

void KestDisconnectAccObjects() {
  std::lock_guard lock(gListLock);
  for (auto* o = gNewest; o; o = o->FNext)
    o->ClientIsDestroying();
}

bool AccessibilityAvailable() {
  return true;
}

std::u16string AltKeyName() {
  std::u16string name = kest::ui::CurrentBackend().KeyName(kest::ui::VK_MENU);
  return name.empty() ? u"Alt" : name;
}

} // namespace kest::menu
