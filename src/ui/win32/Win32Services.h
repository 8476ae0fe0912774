#pragma once
// The desktop services of the Win32 backend (message boxes, file dialogs,
// the clipboard, links, settings, sounds) and its bridge to the platform's
// accessibility service. Plain integer types only: no windows.h here.
#include <cstdint>
#include <memory>

#include "ui/services/Services.h"
#include "ui/windowing/Types.h"

namespace kest::ui::win32 {

std::unique_ptr<Services> CreateServices(); // Win32Services*.cpp

// Native WM_GETOBJECT for our window h (its HWND hwnd): asks the toolkit
// window for its object (our WM_GETOBJECT), wraps it as a COM IAccessible
// and answers with oleacc's LresultFromObject; 0 when it has none (or when
// oleacc cannot be loaded): the window procedure then leaves the message to
// DefWindowProcW, so the system's default object stands in.
std::intptr_t AnswerGetObject(WindowHandle h, void* hwnd, std::uintptr_t wParam,
                              std::intptr_t lParam);

// NotifyWinEvent for an event of our window.
void RaiseWinEvent(std::uint32_t event, void* hwnd, std::int32_t objectId, std::int32_t childId);

} // namespace kest::ui::win32
