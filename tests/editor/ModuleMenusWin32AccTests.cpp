// An accessibility client on Windows, as a screen reader is one: with the
// shipped module's preset menu open, it asks the system for the menu's
// object (AccessibleObjectFromWindow on the popup's window, which the popup
// answers through WM_GETOBJECT) and reads its items' names and roles.
#include <string>
#include <vector>

#include "ModuleEditorFixture.h"

#include "WindowsHeader.h"

#include <oleacc.h>

namespace kest::editortest {
namespace {

struct AccItem {
  std::wstring name;
  long role = 0;
};

std::wstring Take(BSTR text) {
  std::wstring s = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return s;
}

// The name and role of a child, given as a child id or as an object.
AccItem Describe(IAccessible* parent, VARIANT child) {
  AccItem item;
  IAccessible* object = parent;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  if (child.vt == VT_DISPATCH && child.pdispVal != nullptr &&
      SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                               reinterpret_cast<void**>(&object)))) {
    child = self;
  } else {
    object->AddRef();
  }
  BSTR name = nullptr;
  if (object->get_accName(child, &name) == S_OK) item.name = Take(name);
  VARIANT role;
  VariantInit(&role);
  if (object->get_accRole(child, &role) == S_OK && role.vt == VT_I4) item.role = role.lVal;
  VariantClear(&role);
  object->Release();
  return item;
}

// The popup window's items, read through the system as a client reads them.
std::vector<AccItem> ReadMenu(HWND popup, long& childCount) {
  std::vector<AccItem> items;
  IAccessible* menu = nullptr;
  // __uuidof, not IID_IAccessible: MinGW's oleacc import library resolves
  // that name to a code thunk, and the system would be asked for garbage.
  if (FAILED(AccessibleObjectFromWindow(popup, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), reinterpret_cast<void**>(&menu))) ||
      menu == nullptr)
    return items;
  childCount = 0;
  menu->get_accChildCount(&childCount);
  std::vector<VARIANT> children(static_cast<std::size_t>(childCount > 0 ? childCount : 0));
  LONG got = 0;
  if (childCount > 0 && SUCCEEDED(AccessibleChildren(menu, 0, childCount, children.data(), &got))) {
    for (LONG i = 0; i < got; ++i) {
      items.push_back(Describe(menu, children[static_cast<std::size_t>(i)]));
      VariantClear(&children[static_cast<std::size_t>(i)]);
    }
  }
  menu->Release();
  return items;
}

std::wstring Wide(const std::string& s) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), n);
  w.resize(w.size() - 1);
  return w;
}

TEST_F(ModuleEditor, AScreenReaderReadsTheOpenPresetMenusItems) {
  OpenEditor();
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  long count = -1;
  std::vector<AccItem> items;
  UserScript user(host);
  user.When(Levels(1), [&] { items = ReadMenu(reinterpret_cast<HWND>(Popups()[0].id), count); });
  user.Keys({"Escape"});
  ClickAndRun(kPresetArrow, user);
  CoUninitialize();

  ASSERT_GE(count, 5) << "the menu's object and its items";
  ASSERT_EQ(items.size(), static_cast<std::size_t>(count));
  // The first items are the bank's programs, by name, as menu items.
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(items[static_cast<std::size_t>(i)].name, Wide(host.ProgramNameIndexed(i)))
        << "item " << i;
    EXPECT_EQ(items[static_cast<std::size_t>(i)].role, ROLE_SYSTEM_MENUITEM) << "item " << i;
  }
}

} // namespace
} // namespace kest::editortest
