#include "AudioFile.h"

#include <sndfile.h>

#include <stdexcept>
#include <vector>

namespace kest::render {

namespace {

class FileSource final : public Source {
public:
  explicit FileSource(const std::string& path) : fPath(path) {
    SF_INFO info{};
    fFile = sf_open(path.c_str(), SFM_READ, &info);
    if (fFile == nullptr) {
      throw std::runtime_error("cannot read \"" + path + "\": " + sf_strerror(nullptr));
    }
    if (info.channels < 1 || info.channels > 2) {
      sf_close(fFile);
      throw std::runtime_error("\"" + path + "\" has " + std::to_string(info.channels) +
                               " channels; the renderer takes mono or stereo files");
    }
    if (info.samplerate <= 0) {
      sf_close(fFile);
      throw std::runtime_error("\"" + path + "\" has no valid sample rate");
    }
    fChannels = info.channels;
    fRate = info.samplerate;
    fFrames = info.frames;
  }
  ~FileSource() override { sf_close(fFile); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  int64_t Read(float* left, float* right, int64_t frames) override {
    fBuffer.resize(static_cast<std::size_t>(frames * fChannels));
    const sf_count_t got = sf_readf_float(fFile, fBuffer.data(), frames);
    if (sf_error(fFile) != SF_ERR_NO_ERROR) {
      throw std::runtime_error("reading \"" + fPath + "\" failed: " + sf_strerror(fFile));
    }
    for (sf_count_t i = 0; i < got; ++i) {
      left[i] = fBuffer[static_cast<std::size_t>(i * fChannels)];
      right[i] = fBuffer[static_cast<std::size_t>(i * fChannels + fChannels - 1)];
    }
    return got;
  }
  double SampleRate() const override { return fRate; }
  int64_t Length() const override { return fFrames; }
  std::string Describe() const override {
    return "\"" + fPath + "\" (" + (fChannels == 1 ? "mono" : "stereo") + ", " +
           std::to_string(fFrames) + " frames)";
  }

private:
  std::string fPath;
  SNDFILE* fFile = nullptr;
  int fChannels = 0;
  double fRate = 0.0;
  int64_t fFrames = 0;
  std::vector<float> fBuffer;
};

} // namespace

std::unique_ptr<Source> OpenAudioFile(const std::string& path) {
  return std::make_unique<FileSource>(path);
}

} // namespace kest::render
