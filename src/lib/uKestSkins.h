#pragma once
// Skin pictures: loading a PNG resource (unscrambled when stored scrambled)
// into a bitmap with premultiplied alpha, and the fourteen shared skins that
// every control and window draws from.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "TMemoryStream.h"
#include "ui/gfx/Bitmap.h"

namespace kest {

// The 256 bytes that scrambled skins are XOR-ed with.
const std::array<std::uint8_t, 256>& SkinKey();
// XORs byte i with SkinKey()[i mod 256], from byte 0 on; doing it twice
// gives the original bytes back.
void UnscrambleSkin(TMemoryStream& stream);
// True when the stream starts with the 8-byte PNG signature.
bool HasPngSignature(const TMemoryStream& stream);

// A new bitmap from the resource ResName of type "PNG". Missing resources
// raise EResourceError, undecodable ones ui::EPngError.
std::unique_ptr<ui::Bitmap> LoadSkinBitmap(std::string_view resName);
// The same from a stream holding the resource bytes (unscrambled in place
// when it lacks the signature).
std::unique_ptr<ui::Bitmap> LoadSkinBitmap(TMemoryStream& stream);

// The shared skins, loaded at library start-up and read-only afterwards;
// null until then. Controls never free them.
extern ui::Bitmap* SkinEditor;       // KEST_EDITOR, 494 x 383
extern ui::Bitmap* SkinAbout;        // KEST_ABOUT, 328 x 240
extern ui::Bitmap* SkinSliderHead;   // KEST_SLIDER_HEAD, per-pixel alpha
extern ui::Bitmap* SkinStepOn;       // KEST_STEP_ON, 18 x 15
extern ui::Bitmap* SkinKnob;         // KEST_KNOB, 128 frames of 19 x 19
extern ui::Bitmap* SkinButton;       // KEST_BUTTON, 22 x 22
extern ui::Bitmap* SkinBtnTop;       // KEST_BTNTOP, 24 x 23
extern ui::Bitmap* SkinOctDn;        // KEST_OCT_DN, two 9 x 8 arrows
extern ui::Bitmap* SkinSpinDigits;   // KEST_SPIN_DIGITS, 6 x 9 cells
extern ui::Bitmap* SkinStepLedOn;    // KEST_STEP_LED_ON
extern ui::Bitmap* SkinLedOn;        // KEST_LED_ON, 13 x 13
extern ui::Bitmap* SkinPresetBoxBtn; // KEST_PRESETBOX_BTN, 20 x 23
extern ui::Bitmap* SkinVUMeter;      // KEST_VUMETER, 5 x 72
extern ui::Bitmap* SkinClose;        // KEST_CLOSE, 16 x 14

// Resource names of the shared skins, in loading order.
inline constexpr std::array<std::string_view, 14> SharedSkinNames = {
    "KEST_EDITOR", "KEST_ABOUT",         "KEST_SLIDER_HEAD", "KEST_STEP_ON",     "KEST_KNOB",
    "KEST_BUTTON", "KEST_BTNTOP",        "KEST_OCT_DN",      "KEST_SPIN_DIGITS", "KEST_STEP_LED_ON",
    "KEST_LED_ON", "KEST_PRESETBOX_BTN", "KEST_VUMETER",     "KEST_CLOSE"};

using SkinLoader = std::function<std::unique_ptr<ui::Bitmap>(std::string_view)>;
// Loads the fourteen shared skins in order (once; later calls do nothing).
// If one fails, those already loaded are freed again and the error goes on
// to the caller. The loader defaults to LoadSkinBitmap.
void LoadSharedSkins(const SkinLoader& loader = {});
void FreeSharedSkins();
bool SharedSkinsLoaded();

// Start-up and unload of the controls unit: the module calls these when the
// library is loaded and unloaded.
inline void KestCtrlsInitialization() {
  LoadSharedSkins();
}
inline void KestCtrlsFinalization() {
  FreeSharedSkins();
}

// Frame n (0..127) of the knob skin.
constexpr ui::Rect KnobFrameRect(int n) {
  return ui::Rect::FromSize(0, 19 * n, 19, 19);
}

} // namespace kest
