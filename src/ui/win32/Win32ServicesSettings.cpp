// The desktop's settings for menus, and the sounds of its sound scheme.
#include "ui/gfx/Utf.h"

#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <mmsystem.h>

namespace kest::ui::win32 {

namespace {

template <typename T> std::optional<T> SystemParameter(UINT action) {
  UINT value = 0; // BOOL and UINT answers alike
  if (!::SystemParametersInfoW(action, 0, &value, 0)) return std::nullopt;
  return static_cast<T>(value);
}

// A sound is set for an event when the user's scheme names a file for it.
bool SoundEventSet(std::string_view name) {
  const std::wstring key =
      L"AppEvents\\Schemes\\Apps\\.Default\\" + Wide(Utf8ToUtf16(name)) + L"\\.Current";
  HKEY h = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
    return false;
  DWORD type = 0;
  DWORD bytes = 0;
  const LSTATUS status = ::RegQueryValueExW(h, nullptr, nullptr, &type, nullptr, &bytes);
  ::RegCloseKey(h);
  // One UTF-16 character and its terminator at least.
  return status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) &&
         bytes >= 2 * sizeof(wchar_t);
}

using PlaySoundFn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

// winmm joins the process only when a sound is first played.
PlaySoundFn PlaySoundFunction() {
  static const PlaySoundFn fn =
      SystemFunction<PlaySoundFn>(LoadSystemLibrary(L"winmm.dll"), "PlaySoundW");
  return fn;
}

} // namespace

std::map<std::string, bool> ReadSoundEvents() {
  std::map<std::string, bool> events;
  for (const char* name : {"MenuPopup", "MenuCommand"})
    events[name] = SoundEventSet(name);
  return events;
}

SystemSettings ReadSystemSettings() {
  SystemSettings s;
  s.menuShowDelayMs = SystemParameter<int>(SPI_GETMENUSHOWDELAY);
  s.keyboardCues = SystemParameter<bool>(SPI_GETKEYBOARDCUES);
  s.menuAnimation = SystemParameter<bool>(SPI_GETMENUANIMATION).value_or(s.menuAnimation);
  s.dropShadow = SystemParameter<bool>(SPI_GETDROPSHADOW).value_or(s.dropShadow);
  s.soundEvents = ReadSoundEvents();
  s.doubleClickMs = ::GetDoubleClickTime();
  return s;
}

void PlaySoundEvent(std::string_view eventName) {
  const PlaySoundFn play = PlaySoundFunction();
  if (!play || eventName.empty()) return;
  const std::wstring name = Wide(Utf8ToUtf16(eventName));
  play(name.c_str(), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

} // namespace kest::ui::win32
