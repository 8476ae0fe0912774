#pragma once
// windows.h, trimmed and without its min/max macros, for the host harness and
// the tests that drive it (they call the system's A and W names explicitly).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
