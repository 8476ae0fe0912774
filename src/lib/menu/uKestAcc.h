#pragma once
// Accessibility objects of the menus: one per view (the menu level as a
// whole) and one per item viewer (one item), made on request. They answer
// a screen reader's queries from the live view and viewer, carry out its
// default actions through the menus' ordinary selection and execution
// paths, and outlive their view or viewer safely: once that is gone they
// answer E_FAIL.
#include <atomic>
#include <cstdint>
#include <string>

#include "ui/windowing/Accessible.h"

namespace kest::menu {

class TKestView;
class TKestItemViewer;

using IKestAccessibleX = kest::ui::IAccessibleX;

// Reference counting and the dispatch part, which these objects do not offer.
class TKestBaseAccObject : public IKestAccessibleX {
public:
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  kest::ui::HResult GetTypeInfoCount(std::uint32_t* pctinfo) override;
  kest::ui::HResult GetTypeInfo() override { return kest::ui::E_NOTIMPL; }
  kest::ui::HResult GetIDsOfNames() override { return kest::ui::E_NOTIMPL; }
  kest::ui::HResult Invoke() override { return kest::ui::E_NOTIMPL; }

  // The view or viewer described is going away: later calls fail.
  virtual void ClientIsDestroying() = 0;

protected:
  TKestBaseAccObject() = default;
  virtual ~TKestBaseAccObject() = default;

private:
  std::atomic<std::uint32_t> FRefCount{0};
};

// Every live object sits in one process-wide list, newest first, so that
// all of them can be cut off from their clients at once.
class TKestCustomAccObject : public TKestBaseAccObject {
protected:
  TKestCustomAccObject();
  ~TKestCustomAccObject() override;

private:
  friend int KestLiveAccObjectCount();
  friend void KestDisconnectAccObjects();
  TKestCustomAccObject* FPrevious = nullptr;
  TKestCustomAccObject* FNext = nullptr;
};

// How many objects are alive, in the whole process.
int KestLiveAccObjectCount();
// Every live object, newest first, forgets its view or viewer; clients
// still holding one get E_FAIL from then on. Run when the module unloads.
void KestDisconnectAccObjects();

class TKestViewAccObject final : public TKestCustomAccObject {
public:
  explicit TKestViewAccObject(TKestView* AView) : FView(AView) {}
  void ClientIsDestroying() override { FView = nullptr; }

