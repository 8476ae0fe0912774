#pragma once
// The bank: 32 presets, the default bank from the module's resources, reset,
// name search, and loading and saving ".kst" bank files.
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "BankFile.h"
#include "TParamList.h"

// Raised when a bank file cannot be opened; the bank is then unchanged.
class EFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TPresetList {
public:
  TPresetList(); // 32 empty presets, then the default bank
  TPresetList(const TPresetList&) = delete;
  TPresetList& operator=(const TPresetList&) = delete;

  // Preset Index (the object itself); throws std::out_of_range outside 0..31.
  TParamList& Items(int32_t Index) const;
  TParamList& operator[](int32_t Index) const { return Items(Index); }

  // The first preset named exactly PresetName (Windows-1252 bytes), or -1.
  int32_t IndexOfPreset(std::string_view PresetName) const;

  // Reads a whole bank and only then replaces names and values, in place. A
  // failure is shown in a message box and ends in kest::EAbort, the bank
  // unchanged. FileName (UTF-8) only names the file in the message.
  void LoadFromStream(kest::TMemoryStream& Stream, const std::string& FileName);
  void SaveToStream(kest::TMemoryStream& Stream) const;
  // File names are UTF-8 text. Throws EFileError when the file cannot be opened.
  void LoadFromFile(const std::string& FileName);
  // Writes beside the file and renames into place, so a failed write never
  // destroys the existing file; a failure is shown and ends in kest::EAbort.
  void SaveToFile(const std::string& FileName) const;
  void LoadDefaultBank();
  // Every preset back to its defaults and named "- Empty n -", in place: the
  // audio thread may be reading the current preset meanwhile.
  void ResetBank();

  const std::string& FileName() const { return fFileName; }

  static std::string EmptyName(int32_t index); // "- Empty 1 -" for index 0

private:
  std::array<std::unique_ptr<TParamList>, kest::kNumPresets> fBank;
  std::string fFileName;
};
