#pragma once
// Our accessibility objects as the platform's COM IAccessible, and the
// platform libraries they need, loaded on demand.
#include <string>
#include <string_view>

#include "ui/windowing/Accessible.h"

#include "ui/win32/Win32Library.h" // last: it brings windows.h

#include <oleacc.h>

namespace kest::ui::win32 {

// A COM object over one of ours; the caller gets its one reference. For the
// client area of a native window, window names that window: when our object
// knows no parent, the system's object for the window stands in, so that a
// client can walk up to the desktop.
IAccessible* WrapAccessible(AccRef object, HWND window = nullptr);

AccVariant AccVariantFrom(const VARIANT& v);
// Children that are objects are wrapped too.
void VariantFrom(AccVariant a, VARIANT* out);

// Strings of COM (oleaut32, loaded when first needed); null when the
// library is missing.
BSTR AllocBstr(std::u16string_view s);
std::u16string BstrText(BSTR b);

// oleacc's functions; null members when the library cannot be loaded.
struct OleAccFunctions {
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
};
const OleAccFunctions& OleAcc();

} // namespace kest::ui::win32
