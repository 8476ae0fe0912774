#pragma once
// Xlib for the tests, included after every other header: its None macro
// would clash with the toolkit's Cursor::None and with gtest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef None
