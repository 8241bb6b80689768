// GDI rendering of the module matrix and the Windows form of the encode
// pipeline. Windows only: the portable encoder never sees a platform type.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "qr/encode/qr_encoder.h"
#include "win/handles.h"

namespace varnelo::qr {

// Draws a module matrix as a screen-compatible bitmap at one pixel per module,
// with a light border of left/top/right/bottom pixels around it.
//   pixels: the matrix bytes, rows of (width + 3) & ~3 bytes, 0 light, 1 dark;
//           at least that stride times height bytes
//   width, height: modules per side, 1.. (the symbol size)
//   left, top, right, bottom: border widths; any value whose image is at least
//           1 x 1 pixels (a negative border crops the symbol)
//   darkColour: RgbColor of dark modules (omitted: 0, black)
//   lightColour: RgbColor of light modules and border (omitted: 0xFFFFFF)
// The bitmap is (width + left + right) x (height + top + bottom) pixels and
// not selected into any DC. An empty owner when the arguments do not describe
// an image or GDI cannot make it.
win::Bitmap RenderModuleMatrix(std::span<const std::uint8_t> pixels, int width, int height,
                               int left = 0, int top = 0, int right = 0, int bottom = 0,
                               RgbColor darkColour = 0,
                               std::optional<RgbColor> lightColour = std::nullopt);

// Runs encoder.EncodeMatrix and renders the stored matrix with the options'
// colours and margins. An empty owner when the encode fails (the encoder then
// keeps its previous matrix) or when the bitmap cannot be made.
win::Bitmap EncodeSymbol(QrEncoder& encoder, const EncodeOptions& options);

}  // namespace varnelo::qr
