#pragma once
// What the plug-in object asks of its editor host. The editor layer implements
// it; the plug-in knows nothing of windows.
#include <string>

#include "AEffEditor.h"

class TPluginEditorBase : public AEffEditor {
public:
  using AEffEditor::AEffEditor;

  // A parameter's plain value changed (from any thread; the editor hands it
  // over to its user-interface thread).
  virtual void SetEditorParametr(int32_t Index, float Value) = 0;
  // The current preset's name changed or a preset was applied.
  virtual void SetPresetName(const std::u16string& Name) = 0;
  // Posts the running step to the editor window if that window exists; never
  // waits. Called on the audio thread once per block.
  virtual void PostStep(int32_t Step) = 0;
};
