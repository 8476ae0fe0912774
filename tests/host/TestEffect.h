#pragma once
// A minimal effect on top of the shell, recording what reaches it.
#include <string>
#include <vector>

#include "AudioEffectX.h"

struct ShellLog {
  std::vector<std::string> calls;
  int destroyed = 0;
};

class TestEffect : public AudioEffectX {
public:
  TestEffect(audioMasterCallback master, ShellLog& log) : AudioEffectX(master, 4, 3), fLog(log) {}
  ~TestEffect() override { ++fLog.destroyed; }

  void ProcessReplacing(float**, float**, int32_t) override {}
  void Open() override { fLog.calls.push_back("Open"); }
  void Close() override { fLog.calls.push_back("Close"); }
  void Suspend() override { fLog.calls.push_back("Suspend"); }
  void SetProgram(int32_t p) override {
    fLog.calls.push_back("SetProgram " + std::to_string(p));
    AudioEffectX::SetProgram(p);
  }
  void SetParameter(int32_t i, float v) override {
    fLog.calls.push_back("SetParameter " + std::to_string(i) + " " + std::to_string(v));
  }
  int32_t CanDo(char* text) override {
    return std::string(text) == "receiveVstMidiEvent" ? fMidi : 0;
  }
  void WantEvents(int32_t filter) override {
    fLog.calls.push_back("WantEvents " + std::to_string(filter));
  }

  using AudioEffect::SetFlag;
  int32_t fMidi = 0;

private:
  ShellLog& fLog;
};

// An editor recording its calls.
class TestEditor : public AEffEditor {
public:
  TestEditor(AudioEffect* e, std::vector<std::string>& log) : AEffEditor(e), fLog(log) {}
  int32_t GetRect(ERect** rect) override {
    *rect = &fRect;
    return 1;
  }
  bool OnKeyDown(VstKeyCode& k) override {
    fLog.push_back("KeyDown " + std::to_string(k.character) + " " + std::to_string(k.virt) + " " +
                   std::to_string(k.modifier));
    return true;
  }
  bool OnKeyUp(VstKeyCode&) override { return false; }
  bool SetKnobMode(int32_t v) override { return v == 2; }
  void Idle() override { fLog.push_back("Idle"); }

  ERect fRect{0, 0, 383, 494};

private:
  std::vector<std::string>& fLog;
};
