// Image types qrgen can write, one table from type name to writer. Portable.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr::cli {

struct RasterLayout {
  int margin = 4;  // light modules on every side, >= 0
  int scale = 4;   // pixels per module, >= 1
};

// Writes the symbol to an open binary stream; false when a write failed.
using ImageWriter = bool (*)(std::FILE* out, const ModuleMatrix& matrix, const RasterLayout& layout);

struct ImageType {
  std::string_view name;
  std::string_view description;
  ImageWriter write;
};

// The writer for a type name, or nullptr for an unknown name.
ImageWriter FindImageWriter(std::string_view name);

// "  pbm   binary portable bitmap\n" lines for the usage text.
std::string ImageTypeList();

}  // namespace varnelo::qr::cli
