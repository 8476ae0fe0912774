#pragma once
// The window events the menus send for assistive technology: a menu
// starts and ends, a popup window opens and closes, the focus moves to an
// item. The platform's accessibility bridge hears them through one sink;
// without one installed they go nowhere.
#include <cstdint>

#include "ui/win/Types.h"

namespace kest::menu {

// Event numbers and the object id, with the platform's values.
inline constexpr std::uint32_t EVENT_SYSTEM_MENUSTART = 0x0004;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUEND = 0x0005;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUPOPUPSTART = 0x0006;
inline constexpr std::uint32_t EVENT_SYSTEM_MENUPOPUPEND = 0x0007;
inline constexpr std::uint32_t EVENT_OBJECT_FOCUS = 0x8005;
inline constexpr std::int32_t OBJID_CLIENT = -4;

class IKestAccEventSink {
public:
  virtual void NotifyAccEvent(std::uint32_t Event, kest::ui::WindowHandle Wnd,
                              std::int32_t ObjectId, std::int32_t ChildId) = 0;

protected:
  ~IKestAccEventSink() = default;
};

// Installs the sink (null: none); the caller keeps it alive while installed.
void SetKestAccEventSink(IKestAccEventSink* Sink);
void NotifyAccEvent(std::uint32_t Event, kest::ui::WindowHandle Wnd, std::int32_t ObjectId,
                    std::int32_t ChildId);

} // namespace kest::menu
