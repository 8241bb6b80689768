// The two drawing steps of a bound window's paint that work on any DC: a
// bitmap stretched into a rectangle, and the speckle of light cells around
// the code. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "qr/encode/qr_encoder.h"
#include "qr/object/binding_layout.h"

namespace varnelo::qr {

// Stretches the part (sourceX, sourceY, sourceWidth or width, sourceHeight or
// height) of bitmap onto (x, y, width, height) of dc, SRCCOPY. False, and
// nothing drawn, for a null dc or bitmap, width or height 0 or below, or a
// bitmap that cannot be selected (already selected into another DC).
bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX,
                int sourceY, std::optional<int> sourceWidth = std::nullopt,
                std::optional<int> sourceHeight = std::nullopt);

// Light cells around the code: a grid of the code's module pitch, aligned to
// the code, over the background rectangle. Cells that overlap the code are
// skipped and take no noise bit; every other cell takes the next noise bit
// (NextNoiseBit, counter from 0) and is filled with colour when it is 1.
// Cells are clipped to the background and to the DC's clip box, and the walk
// covers only that visible part, so the work is bounded by the DC's size.
//   noise: the bytes of the bits; empty gives no cells
//   codeImageWidth x codeImageHeight: the code image at 1 pixel per module,
//   1.. each (otherwise nothing is painted); the pitch is
//   trunc(code.width / codeImageWidth) by trunc(code.height / codeImageHeight),
//   at least 1.
void PaintSpeckle(HDC dc, std::span<const std::uint8_t> noise, const PixelBox& background,
                  const PixelBox& code, int codeImageWidth, int codeImageHeight, RgbColor colour);

}  // namespace varnelo::qr
