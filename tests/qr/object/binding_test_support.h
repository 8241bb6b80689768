// Helpers of the display binding tests: the speckle worked out pixel by pixel
// as a plain reference, and reading back what a DC shows.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "qr/object/binding_layout.h"
#include "qr/object/composition.h"

namespace varnelo::qr {

// Boxes in test messages as "(x, y, width x height)".
inline void PrintTo(const PixelBox& box, std::ostream* out) {
  *out << "(" << box.x << ", " << box.y << ", " << box.width << " x " << box.height << ")";
}

}  // namespace varnelo::qr

namespace varnelo::qr::testing {

// Which pixels of a canvasWidth x canvasHeight canvas the speckle lights:
// the cell grid of the code's pitch, aligned to the code, walked row by row
// over the background (which lies inside the canvas); cells that overlap the
// code take no bit.
inline std::vector<bool> ReferenceSpeckle(int canvasWidth, int canvasHeight, PixelBox background,
                                          PixelBox code, int imageWidth, int imageHeight,
                                          std::span<const std::uint8_t> noise) {
  std::vector<bool> lit(static_cast<std::size_t>(canvasWidth) * canvasHeight, false);
  const int u = std::max(1, code.width / imageWidth);
  const int v = std::max(1, code.height / imageHeight);
  const int x0 = code.x + u * static_cast<int>(std::floor((background.x - code.x) / double(u)));
  const int y0 = code.y + v * static_cast<int>(std::floor((background.y - code.y) / double(v)));
  const int right = background.x + background.width;
  const int bottom = background.y + background.height;
  std::size_t counter = 0;
  for (int y = y0; y < bottom; y += v) {
    for (int x = x0; x < right; x += u) {
      const bool overlapsCode = x + u > code.x && x < code.x + code.width && y + v > code.y &&
                                y < code.y + code.height;
      if (overlapsCode || NextNoiseBit(noise, counter) == 0) continue;
      for (int py = std::max(y, background.y); py < std::min(y + v, bottom); ++py)
        for (int px = std::max(x, background.x); px < std::min(x + u, right); ++px)
          lit[static_cast<std::size_t>(py) * canvasWidth + px] = true;
    }
  }
  return lit;
}

// Pixels as RgbColor values, row 0 at the top.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<RgbColor> pixels;
  RgbColor At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Copies width x height pixels from (0, 0) of dc.
inline Capture CaptureDc(HDC dc, int width, int height) {
  Capture capture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return capture;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* raw = static_cast<const std::uint32_t*>(bits);
  capture.width = width;
  capture.height = height;
  for (int i = 0; i < width * height; ++i) {
    const std::uint32_t bgrx = raw[i];  // B G R X in memory
    capture.pixels.push_back(((bgrx >> 16) & 0xFF) | (bgrx & 0xFF00) | ((bgrx & 0xFF) << 16));
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(section);
  return capture;
}

}  // namespace varnelo::qr::testing
