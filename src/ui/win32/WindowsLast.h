#pragma once
// windows.h, trimmed and with the UTF-16 names. Included after every header
// of ours: it turns names such as WM_PAINT and DrawText into macros (the
// message constants then expand to the same numbers).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE // the system's names (IDC_ARROW...) in their UTF-16 form
#endif
#include <windows.h>
