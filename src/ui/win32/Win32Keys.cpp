// The keyboard's names of virtual keys, as the system's layout gives them
// (shortcut texts in menus).
#include "ui/win32/Win32Internal.h" // last: windows.h

namespace kest::ui::win32 {

namespace {

// Keys whose scan code needs the extended bit to be told from the keypad's
// (or the main block's) key with the same code.
bool Extended(std::uint16_t vk) {
  switch (vk) {
  case VK_PRIOR:
  case VK_NEXT:
  case VK_END:
  case VK_HOME:
  case VK_LEFT:
  case VK_UP:
  case VK_RIGHT:
  case VK_DOWN:
  case VK_INSERT:
  case VK_DELETE:
  case VK_DIVIDE:
  case VK_NUMLOCK:
  case VK_RCONTROL:
  case VK_RMENU:
  case VK_LWIN:
  case VK_RWIN:
  case VK_APPS:
    return true;
  default:
    return false;
  }
}

} // namespace

std::u16string Win32Backend::KeyName(std::uint16_t vk) {
  const UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (scan == 0) return {};
  const LONG l = static_cast<LONG>((scan << 16) | (Extended(vk) ? 1u << 24 : 0u));
  wchar_t name[64] = {};
  const int len = ::GetKeyNameTextW(l, name, 64);
  if (len <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<std::size_t>(len));
}

} // namespace kest::ui::win32
