// Handing accessibility objects across window messages, and window events.
#include "ui/windowing/Accessible.h"

#include "ui/windowing/Backend.h"
#include "ui/windowing/WindowSystem.h"

namespace kest::ui {

AccRef::AccRef(IAccessibleX* p) : fP(p) {
  if (fP) fP->AddRef();
}

AccRef::~AccRef() {
  if (fP) fP->Release();
}

LResult LresultFromObject(IAccessibleX* object) {
  if (!object) return 0;
  object->AddRef();
  return reinterpret_cast<LResult>(object);
}

AccRef ObjectFromLresult(LResult result) {
  return AccRef::Adopt(reinterpret_cast<IAccessibleX*>(result));
}

HResult AccObjectFromWindow(WindowHandle h, std::int32_t objectId, AccRef* object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (!IsWindow(h)) return E_FAIL;
  *object = ObjectFromLresult(SendMsg(h, WM_GETOBJECT, 0, objectId));
  return *object ? S_OK : E_FAIL;
}

void NotifyWinEvent(std::uint32_t event, WindowHandle h, std::int32_t objectId,
                    std::int32_t childId) {
  CurrentBackend().AccessibilityEvent(event, h, objectId, childId);
}

} // namespace kest::ui
