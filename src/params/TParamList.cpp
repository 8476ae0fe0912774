#include "TParamList.h"

#include <stdexcept>
#include <string>

#include "ParamTable.h"

namespace {

std::unique_ptr<TParameter> CreateParameter(const TVSTParam& row) {
  switch (row._Type) {
  case ptInt:
    return std::make_unique<TParamInt>(row);
  case ptBool:
    return std::make_unique<TParamBool>(row);
  case ptNote:
    return std::make_unique<TParamNote>(row);
  case ptRndMode:
    return std::make_unique<TParamRndMode>(row);
  case ptFloat:
  default:
    return std::make_unique<TParamFloat>(row);
  }
}

} // namespace

TParamList::TParamList() {
  fItems.reserve(kest::kNumParams);
  for (const TVSTParam& row : kest::ParamTable())
    Add(CreateParameter(row));
}

TParameter& TParamList::Items(int32_t Index) const {
  if (Index < 0 || Index >= Count()) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
  }
  return *fItems[static_cast<std::size_t>(Index)];
}

int32_t TParamList::Add(std::unique_ptr<TParameter> Parameter) {
  const auto index = Count();
  Parameter->SetIndex(index);
  fItems.push_back(std::move(Parameter));
  return index;
}

std::unique_ptr<TParamList> TParamList::Clone() const {
  auto copy = std::make_unique<TParamList>();
  copy->CopyFrom(*this);
  return copy;
}

void TParamList::CopyFrom(const TParamList& List) {
  const int32_t n = Count() < List.Count() ? Count() : List.Count();
  for (int32_t i = 0; i < n; ++i)
    fItems[i]->CopyFrom(*List.fItems[i]);
}

std::string TParamList::Preset() const {
  std::lock_guard<std::mutex> guard(fNameLock);
  return fPreset;
}

void TParamList::SetPreset(std::string name) {
  std::lock_guard<std::mutex> guard(fNameLock);
  fPreset = std::move(name);
}

void TParamList::ResetValues() {
  for (auto& p : fItems)
    p->SetValue(p->DefaultValue());
}
