#include "qr/encode/qr_encoder.h"

#include <cstdint>

#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {

std::uint8_t ModuleMatrix::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= stride || y >= stride) return 0;
  const auto index = static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                     static_cast<std::size_t>(x);
  return index < cells.size() ? cells[index] : 0;
}

QrEncoder::QrEncoder() {
  // GF(2^8) with x^8 + x^4 + x^3 + x^2 + 1 and alpha = 2; cannot fail.
  field_.Init(256, 0x11D, 2);
}

void QrEncoder::Release() {
  field_.Release();
  coder_.Release();
  matrix_ = ModuleMatrix{};
  margins_ = Margins{};
  bitStream_ = {};
  dataCodewords_ = {};
  codewords_ = {};
  dataMatrix_ = {};
  layout_ = SymbolLayout{};
}

int QrEncoder::DataModuleCount(SymbolVersion version) const { return tables::DataModuleCount(version); }
int QrEncoder::CodewordCount(SymbolVersion version) const { return tables::CodewordCount(version); }
int QrEncoder::SymbolSize(SymbolVersion version) const { return tables::SymbolSize(version); }
int QrEncoder::AlignmentPatternsPerSide(SymbolVersion version) const {
  return tables::AlignmentPatternsPerSide(version);
}
int QrEncoder::AlignmentPatternCount(SymbolVersion version) const {
  return tables::AlignmentPatternCount(version);
}
int QrEncoder::EcBlockCount(SymbolVersion version, EcLevel level) const {
  return tables::EcBlockCount(version, level);
}
int QrEncoder::EcCodewordsPerBlock(SymbolVersion version, EcLevel level) const {
  return tables::EcCodewordsPerBlock(version, level);
}
int QrEncoder::DataCodewordCount(SymbolVersion version, EcLevel level) const {
  return tables::DataCodewordCount(version, level);
}

std::uint8_t QrEncoder::ModuleAt(int row, int column, bool raw) const {
  if (raw) return row < 1 || column < 1 ? 0 : matrix_.At(column - 1, row - 1);
  // Margins are not validated, so compare in 64 bits: a huge margin must not
  // wrap around into the grid.
  const std::int64_t top = margins_.top;
  const std::int64_t left = margins_.left;
  if (row <= top || row > top + matrix_.stride || column <= left || column > left + matrix_.stride) {
    return 0;
  }
  return matrix_.At(static_cast<int>(column - left - 1), static_cast<int>(row - top - 1));
}

}  // namespace varnelo::qr
