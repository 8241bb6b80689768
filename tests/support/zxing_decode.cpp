#include "tests/support/zxing_decode.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

namespace varnelo::testing {

Decoded DecodeMatrix(const qr::ModuleMatrix& matrix) {
  constexpr int kQuiet = 4, kScale = 2;
  const int side = (matrix.size + 2 * kQuiet) * kScale;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side, 255);
  for (int y = 0; y < matrix.size; ++y) {
    for (int x = 0; x < matrix.size; ++x) {
      if (!matrix.At(x, y)) continue;
      for (int dy = 0; dy < kScale; ++dy) {
        for (int dx = 0; dx < kScale; ++dx) {
          pixels[static_cast<std::size_t>((y + kQuiet) * kScale + dy) * side + (x + kQuiet) * kScale + dx] = 0;
        }
      }
    }
  }
  const ZXing::ImageView view(pixels.data(), side, side, ZXing::ImageFormat::Lum);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode);
  hints.setIsPure(true);
  ZXing::Result result = ZXing::ReadBarcode(view, hints);
  if (!result.isValid()) {
    hints.setIsPure(false);
    hints.setTryHarder(true);
    result = ZXing::ReadBarcode(view, hints);
  }
  Decoded out;
  out.ok = result.isValid();
  out.bytes.assign(result.bytes().begin(), result.bytes().end());
  out.text = result.text();
  out.level = result.ecLevel();
  return out;
}

}  // namespace varnelo::testing
