// Putting an image on the clipboard as a bitmap. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace varnelo::app {

// Decodes the image bytes (PNG, BMP, or another format GDI+ reads; GDI+
// must be started) and puts the image on the clipboard as one CF_BITMAP,
// with owner as the clipboard's owner. The clipboard owns the bitmap from
// then on. True when the bitmap is on the clipboard. On failure nothing is
// left behind: when the bytes are no image or the clipboard cannot be
// opened, the clipboard is untouched; when the clipboard refuses the bitmap
// after it was emptied, it stays empty.
bool CopyBitmapToClipboard(HWND owner, std::span<const std::uint8_t> bytes);

}  // namespace varnelo::app