  kest::ui::HResult get_accParent(kest::ui::AccRef* ppdispParent) override;
  kest::ui::HResult get_accChildCount(std::int32_t* pcountChildren) override;
  kest::ui::HResult get_accChild(const kest::ui::AccVariant& varChild,
                                 kest::ui::AccRef* ppdispChild) override;
  kest::ui::HResult get_accName(const kest::ui::AccVariant& varChild,
                                std::u16string* pszName) override;
  kest::ui::HResult get_accValue(const kest::ui::AccVariant& varChild,
                                 std::u16string* pszValue) override;
  kest::ui::HResult get_accDescription(const kest::ui::AccVariant& varChild,
                                       std::u16string* pszDescription) override;
  kest::ui::HResult get_accRole(const kest::ui::AccVariant& varChild,
                                kest::ui::AccVariant* pvarRole) override;
  kest::ui::HResult get_accState(const kest::ui::AccVariant& varChild,
                                 kest::ui::AccVariant* pvarState) override;
  kest::ui::HResult get_accHelp(const kest::ui::AccVariant& varChild,
                                std::u16string* pszHelp) override;
  kest::ui::HResult get_accHelpTopic(std::u16string* pszHelpFile,
                                     const kest::ui::AccVariant& varChild,
                                     std::int32_t* pidTopic) override;
  kest::ui::HResult get_accKeyboardShortcut(const kest::ui::AccVariant& varChild,
                                            std::u16string* pszKeyboardShortcut) override;
  kest::ui::HResult get_accFocus(kest::ui::AccVariant* pvarChild) override;
  kest::ui::HResult get_accSelection(kest::ui::AccVariant* pvarChildren) override;
  kest::ui::HResult get_accDefaultAction(const kest::ui::AccVariant& varChild,
                                         std::u16string* pszDefaultAction) override;
  kest::ui::HResult accSelect(std::int32_t flagsSelect,
                              const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult accLocation(std::int32_t* pxLeft, std::int32_t* pyTop,
                                std::int32_t* pcxWidth, std::int32_t* pcyHeight,
                                const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult accNavigate(std::int32_t navDir, const kest::ui::AccVariant& varStart,
                                kest::ui::AccVariant* pvarEndUpAt) override;
  kest::ui::HResult accHitTest(std::int32_t xLeft, std::int32_t yTop,
                               kest::ui::AccVariant* pvarChild) override;
  kest::ui::HResult accDoDefaultAction(const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult put_accName(const kest::ui::AccVariant& varChild,
                                const std::u16string& szName) override;
  kest::ui::HResult put_accValue(const kest::ui::AccVariant& varChild,
                                 const std::u16string& szValue) override;

private:
  TKestView* FView;
};

class TKestItemViewerAccObject final : public TKestCustomAccObject {
public:
  explicit TKestItemViewerAccObject(TKestItemViewer* AViewer) : FViewer(AViewer) {}
  ~TKestItemViewerAccObject() override;
  void ClientIsDestroying() override { FViewer = nullptr; }

  // The deferred select a client asked for, run later on the menu's
  // thread: selects AViewer and, with AExecute, executes it.
  static void HandleAccSelect(TKestItemViewer* AViewer, bool AExecute);

  kest::ui::HResult get_accParent(kest::ui::AccRef* ppdispParent) override;
  kest::ui::HResult get_accChildCount(std::int32_t* pcountChildren) override;
  kest::ui::HResult get_accChild(const kest::ui::AccVariant& varChild,
                                 kest::ui::AccRef* ppdispChild) override;
  kest::ui::HResult get_accName(const kest::ui::AccVariant& varChild,
                                std::u16string* pszName) override;
  kest::ui::HResult get_accValue(const kest::ui::AccVariant& varChild,
                                 std::u16string* pszValue) override;
  kest::ui::HResult get_accDescription(const kest::ui::AccVariant& varChild,
                                       std::u16string* pszDescription) override;
  kest::ui::HResult get_accRole(const kest::ui::AccVariant& varChild,
                                kest::ui::AccVariant* pvarRole) override;
  kest::ui::HResult get_accState(const kest::ui::AccVariant& varChild,
                                 kest::ui::AccVariant* pvarState) override;
  kest::ui::HResult get_accHelp(const kest::ui::AccVariant& varChild,
                                std::u16string* pszHelp) override;
  kest::ui::HResult get_accHelpTopic(std::u16string* pszHelpFile,
                                     const kest::ui::AccVariant& varChild,
                                     std::int32_t* pidTopic) override;
  kest::ui::HResult get_accKeyboardShortcut(const kest::ui::AccVariant& varChild,
                                            std::u16string* pszKeyboardShortcut) override;
  kest::ui::HResult get_accFocus(kest::ui::AccVariant* pvarChild) override;
  kest::ui::HResult get_accSelection(kest::ui::AccVariant* pvarChildren) override;
  kest::ui::HResult get_accDefaultAction(const kest::ui::AccVariant& varChild,
                                         std::u16string* pszDefaultAction) override;
  kest::ui::HResult accSelect(std::int32_t flagsSelect,
                              const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult accLocation(std::int32_t* pxLeft, std::int32_t* pyTop,
                                std::int32_t* pcxWidth, std::int32_t* pcyHeight,
                                const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult accNavigate(std::int32_t navDir, const kest::ui::AccVariant& varStart,
                                kest::ui::AccVariant* pvarEndUpAt) override;
  kest::ui::HResult accHitTest(std::int32_t xLeft, std::int32_t yTop,
                               kest::ui::AccVariant* pvarChild) override;
  kest::ui::HResult accDoDefaultAction(const kest::ui::AccVariant& varChild) override;
  kest::ui::HResult put_accName(const kest::ui::AccVariant& varChild,
                                const std::u16string& szName) override;
  kest::ui::HResult put_accValue(const kest::ui::AccVariant& varChild,
                                 const std::u16string& szValue) override;

private:
  TKestItemViewer* FViewer;
};

// Objects are portable and made only on request, so they are always
// available; a platform without an accessibility service simply never asks.
bool AccessibilityAvailable();
// The keyboard's name of the Alt key ("Alt" when the platform names none).
std::u16string AltKeyName();

} // namespace kest::menu
