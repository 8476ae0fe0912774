// Text on the clipboard (CF_UNICODETEXT).
#include "ui/win32/Win32ServicesInternal.h" // last: it brings windows.h

#include <cstring>

namespace kest::ui::win32 {

namespace {
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;
} // namespace

Clipboard::~Clipboard() {
  if (fOwner) ::DestroyWindow(fOwner);
}

bool Clipboard::Open() {
  if (!fOwner) {
    // Emptying the clipboard makes the opening window its owner, and text
    // set without an owner is refused: a hidden message-only window of a
    // system class serves (no class of ours to outlive the module).
    fOwner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    if (!fOwner) return false;
  }
  // Another program may hold it for a moment (a clipboard manager reading).
  for (int i = 0; i < kOpenAttempts; ++i) {
    if (::OpenClipboard(fOwner)) return true;
    ::Sleep(kOpenRetryMs);
  }
  return false;
}

bool Clipboard::SetText(std::u16string_view text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return false;
  auto* dest = static_cast<wchar_t*>(::GlobalLock(block));
  if (!dest) {
    ::GlobalFree(block);
    return false;
  }
  std::memcpy(dest, text.data(), text.size() * sizeof(wchar_t));
  dest[text.size()] = L'\0';
  ::GlobalUnlock(block);
  if (!Open()) {
    ::GlobalFree(block);
    return false;
  }
  const bool set = ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, block);
  ::CloseClipboard();
  if (!set) ::GlobalFree(block); // the system took it only on success
  return set;
}

std::optional<std::u16string> Clipboard::Text() {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !Open()) return std::nullopt;
  std::optional<std::u16string> text;
  if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* src = static_cast<const wchar_t*>(::GlobalLock(block))) {
      // Another program's block need not end in a terminator: read no
      // further than its size.
      const std::size_t room = ::GlobalSize(block) / sizeof(wchar_t);
      const std::size_t length = std::find(src, src + room, L'\0') - src;
      text = Narrow(std::wstring_view(src, length));
      ::GlobalUnlock(block);
    }
  }
  ::CloseClipboard();
  return text;
}

} // namespace kest::ui::win32
