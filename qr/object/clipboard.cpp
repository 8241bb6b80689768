#include "qr/object/clipboard.h"

namespace varnelo::qr {

bool PutBitmapOnClipboard(win::Bitmap bitmap) {
  if (!bitmap) return false;
  // Emptying a clipboard opened without a window leaves it without owner, and
  // then SetClipboardData may refuse the data; a hidden message-only window
  // owns it for the length of the call.
  win::Window owner(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr));
  win::ClipboardSession clipboard(owner.get());
  if (!clipboard.open() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_BITMAP, bitmap.get())) return false;
  bitmap.release();  // the clipboard's now
  return true;
}

}  // namespace varnelo::qr
