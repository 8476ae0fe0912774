#include "TPluginEditor.h"

#include "TFrmEditor.h"
#include "TPlugin.h"
#include "uKestSkins.h"
#include "ui/toolkit/Application.h"
#include "ui/windowing/ModalLoop.h"
#include "ui/windowing/WindowSystem.h"

namespace kest {

TPluginEditor::TPluginEditor(TPlugin* effect, EditorDisplayStart start)
    : TPluginEditorBase(effect), fStart(start) {}

TPluginEditor::~TPluginEditor() {
  DestroyForm();
}

TPlugin* TPluginEditor::Plugin() const {
  return static_cast<TPlugin*>(Effect());
}

int32_t TPluginEditor::GetRect(ERect** rect) {
  if (rect == nullptr) return 0;
  *rect = &fClientRect;
  return 1;
}

template <class F> void TPluginEditor::Dispatching(F&& run) {
  ++fDispatching;
  struct Leave {
    TPluginEditor& e;
    ~Leave() {
      if (--e.fDispatching == 0 && e.fCloseWaiting) {
        e.fCloseWaiting = false;
        if (e.fUseCount == 0) e.DestroyForm();
      }
    }
  } leave{*this};
  run();
}

int32_t TPluginEditor::Open(void* ptr) {
  if (ptr == nullptr) return 0;
  const bool created = fEditor == nullptr;
  try {
    if (created && !CreateEditorIn(ptr)) return 0;
    fOwnerWindow = ptr;
    SystemWindow = ptr;
    ui::App().SetHandle(fStandIn);
    ++fUseCount;
    fCloseWaiting = false;
    Dispatching([this] {
      fEditor->Show();
      // The first picture goes out now, not at the host's next idle call.
      ui::PumpPending();
    });
    return 1;
  } catch (...) {
    // Nothing may reach the host, and nothing half made stays behind.
    if (created) DestroyForm();
    return 0;
  }
}

bool TPluginEditor::CreateEditorIn(void* ptr) {
  // Without the face there is nothing to show; without a display nowhere.
  if (!SharedSkinsLoaded() || fStart == nullptr || !fStart()) return false;
  ui::WindowDesc host;
  host.hostWindow = reinterpret_cast<std::uintptr_t>(ptr);
  host.visible = true;
  host.background = ui::Rgb(0, 0, 0);
  const ui::WindowHandle standIn = ui::CreateWnd(host);
  if (standIn == 0) return false; // not a window of this display
  fUiThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
  CreateForm(standIn);
  return true;
}

void TPluginEditor::CreateForm(ui::WindowHandle standIn) {
  fStandIn = standIn;
  fEditor = std::make_unique<TFrmEditor>(nullptr);
  fEditor->SetParentWindow(standIn);
  fEditor->SetBounds(fClientRect.left, fClientRect.top, fClientRect.right - fClientRect.left,
                     fClientRect.bottom - fClientRect.top);
  fEditor->SetHandover(&fHandover);
  fEditor->SetPlugin(Plugin());
  fModalIdle = ui::AddModalIdleHandler([this] { ModalIdle(); });
}

void TPluginEditor::ModalIdle() {
  // The form's own timers run on in the loop (the meter timer brings the
  // step light and handed-over values); the host's idle is ours to ask for.
  if (Effect() != nullptr) Effect()->MasterIdle();
}

void TPluginEditor::Close() {
  if (fUseCount == 0) return;
  // An editor still opened elsewhere stays as it is.
  if (--fUseCount > 0) return;
  if (fDispatching > 0) {
    // Called back from inside the editor's own handlers: they end first. A
    // menu running its loop among them (the host answered its idle request
    // with the close) is told to end.
    if (const ui::WindowHandle c = ui::GetCaptureWnd()) ui::SendMsg(c, ui::WM_CANCELMODE);
    if (fEditor) fEditor->Hide();
    fCloseWaiting = true;
    return;
  }
  DestroyForm();
}

void TPluginEditor::DestroyForm() {
  if (fModalIdle != 0) ui::RemoveModalIdleHandler(fModalIdle);
  fModalIdle = 0;
  fUseCount = 0;
  fOwnerWindow = nullptr;
  SystemWindow = nullptr;
  fEditor.reset();
  if (fStandIn == 0) return;
  if (ui::App().Handle() == fStandIn) ui::App().SetHandle(0);
  // The display backend takes the native window out of the host's at once.
  ui::DestroyWnd(fStandIn);
  fStandIn = 0;
}

void TPluginEditor::Idle() {
  if (!fEditor) return;
  Dispatching([this] {
    fEditor->ApplyHandover();
    ui::PumpPending();
  });
}

void TPluginEditor::SetEditorParametr(int32_t Index, float Value) {
  fHandover.StoreParameter(Index, Value);
  if (OnUiThread() && fEditor) fEditor->ApplyHandover();
}

void TPluginEditor::SetPresetName(const std::u16string& Name) {
  if (!OnUiThread()) {
    fHandover.StoreNameChange();
    return;
  }
  if (fEditor) fEditor->SetPresetName(Name);
}

void TPluginEditor::PostStep(int32_t Step) {
  fHandover.StoreStep(Step);
}

} // namespace kest
