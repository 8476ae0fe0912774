// Keysyms to the virtual-key numbers that the toolkit's key handlers use.
#include <X11/keysym.h>

#include "ui/windowing/Messages.h"

namespace kest::ui::x11 {

std::uint16_t VirtualKeyFromKeysym(unsigned long k) {
  if (k >= XK_a && k <= XK_z) return static_cast<std::uint16_t>('A' + (k - XK_a));
  if (k >= XK_A && k <= XK_Z) return static_cast<std::uint16_t>('A' + (k - XK_A));
  if (k >= XK_0 && k <= XK_9) return static_cast<std::uint16_t>('0' + (k - XK_0));
  if (k >= XK_KP_0 && k <= XK_KP_9) return static_cast<std::uint16_t>(0x60 + (k - XK_KP_0));
  if (k >= XK_F1 && k <= XK_F24) return static_cast<std::uint16_t>(VK_F1 + (k - XK_F1));
  switch (k) {
  case XK_space:
  case XK_KP_Space:
    return VK_SPACE;
  case XK_BackSpace:
    return VK_BACK;
  case XK_Tab:
  case XK_ISO_Left_Tab:
  case XK_KP_Tab:
    return VK_TAB;
  case XK_Return:
  case XK_KP_Enter:
    return VK_RETURN;
  case XK_Escape:
    return VK_ESCAPE;
  case XK_Prior:
  case XK_KP_Prior:
    return VK_PRIOR;
  case XK_Next:
  case XK_KP_Next:
    return VK_NEXT;
  case XK_End:
  case XK_KP_End:
    return VK_END;
  case XK_Home:
  case XK_KP_Home:
    return VK_HOME;
  case XK_Left:
  case XK_KP_Left:
    return VK_LEFT;
  case XK_Up:
  case XK_KP_Up:
    return VK_UP;
  case XK_Right:
  case XK_KP_Right:
    return VK_RIGHT;
  case XK_Down:
  case XK_KP_Down:
    return VK_DOWN;
  case XK_Insert:
  case XK_KP_Insert:
    return VK_INSERT;
  case XK_Delete:
  case XK_KP_Delete:
    return VK_DELETE;
  case XK_Shift_L:
  case XK_Shift_R:
    return VK_SHIFT;
  case XK_Control_L:
  case XK_Control_R:
    return VK_CONTROL;
  case XK_Alt_L:
  case XK_Alt_R:
  case XK_Meta_L:
  case XK_Meta_R:
    return VK_MENU;
  case XK_Pause:
    return 0x13;
  case XK_Caps_Lock:
    return 0x14;
  case XK_Menu:
    return 0x5D;
  case XK_KP_Multiply:
    return 0x6A;
  case XK_KP_Add:
    return 0x6B;
  case XK_KP_Subtract:
    return 0x6D;
  case XK_KP_Decimal:
    return 0x6E;
  case XK_KP_Divide:
    return 0x6F;
  case XK_semicolon:
  case XK_colon:
    return 0xBA;
  case XK_equal:
  case XK_plus:
    return 0xBB;
  case XK_comma:
  case XK_less:
    return 0xBC;
  case XK_minus:
  case XK_underscore:
    return 0xBD;
  case XK_period:
  case XK_greater:
    return 0xBE;
  case XK_slash:
  case XK_question:
    return 0xBF;
  case XK_grave:
  case XK_asciitilde:
    return 0xC0;
  case XK_bracketleft:
  case XK_braceleft:
    return 0xDB;
  case XK_backslash:
  case XK_bar:
    return 0xDC;
  case XK_bracketright:
  case XK_braceright:
    return 0xDD;
  case XK_apostrophe:
  case XK_quotedbl:
    return 0xDE;
  default:
    return 0;
  }
}

} // namespace kest::ui::x11
