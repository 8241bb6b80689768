// Helpers shared by the application tests (Windows only).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace varnelo::app::testing {

// Delivers every message that is waiting for this thread's windows.
inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// An uncompressed bottom-up BMP file of width × height at 32 bits per pixel,
// each pixel colour(x, y) as 0x00BBGGRR. headerSize is the information
// header's size field (40 standard; the QR object writes 44, with 4 spare
// bytes after the header).
inline std::vector<std::uint8_t> MakeBmp(int width, int height, const std::function<std::uint32_t(int, int)>& colour,
                                         std::uint32_t headerSize = 40) {
  const std::uint32_t infoBytes = headerSize < 40 ? 40 : headerSize;
  const std::uint32_t offset = 14 + infoBytes;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(width) * height * 4;
  std::vector<std::uint8_t> bmp(offset + imageSize, 0);
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&bmp[at], &v, 2); };
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, offset + imageSize);
  put32(10, offset);
  put32(14, headerSize);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 32);
  put32(34, imageSize);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      std::uint8_t* p = &bmp[offset + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4];
      p[0] = static_cast<std::uint8_t>(c >> 16);  // blue
      p[1] = static_cast<std::uint8_t>(c >> 8);   // green
      p[2] = static_cast<std::uint8_t>(c);        // red
    }
  }
  return bmp;
}

// Channels of a 0x00BBGGRR colour.
inline int Red(std::uint32_t c) { return c & 0xFF; }
inline int Green(std::uint32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(std::uint32_t c) { return (c >> 16) & 0xFF; }
inline bool IsReddish(std::uint32_t c) { return Red(c) > 150 && Green(c) < 110 && Blue(c) < 110; }

}  // namespace varnelo::app::testing
