// Picture compositions of the QR object's image outputs: the code set onto a
// background with a speckle of light cells around it, and the logo pasted in
// the middle. Inputs and results are BMP bytes (image_conversion.h). Windows
// only.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {

// The next bit of the noise bytes. counter starts at 0 for each composition;
// it runs 1, 2, ..., 8 * noise.size() - 1 and then starts again at 1. Bit
// (counter - 1) mod 8, from the least significant, of byte (counter - 1) / 8.
// Empty noise gives 0 and leaves counter alone.
int NextNoiseBit(std::span<const std::uint8_t> noise, std::size_t& counter);

// Where a code of codeWidth x codeHeight pixels lands on a background of
// backgroundWidth x backgroundHeight: centred, one pixel up and left, shifted
// by the offsets.
struct CodePlacement {
  int x = 0;
  int y = 0;
};
CodePlacement PlaceCodeOnBackground(int backgroundWidth, int backgroundHeight, int codeWidth,
                                    int codeHeight, int offsetX, int offsetY);

// The speckle walk: calls paint(left, top, right, bottom) for every cell of a
// grid with the code's module pitch, aligned to the code, over the whole
// canvas, that is not inside the code and whose noise bit is 1.
//   canvas: canvasWidth x canvasHeight; code: codeWidth x codeHeight at (x, y)
//   unscaledWidth x unscaledHeight: the code image at one pixel per module
template <typename PaintCell>
void WalkSpeckleCells(int canvasWidth, int canvasHeight, CodePlacement at, int codeWidth,
                      int codeHeight, int unscaledWidth, int unscaledHeight,
                      std::span<const std::uint8_t> noise, PaintCell paint);

// The background with the code ORed onto it at PlaceCodeOnBackground (light
// modules stay light, dark ones let the background through) and, with
// speckle, light cells of lightColour around it. unscaledWidth x
// unscaledHeight (1..) is the code image at one pixel per module. Empty for
// unreadable input.
ByteBuffer ComposeOnBackground(std::span<const std::uint8_t> background,
                               std::span<const std::uint8_t> code, RgbColor lightColour,
                               int offsetX, int offsetY, bool speckle,
                               std::span<const std::uint8_t> noise, int unscaledWidth,
                               int unscaledHeight);

// The image with the logo copied at its own size, centred and shifted by
// (dx, dy). Empty for unreadable input.
ByteBuffer OverlayLogo(std::span<const std::uint8_t> image, std::span<const std::uint8_t> logo,
                       int dx, int dy);

// ---------------------------------------------------------------------------

template <typename PaintCell>
void WalkSpeckleCells(int canvasWidth, int canvasHeight, CodePlacement at, int codeWidth,
                      int codeHeight, int unscaledWidth, int unscaledHeight,
                      std::span<const std::uint8_t> noise, PaintCell paint) {
  constexpr double kTolerance = 1e-7;
  if (unscaledWidth <= 0 || unscaledHeight <= 0) return;
  double pitchX = static_cast<double>(codeWidth) / unscaledWidth;
  double pitchY = static_cast<double>(codeHeight) / unscaledHeight;
  if (pitchX < 1 - kTolerance) pitchX = 1;
  if (pitchY < 1 - kTolerance) pitchY = 1;
  const auto trunc = [](double value) { return static_cast<long long>(value); };
  // The first grid line at or before the canvas edge, in step with the code.
  const long long startX = trunc(at.x + pitchX * std::floor(-at.x / pitchX));
  const long long startY = trunc(at.y + pitchY * std::floor(-at.y / pitchY));
  const auto greater = [](double a, double b) { return a - b > kTolerance; };

  std::size_t counter = 0;
  long long cellX = startX;
  long long cellY = startY;
  while (cellY <= canvasHeight) {
    const bool insideCode = greater(cellX, at.x) && greater(at.x + codeWidth - 1.5 * pitchX, cellX) &&
                            greater(cellY, at.y) && greater(at.y + codeHeight - pitchY, cellY);
    if (!insideCode && NextNoiseBit(noise, counter) == 1) {
      paint(cellX, cellY, trunc(cellX + pitchX), trunc(cellY + pitchY));
    }
    cellX = trunc(cellX + pitchX);
    if (cellX > canvasWidth) {
      cellX = startX;
      cellY = trunc(cellY + pitchY);
    }
  }
}

}  // namespace varnelo::qr
