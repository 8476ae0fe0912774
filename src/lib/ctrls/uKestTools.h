#pragma once
// Window helpers of the popup menus and the drop-down buttons: desktop
// settings, queued-message removal, monitors, caption text, rotated
// captions, printing windows into canvases and buffered repainting.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/gfx/Canvas.h"
#include "ui/windowing/WindowSystem.h"

namespace kest {

// --- Desktop settings -------------------------------------------------------

// System parameter actions that SysParamOrDefault answers.
inline constexpr unsigned SPI_GETMENUSHOWDELAY = 0x006A;
inline constexpr unsigned SPI_GETMENUANIMATION = 0x1002;
inline constexpr unsigned SPI_GETKEYBOARDCUES = 0x100A;
inline constexpr unsigned SPI_GETDROPSHADOW = 0x1024;

// A value of the user's stored desktop settings, as a settings store keeps
// it: missing, present but unusable (not text, unreadable), or text.
struct TKestStoredSetting {
  enum class Kind { Missing, Unusable, Text };
  Kind kind = Kind::Missing;
  std::u16string text;
};
// Where stored settings come from; this platform keeps none, so by default
// every value is missing. Replacing the reader forgets the cached delay.
using TKestStoredSettingReader = std::function<TKestStoredSetting(std::string_view Name)>;
void SetStoredSettingReader(TKestStoredSettingReader Reader);

// The stored "MenuShowDelay": 400 when missing, 0 when unusable or not an
// integer, else the number it holds.
int MenuShowDelayFromStored(const TKestStoredSetting& Value);
// Delay before a submenu opens: the system's answer, else the stored value
// (read once per process); never negative.
int MenuShowDelayMs();
// Whether menus underline their accelerators; on when the system cannot say.
bool KeyboardCuesOn();
// The system parameter for an action above, or Default when the system
// has no answer or the action is unknown.
std::uint32_t SysParamOrDefault(unsigned Action, std::uint32_t Default);
// Popup windows may cast a shadow on this platform.
bool DropShadowSupported();
// Whether a sound is set for the event ("MenuPopup", "MenuCommand").
bool MenuSoundEnabled(std::string_view EventName);
// Plays the event's sound without waiting for it.
void PlayMenuSound(std::string_view EventName);

// --- Messages -----------------------------------------------------------------

// Removes one queued message of that number for the window (any window of
// this thread when 0). A quit message taken on the way is posted again.
void RemovePendingMessage(ui::WindowHandle Wnd, std::uint32_t Msg);
// Removes every queued message in [First, Last]; stops at a quit message,
// which stays queued.
void RemovePendingMessages(std::uint32_t First, std::uint32_t Last);
// Keeps other programs from taking the foreground; this platform has no
// such lock, so it does nothing.
inline void SetForegroundLock(bool) {}
// Screen position of the pointer when the last retrieved message was queued.
ui::Point LastMessagePos();

// --- Monitors -----------------------------------------------------------------

// Bounds (or work area) of the monitor nearest the rectangle or point.
ui::Rect MonitorRectFromRect(const ui::Rect& R, bool WorkArea);
ui::Rect MonitorRectFromPoint(ui::Point P, bool WorkArea);
// The primary screen: its work area, or its whole rectangle.
ui::Rect ScreenWorkArea(bool WorkArea);

// --- Captions -----------------------------------------------------------------

// "&File" -> "File", "&&" -> "&".
std::u16string StripAmpersands(std::u16string_view Caption);
// One trailing ":" or else a trailing "..." goes.
std::u16string StripCaptionTail(std::u16string_view Caption);
// The character after the last single "&", 0 when there is none.
char16_t AcceleratorChar(std::u16string_view Caption);
char16_t LowerCaseChar(char16_t C);
// The two parts of a "short|long" hint; without a "|" both are the whole hint.
std::u16string ShortHint(std::u16string_view Hint);
std::u16string LongHint(std::u16string_view Hint);
ui::Size CaptionExtent(ui::Canvas& Canvas, std::u16string_view Caption, bool Strip);
void DrawTextString(ui::Canvas& Canvas, std::u16string_view Text, ui::Rect& R, unsigned Format);
void TextOutString(ui::Canvas& Canvas, int X, int Y, std::u16string_view Text);
bool FontFaceExists(std::string_view FaceName);

// --- Rotated captions ---------------------------------------------------------

// The canvas's font prepared for captions that run downwards.
ui::Font CreateRotatedFont(ui::Canvas& Canvas);
// Draws the caption turned by 270 degrees (reading downwards), centred in
// R, with its accelerator underlined unless Format has DT_HIDEPREFIX.
void DrawRotatedCaption(ui::Canvas& Canvas, std::u16string_view Caption, const ui::Rect& R,
                        unsigned Format);

// --- Printing and repainting --------------------------------------------------

// Print request flags: the window system's.
using ui::PRF_CHECKVISIBLE;
using ui::PRF_CHILDREN;
using ui::PRF_CLIENT;
using ui::PRF_ERASEBKGND;
using ui::PRF_NONCLIENT;
using ui::PRF_OWNED;

// Paints a window's frame (the part outside its client area).
using TKestNCPainter = std::function<void(ui::Canvas& Canvas)>;
// Answers a print request (WM_PRINT, the canvas in wParam): frame, erase and
// client (WM_ERASEBKGND / WM_PRINTCLIENT with the canvas), visible children
// and owned windows. 0 when PRF_CHECKVISIBLE finds the window hidden.
ui::LResult PaintWindowToDC(ui::WindowHandle Wnd, ui::Canvas& Canvas, unsigned Flags,
                            const TKestNCPainter& NCPainter);
// Runs a paint handler on another canvas, leaving the canvas as it was.
void PrintClientTo(const std::function<void(ui::Canvas&)>& PaintHandler, ui::Canvas& Canvas);
// Repaints the visible client part at once through an off-screen bitmap:
// WM_ERASEBKGND and WM_PAINT carry the bitmap's canvas in wParam. Falls
// back to an ordinary invalidation when that cannot be done.
void BufferedRepaint(ui::WindowHandle Wnd);

// --- Arithmetic ---------------------------------------------------------------

// a * b / c rounded half away from zero, as the platform's MulDiv (-1 when
// c is 0).
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  const long long d = c < 0 ? -static_cast<long long>(c) : c;
  const long long q = ((p < 0 ? -p : p) + d / 2) / d;
  return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

// --- Lists --------------------------------------------------------------------

// Adds Item at the end (or the front) unless present; creates the list.
template <class T> bool AddUniqueToList(std::unique_ptr<std::vector<T>>& List, const T& Item) {
  if (!List) List = std::make_unique<std::vector<T>>();
  if (std::find(List->begin(), List->end(), Item) != List->end()) return false;
  List->push_back(Item);
  return true;
}
template <class T> bool InsertUniqueToList(std::unique_ptr<std::vector<T>>& List, const T& Item) {
  if (!List) List = std::make_unique<std::vector<T>>();
  if (std::find(List->begin(), List->end(), Item) != List->end()) return false;
  List->insert(List->begin(), Item);
  return true;
}
// Removes Item; an emptied list is freed.
template <class T>
void RemoveFromListAndFree(std::unique_ptr<std::vector<T>>& List, const T& Item) {
  if (!List) return;
  std::erase(*List, Item);
  if (List->empty()) List.reset();
}

} // namespace kest
