#include "Playback.h"

#include <chrono>
#include <vector>

namespace kest::host {

Playback::Playback(VstHost& host, Signal signal, int32_t blockSize)
    : fHost(host), fSignal(std::move(signal)), fBlockSize(blockSize > 0 ? blockSize : 512) {
  fHost.SetBlockSize(fBlockSize);
  fHost.Resume();
  fThread = std::thread([this] { Run(); });
}

Playback::~Playback() {
  Stop();
}

void Playback::Stop() {
  fRunning = false;
  if (fThread.joinable()) fThread.join();
}

void Playback::Run() {
  const auto n = static_cast<std::size_t>(fBlockSize);
  std::vector<float> inL(n), inR(n), outL(n), outR(n);
  const double rate = fHost.CurrentSampleRate();
  const auto start = std::chrono::steady_clock::now();
  for (int64_t block = 0; fRunning.load(); ++block) {
    fSignal(inL.data(), inR.data(), fBlockSize);
    fHost.Process(inL.data(), inR.data(), outL.data(), outR.data(), fBlockSize);
    fBlocks.store(block + 1, std::memory_order_relaxed);
    // The next block is due when the sound of this one has played.
    const auto due = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>((block + 1) * fBlockSize / rate));
    std::this_thread::sleep_until(due);
  }
}

} // namespace kest::host
