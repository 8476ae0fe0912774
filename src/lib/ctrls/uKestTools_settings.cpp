// Desktop settings as the menus read them.
#include <atomic>
#include <charconv>
#include <mutex>

#include "uKestTools.h"
#include "ui/gfx/Utf.h"
#include "ui/services/Services.h"

namespace kest {

namespace {

constexpr int kDefaultMenuShowDelay = 400;

struct StoredDelayCache {
  std::mutex mutex;
  TKestStoredSettingReader reader;
  std::atomic<bool> read{false};
  int value = kDefaultMenuShowDelay;
};

StoredDelayCache& Cache() {
  static StoredDelayCache cache;
  return cache;
}

int StoredMenuShowDelay() {
  StoredDelayCache& c = Cache();
  std::lock_guard lock(c.mutex);
  if (!c.read.exchange(true)) {
    const TKestStoredSetting s = c.reader ? c.reader("MenuShowDelay") : TKestStoredSetting{};
    c.value = MenuShowDelayFromStored(s);
  }
  return c.value;
}

} // namespace

void SetStoredSettingReader(TKestStoredSettingReader Reader) {
  StoredDelayCache& c = Cache();
  std::lock_guard lock(c.mutex);
  c.reader = std::move(Reader);
  c.read = false;
}

int MenuShowDelayFromStored(const TKestStoredSetting& Value) {
  switch (Value.kind) {
  case TKestStoredSetting::Kind::Missing:
    return kDefaultMenuShowDelay;
  case TKestStoredSetting::Kind::Unusable:
    return 0;
  case TKestStoredSetting::Kind::Text:
    break;
  }
  // The store's buffer holds at most 32 characters of the number.
  const std::string text = ui::Utf16ToUtf8(std::u16string_view(Value.text).substr(0, 32));
  int n = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, n);
  if (ec != std::errc() || ptr != end || text.empty()) return 0;
  return n;
}

int MenuShowDelayMs() {
  const std::optional<int> fromSystem = ui::GetSystemSettings().menuShowDelayMs;
  const int delay = fromSystem ? *fromSystem : StoredMenuShowDelay();
  return std::max(delay, 0);
}

bool KeyboardCuesOn() {
  return ui::GetSystemSettings().keyboardCues.value_or(true);
}

std::uint32_t SysParamOrDefault(unsigned Action, std::uint32_t Default) {
  const ui::SystemSettings s = ui::GetSystemSettings();
  switch (Action) {
  case SPI_GETMENUSHOWDELAY:
    return s.menuShowDelayMs ? static_cast<std::uint32_t>(*s.menuShowDelayMs) : Default;
  case SPI_GETKEYBOARDCUES:
    return s.keyboardCues ? static_cast<std::uint32_t>(*s.keyboardCues) : Default;
  case SPI_GETMENUANIMATION:
    return s.menuAnimation ? 1 : 0;
  case SPI_GETDROPSHADOW:
    return s.dropShadow ? 1 : 0;
  default:
    return Default;
  }
}

// Every system this code runs on can draw shadows under popups.
bool DropShadowSupported() {
  return true;
}

bool MenuSoundEnabled(std::string_view EventName) {
  const ui::SystemSettings s = ui::GetSystemSettings();
  const auto it = s.soundEvents.find(std::string(EventName));
  return it != s.soundEvents.end() && it->second;
}

void PlayMenuSound(std::string_view EventName) {
  ui::PlaySystemSound(EventName);
}

} // namespace kest
