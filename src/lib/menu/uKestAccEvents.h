#pragma once
// The window events the menus send for assistive technology: a menu
// starts and ends, a popup window opens and closes, the focus moves to an
// item. They go to the display backend, which hands them to the platform's
// accessibility service (the headless one records them).
#include <cstdint>

#include "ui/windowing/Accessible.h"

namespace kest::menu {

using kest::ui::EVENT_OBJECT_FOCUS;
using kest::ui::EVENT_SYSTEM_MENUEND;
using kest::ui::EVENT_SYSTEM_MENUPOPUPEND;
using kest::ui::EVENT_SYSTEM_MENUPOPUPSTART;
using kest::ui::EVENT_SYSTEM_MENUSTART;
using kest::ui::OBJID_CLIENT;

void NotifyAccEvent(std::uint32_t Event, kest::ui::WindowHandle Wnd, std::int32_t ObjectId,
                    std::int32_t ChildId);

} // namespace kest::menu
