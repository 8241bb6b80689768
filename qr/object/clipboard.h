// Putting a bitmap on the clipboard. Windows only.
#pragma once

#include "win/handles.h"

namespace varnelo::qr {

// Replaces the clipboard's contents by the bitmap as CF_BITMAP. On success the
// clipboard owns the bitmap; on failure (empty bitmap, clipboard busy) it is
// deleted and nothing on the clipboard changes.
bool PutBitmapOnClipboard(win::Bitmap bitmap);

}  // namespace varnelo::qr
