#include "TPresetList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FileNames.h"
#include "MessageBoxService.h"
#include "uKestUtils.h"

namespace {

std::string LoadErrorText(const std::string& fileName, const std::string& reason) {
  return "An error occured while loading the Kestrelphon bank file \"" + fileName + "\".\r\n" +
         reason;
}

std::string SaveErrorText(const std::string& fileName, const std::string& reason) {
  return "An error occured while saving the Kestrelphon bank file \"" + fileName + "\".\r\n" +
         reason;
}

[[noreturn]] void ReportAndAbort(const std::string& text) {
  kest::MessageBoxService().Show(text, kest::MessageCaption,
                                 kest::kMbOk | kest::kMbIconExclamation);
  throw kest::EAbort();
}

} // namespace

TPresetList::TPresetList() : fFileName(kest::ModulePath() + "Kestrelphon.kst") {
  for (int32_t i = 0; i < kest::kNumPresets; ++i) {
    fBank[i] = std::make_unique<TParamList>();
    fBank[i]->SetPreset(EmptyName(i));
  }
  LoadDefaultBank();
}

std::string TPresetList::EmptyName(int32_t index) {
  return "- Empty " + std::to_string(index + 1) + " -";
}

TParamList& TPresetList::Items(int32_t Index) const {
  if (Index < 0 || Index >= kest::kNumPresets) {
    throw std::out_of_range("Preset index out of bounds (" + std::to_string(Index) + ")");
  }
  return *fBank[Index];
}

int32_t TPresetList::IndexOfPreset(std::string_view PresetName) const {
  for (int32_t i = 0; i < kest::kNumPresets; ++i) {
    if (fBank[i]->Preset() == PresetName) return i;
  }
  return -1;
}

void TPresetList::LoadFromStream(kest::TMemoryStream& Stream, const std::string& FileName) {
  kest::BankData data;
  try {
    data = kest::ReadBank(Stream);
  } catch (const kest::EBankRead& e) {
    ReportAndAbort(LoadErrorText(FileName, e.what()));
  }
  for (int32_t i = 0; i < kest::kNumPresets; ++i) {
    fBank[i]->SetPreset(std::move(data[i].name));
    for (int32_t p = 0; p < kest::kNumParams; ++p)
      (*fBank[i])[p].SetValue(data[i].values[p]);
  }
}

void TPresetList::SaveToStream(kest::TMemoryStream& Stream) const {
  std::array<const TParamList*, kest::kNumPresets> presets{};
  for (int32_t i = 0; i < kest::kNumPresets; ++i)
    presets[i] = fBank[i].get();
  kest::WriteBank(Stream, presets);
}

void TPresetList::LoadFromFile(const std::string& FileName) {
  std::FILE* file = kest::OpenFile(FileName, "rb");
  if (file == nullptr) {
    throw EFileError("Cannot open file \"" + FileName + "\". " + std::strerror(errno));
  }
  std::vector<char> bytes;
  char chunk[16384];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(file) != 0;
  const int readErrno = errno;
  std::fclose(file);
  if (failed) {
    throw EFileError("Cannot read file \"" + FileName + "\". " + std::strerror(readErrno));
  }
  kest::TMemoryStream stream(bytes.data(), bytes.size());
  LoadFromStream(stream, FileName);
}

void TPresetList::SaveToFile(const std::string& FileName) const {
  kest::TMemoryStream stream;
  SaveToStream(stream);
  // Written beside the file, then moved over it in one step.
  const std::string temp = FileName + ".saving";
  std::string reason;
  std::FILE* f = kest::OpenFile(temp, "wb");
  if (f == nullptr) {
    ReportAndAbort(SaveErrorText(FileName, std::strerror(errno)));
  }
  const auto& bytes = stream.Bytes();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    reason = std::strerror(written ? errno : writeErrno);
  } else {
    reason = kest::MoveFileOver(temp, FileName);
  }
  if (reason.empty()) return;
  kest::RemoveFile(temp);
  ReportAndAbort(SaveErrorText(FileName, reason));
}

void TPresetList::LoadDefaultBank() {
  auto stream = kest::ResourceToStream("KEST_DEFAULT", "BANK");
  LoadFromStream(*stream, "");
}

void TPresetList::ResetBank() {
  for (int32_t i = 0; i < kest::kNumPresets; ++i) {
    fBank[i]->ResetValues();
    fBank[i]->SetPreset(EmptyName(i));
  }
}
