#pragma once
// The desktop services and the accessibility bridge of the Win32 backend.
#include <cstdint>
#include <memory>

#include "ui/services/Services.h"
#include "ui/windowing/Types.h"

namespace kest::ui::win32 {
std::unique_ptr<Services> CreateServices();          // Win32Services*.cpp
// native WM_GETOBJECT for our window h (its HWND hwnd): asks the toolkit
// window for its object (our WM_GETOBJECT), wraps it as a COM IAccessible
// and answers with oleacc's LresultFromObject; 0 when it has none.
std::intptr_t AnswerGetObject(WindowHandle h, void* hwnd, std::uintptr_t wParam, std::intptr_t lParam);
// NotifyWinEvent for an event of our window.
void RaiseWinEvent(std::uint32_t event, void* hwnd, std::int32_t objectId, std::int32_t childId);
}
