#pragma once
// Texts and helpers shared by the host shell, the bank, the engine and the editor.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "TMemoryStream.h"

namespace kest {

inline constexpr const char* EffectNameText = "Kestrelphon";
inline constexpr const char* ProductText = "Kestrelphon";
inline constexpr const char* VendorText = "Grauwick";
inline constexpr char PluginIdChars[4] = {'K', 'E', 'S', 'T'};
inline constexpr const char* MessageCaption = "Kestrelphon";

// Filter list of the bank dialogs: pairs of description and pattern, each
// followed by a zero, the list ended by a second zero.
inline constexpr char16_t BankFileFilter[] =
    u"Kestrelphon bank (*.kst)\0*.kst\0All files (*.*)\0*.*\0";
inline constexpr const char16_t* BankFileExt = u"kst";

// A fixed file-name buffer of 1501 UTF-16 characters, filled by the file dialog.
struct TZFileName {
  char16_t Text[1501] = {};
};

// Raised when a module resource is missing.
class EResourceError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Copies a module resource into a new stream positioned at its start.
std::unique_ptr<TMemoryStream> ResourceToStream(std::string_view name, std::string_view type);

// Folder of the loaded plug-in module, ending with the path delimiter.
std::string ModulePath();

// 20 x log10(x) in single precision. Silence (x <= 0) answers -200 dB, far
// below anything a meter shows, instead of an infinity.
float AmpToDb(float x);

// "C5" for 60: the note letter and the octave n div 12.
std::string NoteName(int n);

// Packs four characters into an integer, the first in the most significant byte.
constexpr int FourCharCode(char a, char b, char c, char d) {
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(a)) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(b)) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(c)) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(d)));
}

// Rounds to the nearest integer, ties to even, as every plain-to-integer
// conversion of the plug-in does.
int RoundEven(double x);

} // namespace kest
