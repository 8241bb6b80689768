// Helpers of the QR object tests: reading pixels of BMP bytes, making small
// test pictures, and counting the process's GDI objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "tests/support/win_bitmaps.h"
#include "tests/support/win_resources.h"

namespace varnelo::qr::testing {

inline std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}
inline std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// Pixels of an uncompressed 24- or 32-bit BMP file as RgbColor values
// (0x00BBGGRR), row 0 at the top. Checks every offset it reads.
class BmpPixels {
 public:
  explicit BmpPixels(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {
    if (bytes_.size() < 54 || bytes_[0] != 'B' || bytes_[1] != 'M') return;
    offset_ = Le32(bytes_, 10);
    width_ = static_cast<std::int32_t>(Le32(bytes_, 18));
    const auto height = static_cast<std::int32_t>(Le32(bytes_, 22));
    topDown_ = height < 0;
    height_ = topDown_ ? -height : height;
    bits_ = Le16(bytes_, 28);
    if ((bits_ != 24 && bits_ != 32) || Le32(bytes_, 30) != BI_RGB || width_ <= 0) return;
    stride_ = ((static_cast<std::size_t>(width_) * bits_ + 31) / 32) * 4;
    valid_ = offset_ + stride_ * height_ <= bytes_.size();
  }
  bool valid() const { return valid_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bitCount() const { return bits_; }
  std::uint32_t At(int x, int y) const {
    if (!valid_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFF000000;  // no colour
    const std::size_t row = topDown_ ? y : height_ - 1 - y;
    const std::size_t at = offset_ + row * stride_ + static_cast<std::size_t>(x) * (bits_ / 8);
    return bytes_[at + 2] | bytes_[at + 1] << 8 | bytes_[at] << 16;  // B G R in the file
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t offset_ = 0, stride_ = 0;
  int width_ = 0, height_ = 0, bits_ = 0;
  bool topDown_ = false, valid_ = false;
};

using varnelo::testing::BitmapPixels;
using varnelo::testing::ReadBitmap;

// A plain 24-bit bottom-up BMP file (40-byte header) painted by colour(x, y).
inline ByteBuffer MakeBmp(int width, int height, const std::function<RgbColor(int, int)>& colour) {
  const std::size_t stride = ((static_cast<std::size_t>(width) * 24 + 31) / 32) * 4;
  ByteBuffer file(54 + stride * height, 0);
  auto put32 = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const RgbColor c = colour(x, y);
      const std::size_t at = 54 + (height - 1 - y) * stride + x * 3;
      file[at] = static_cast<std::uint8_t>(c >> 16);
      file[at + 1] = static_cast<std::uint8_t>(c >> 8);
      file[at + 2] = static_cast<std::uint8_t>(c);
    }
  }
  return file;
}

using varnelo::testing::GdiObjectCount;

}  // namespace varnelo::qr::testing
