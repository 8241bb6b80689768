// The QR object's side of the display binding: which windows paint its code.
#include <algorithm>

#include "qr/object/display_properties.h"
#include "qr/object/qr_code.h"

namespace varnelo::qr {

bool QrCode::IsAttached(HWND window) const {
  return std::find(attachedWindows.begin(), attachedWindows.end(), window) != attachedWindows.end();
}

bool QrCode::DetachFromWindow(HWND window) {
  if (!window || !IsWindow(window)) return false;
  if (const HANDLE previous = GetPropA(window, kPreviousProcedureProperty)) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  InvalidateRect(window, nullptr, TRUE);
  const auto attached = std::find(attachedWindows.begin(), attachedWindows.end(), window);
  // Another object's window keeps its properties.
  if (attached == attachedWindows.end()) return true;
  for (const char* property : kDisplayProperties) RemovePropA(window, property);
  attachedWindows.erase(attached);
  return true;
}

}  // namespace varnelo::qr
