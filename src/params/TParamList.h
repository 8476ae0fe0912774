#pragma once
// One preset: the 108 parameters in index order and a name.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TParameter.h"

class TParamList {
public:
  static constexpr const char* kEmptyName = "- Empty -";

  TParamList(); // all parameters at their defaults, named "- Empty -"
  TParamList(const TParamList&) = delete;
  TParamList& operator=(const TParamList&) = delete;

  int32_t Count() const { return static_cast<int32_t>(fItems.size()); }
  // The parameter at Index; throws std::out_of_range outside 0..107.
  TParameter& Items(int32_t Index) const;
  TParameter& operator[](int32_t Index) const { return Items(Index); }

  // Appends a parameter and stores its index in it.
  int32_t Add(std::unique_ptr<TParameter> Parameter);

  // A new list with this list's values and the name "- Empty -".
  std::unique_ptr<TParamList> Clone() const;
  // Copies the values, not the name.
  void CopyFrom(const TParamList& List);
  // Every value back to its default.
  void ResetValues();

  // The preset name: 8-bit Windows-1252 text, as the bank file holds it.
  // Answered as a copy: the host reads names on its own thread while the
  // editor or a bank load replaces them.
  std::string Preset() const;
  void SetPreset(std::string name);

private:
  std::vector<std::unique_ptr<TParameter>> fItems;
  // Guards the name only; the audio thread never reads names.
  mutable std::mutex fNameLock;
  std::string fPreset = kEmptyName;
};
