#pragma once
// An audio file written with libsndfile that appears under its name only when
// the render completes: samples go to a hidden file beside it, renamed at the
// end and removed on any failure.
#include <sndfile.h>

#include <string>
#include <vector>

namespace kest::render {

class OutputFile {
public:
  // The format comes from the extension: .wav (32-bit float, also without an
  // extension), .flac (24-bit), .ogg (Vorbis), .aif/.aiff, .caf, .w64, .au.
  // Throws std::runtime_error for an unknown extension.
  static int FormatFor(const std::string& path);

  OutputFile(const std::string& path, int sampleRate, int channels);
  ~OutputFile(); // removes the unfinished file unless Commit succeeded
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const float* left, const float* right, int64_t frames);
  void Commit();

private:
  void Discard();
  std::string fPath;
  std::string fTemp;
  SNDFILE* fFile = nullptr;
  std::vector<float> fInterleaved;
  bool fDone = false;
};

} // namespace kest::render
