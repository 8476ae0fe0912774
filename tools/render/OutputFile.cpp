#include "OutputFile.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace kest::render {

namespace {

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

} // namespace

int OutputFile::FormatFor(const std::string& path) {
  const std::string ext = Extension(path);
  if (ext.empty() || ext == ".wav") return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  if (ext == ".flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  if (ext == ".ogg" || ext == ".oga") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  if (ext == ".aif" || ext == ".aiff") return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
  if (ext == ".caf") return SF_FORMAT_CAF | SF_FORMAT_FLOAT;
  if (ext == ".w64") return SF_FORMAT_W64 | SF_FORMAT_FLOAT;
  if (ext == ".au") return SF_FORMAT_AU | SF_FORMAT_FLOAT;
  throw std::runtime_error("cannot write \"" + path + "\": unknown audio extension \"" + ext +
                           "\" (use .wav, .flac, .ogg, .aiff, .caf, .w64 or .au)");
}

OutputFile::OutputFile(const std::string& path, int sampleRate, int channels) : fPath(path) {
  if (std::filesystem::is_directory(path)) {
    throw std::runtime_error("cannot write \"" + path + "\": it is a folder");
  }
  const std::filesystem::path p(path);
  // Hidden and unique, in the same folder so the final rename stays atomic.
  fTemp = (p.parent_path() / ("." + p.filename().string() + ".partial-" +
                              std::to_string(static_cast<long>(getpid()))))
              .string();
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = FormatFor(path);
  if (sf_format_check(&info) == 0) {
    throw std::runtime_error("cannot write \"" + path + "\" at " + std::to_string(sampleRate) +
                             " Hz in the format its extension asks for");
  }
  fFile = sf_open(fTemp.c_str(), SFM_WRITE, &info);
  if (fFile == nullptr) {
    throw std::runtime_error("cannot create \"" + path + "\": " + sf_strerror(nullptr));
  }
}

OutputFile::~OutputFile() {
  if (!fDone) Discard();
}

void OutputFile::Discard() {
  if (fFile != nullptr) sf_close(fFile);
  fFile = nullptr;
  std::remove(fTemp.c_str());
}

void OutputFile::Write(const float* left, const float* right, int64_t frames) {
  fInterleaved.resize(static_cast<std::size_t>(frames * 2));
  for (int64_t i = 0; i < frames; ++i) {
    fInterleaved[static_cast<std::size_t>(2 * i)] = left[i];
    fInterleaved[static_cast<std::size_t>(2 * i + 1)] = right[i];
  }
  if (sf_writef_float(fFile, fInterleaved.data(), frames) != frames) {
    throw std::runtime_error("writing \"" + fPath + "\" failed: " + sf_strerror(fFile));
  }
}

void OutputFile::Commit() {
  const int closed = sf_close(fFile);
  fFile = nullptr;
  if (closed != 0) throw std::runtime_error("finishing \"" + fPath + "\" failed");
  std::error_code ec;
  std::filesystem::rename(fTemp, fPath, ec);
  if (ec) throw std::runtime_error("cannot move the result to \"" + fPath + "\": " + ec.message());
  fDone = true;
}

} // namespace kest::render
