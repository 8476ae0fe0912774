#pragma once
// Gives every plug-in object created from now on an editor. The module's
// start-up calls it with the start of its display backend (a static
// initialiser inside this library could be dropped by the linker).
#include "TPluginEditor.h"

namespace kest {

void RegisterEditor(EditorDisplayStart start);
// Plug-in objects created afterwards have no editor.
void UnregisterEditor();

} // namespace kest
