#pragma once
// The plug-in's editor as a VST 2.4 host sees it: a fixed 494 x 383
// rectangle, opened inside a host window (counted: every open needs its
// close), driven by the host's idle calls. It is also the doorway through
// which the plug-in pushes values and the preset name into the open editor,
// from any thread.
#include <atomic>
#include <memory>
#include <thread>

#include "TEditorHandover.h"
#include "TPluginEditorBase.h"
#include "ui/windowing/Types.h"

class TPlugin;

namespace kest {

class TFrmEditor;

// Makes sure a display backend runs before the first editor window exists;
// false when there is no display to show an editor on.
using EditorDisplayStart = bool (*)();

class TPluginEditor : public TPluginEditorBase {
public:
  static constexpr int16_t kWidth = 494;
  static constexpr int16_t kHeight = 383;

  TPluginEditor(TPlugin* effect, EditorDisplayStart start);
  ~TPluginEditor() override;

  int32_t GetRect(ERect** rect) override;
  // ptr is the host's native window; answers 1 when the editor shows in it,
  // 0 (leaving nothing behind) for no window or when no display runs.
  int32_t Open(void* ptr) override;
  void Close() override;
  bool IsOpen() override { return fEditor != nullptr; }
  // Pumps the display backend: input, timers and painting of the editor.
  void Idle() override;

  // Any thread: handed over, shown by the user-interface thread (at once
  // when it is the caller).
  void SetEditorParametr(int32_t Index, float Value) override;
  void SetPresetName(const std::u16string& Name) override;
  void PostStep(int32_t Step) override;

  TPlugin* Plugin() const;
  TFrmEditor* Form() const { return fEditor.get(); }
  int UseCount() const { return fUseCount; }

private:
  bool OnUiThread() const {
    return fUiThread.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }
  // The stand-in for the host's window and the form in it; false when there
  // is no display or no such window.
  bool CreateEditorIn(void* ptr);
  void CreateForm(ui::WindowHandle standIn);
  void DestroyForm();
  // While a menu's loop holds the host's thread (it runs inside one of the
  // host's calls): the host's idle request.
  void ModalIdle();
  // Runs the window system's handlers; a close asked for meanwhile waits
  // until they have returned.
  template <class F> void Dispatching(F&& run);

  ERect fClientRect{0, 0, kHeight, kWidth};
  int fUseCount = 0;
  std::unique_ptr<TFrmEditor> fEditor;
  void* fOwnerWindow = nullptr;
  ui::WindowHandle fStandIn = 0; // stands for the host's window
  EditorDisplayStart fStart;
  TEditorHandover fHandover;
  std::atomic<std::thread::id> fUiThread{};
  int fDispatching = 0;
  bool fCloseWaiting = false;
  int fModalIdle = 0; // the handler while the form exists
};

} // namespace kest
