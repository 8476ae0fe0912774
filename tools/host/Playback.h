#pragma once
// A host's audio side in real time: blocks of an input signal through the
// plug-in on a thread of its own, paced by the clock, the transport moving
// with them (as a DAW plays while its editor windows are open).
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "VstHost.h"

namespace kest::host {

class Playback {
public:
  // Fills left and right input for a block of the given frames.
  using Signal = std::function<void(float* left, float* right, int32_t frames)>;

  // Resumes the effect and starts processing at once.
  Playback(VstHost& host, Signal signal, int32_t blockSize = 512);
  ~Playback(); // stops
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  void Stop();
  int64_t Blocks() const { return fBlocks.load(std::memory_order_relaxed); }

private:
  void Run();

  VstHost& fHost;
  Signal fSignal;
  int32_t fBlockSize;
  std::atomic<bool> fRunning{true};
  std::atomic<int64_t> fBlocks{0};
  std::thread fThread;
};

} // namespace kest::host
