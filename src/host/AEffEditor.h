#pragma once
// The editor as the effect shell sees it: a rectangle, open/close in a host
// window, idle and keys. The concrete editor lives in the editor layer.
#include "vst2abi.h"

class AudioEffect;

class AEffEditor {
public:
  explicit AEffEditor(AudioEffect* aEffect) : FEffect(aEffect) {}
  virtual ~AEffEditor() = default;
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  virtual int32_t GetRect(ERect** rect) {
    *rect = nullptr;
    return 0;
  }
  virtual int32_t Open(void* ptr) {
    SystemWindow = ptr;
    return 0;
  }
  virtual void Close() { SystemWindow = nullptr; }
  virtual bool IsOpen() { return SystemWindow != nullptr; }
  virtual void Idle() {}
  virtual void Update() {}
  virtual bool OnKeyDown(VstKeyCode& /*KeyCode*/) { return false; }
  virtual bool OnKeyUp(VstKeyCode& /*KeyCode*/) { return false; }
  virtual bool SetKnobMode(int32_t /*Val*/) { return false; }
  virtual bool OnWheel(float /*Distance*/) { return false; }

  AudioEffect* Effect() const { return FEffect; }

protected:
  AudioEffect* FEffect;
  void* SystemWindow = nullptr;
};
