// Reads a ModuleMatrix back with ZXing-cpp: the symbol is drawn with a quiet
// zone into a grey-scale image and decoded as a real scanner would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::testing {

struct Decoded {
  bool ok = false;
  std::vector<std::uint8_t> bytes;  // the payload as encoded, segment by segment
  std::string text;
  std::string level;  // "L", "M", "Q" or "H"
};

Decoded DecodeMatrix(const qr::ModuleMatrix& matrix);

}  // namespace varnelo::testing
