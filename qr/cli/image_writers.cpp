// Image writers of qrgen and the table that names them.
#include "qr/cli/image_writers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varnelo::qr::cli {
namespace {

// Binary PBM (P4): 1 is black, rows packed eight pixels a byte, most
// significant bit first, each row padded to a whole byte.
bool WritePbm(std::FILE* out, const ModuleMatrix& matrix, const RasterLayout& layout) {
  const int modules = matrix.size + 2 * layout.margin;
  const int side = modules * layout.scale;
  if (std::fprintf(out, "P4\n%d %d\n", side, side) < 0) return false;
  std::vector<std::uint8_t> row((static_cast<std::size_t>(side) + 7) / 8);
  for (int my = 0; my < modules; ++my) {
    std::fill(row.begin(), row.end(), std::uint8_t{0});
    const int y = my - layout.margin;
    for (int px = 0; px < side; ++px) {
      const int x = px / layout.scale - layout.margin;
      if (y >= 0 && y < matrix.size && x >= 0 && x < matrix.size && matrix.At(x, y)) {
        row[px / 8] |= static_cast<std::uint8_t>(0x80 >> (px % 8));
      }
    }
    for (int repeat = 0; repeat < layout.scale; ++repeat) {
      if (std::fwrite(row.data(), 1, row.size(), out) != row.size()) return false;
    }
  }
  return true;
}

constexpr std::array kImageTypes = {
    ImageType{"pbm", "binary portable bitmap (P4)", WritePbm},
};

}  // namespace

ImageWriter FindImageWriter(std::string_view name) {
  for (const ImageType& type : kImageTypes) {
    if (type.name == name) return type.write;
  }
  return nullptr;
}

std::string ImageTypeList() {
  std::string out;
  for (const ImageType& type : kImageTypes) {
    std::string name(type.name);
    name.resize(8, ' ');
    out += "    " + name + std::string(type.description) + "\n";
  }
  return out;
}

}  // namespace varnelo::qr::cli
