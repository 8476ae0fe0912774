#include "EditorRegistration.h"

#include <atomic>

#include "TPlugin.h"

namespace kest {

namespace {

std::atomic<EditorDisplayStart> gStart{nullptr};

std::unique_ptr<TPluginEditorBase> CreateEditor(TPlugin* plugin) {
  return std::make_unique<TPluginEditor>(plugin, gStart.load());
}

} // namespace

void RegisterEditor(EditorDisplayStart start) {
  gStart.store(start);
  TPlugin::SetEditorFactory(start != nullptr ? &CreateEditor : nullptr);
}

void UnregisterEditor() {
  RegisterEditor(nullptr);
}

} // namespace kest
