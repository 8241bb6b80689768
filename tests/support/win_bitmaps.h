// Reading GDI bitmaps back in tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace varnelo::testing {

// Pixels of a GDI bitmap read straight from GDI as 32-bit top-down rows, as
// RgbColor values; empty when GDI cannot read it.
struct BitmapPixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00BBGGRR
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
inline BitmapPixels ReadBitmap(HBITMAP bitmap) {
  BitmapPixels result;
  BITMAP record{};
  if (!bitmap || GetObject(bitmap, sizeof record, &record) != sizeof record) return result;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = record.bmWidth;
  info.bmiHeader.biHeight = -record.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> raw(static_cast<std::size_t>(record.bmWidth) * record.bmHeight);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, record.bmHeight, raw.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != record.bmHeight) return result;
  result.width = record.bmWidth;
  result.height = record.bmHeight;
  for (std::uint32_t bgrx : raw) {  // 0x00RRGGBB in memory order B G R X
    result.pixels.push_back(((bgrx >> 16) & 0xFF) | (bgrx & 0xFF00) | ((bgrx & 0xFF) << 16));
  }
  return result;
}

}  // namespace varnelo::testing
