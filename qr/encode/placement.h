// Function patterns and the placement of codeword bits into the free modules.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace varnelo::qr {

// Function-matrix marks while a symbol is built.
inline constexpr std::uint8_t kFreeModule = 0;
inline constexpr std::uint8_t kDarkFunction = 1;
inline constexpr std::uint8_t kLightFunction = 2;  // light, or reserved for format/version

// Marks every function module of a version 1..40 symbol in a stride x stride
// grid (stride >= symbol size): finders with separators, format areas, the
// dark module, version areas (7 and up), timing and alignment patterns. Only
// modules inside the symbol are written. True for 1..40 and for the Micro QR
// numbers -4..-1 (nothing drawn); false, drawing nothing, for any other
// version or a grid too small for the symbol.
bool DrawFunctionPatternsInto(std::span<std::uint8_t> functionMatrix, int stride, int version);

// Visits the modules of a size x size symbol in placement order: column pairs
// from the right edge, skipping the vertical timing column, alternately upward
// and downward, right module before left. visit(x, y) is called for every
// module whose mark in the stride-wide function matrix is kFreeModule.
template <typename Visit>
void WalkFreeModules(std::span<const std::uint8_t> functionMatrix, int stride, int size, Visit&& visit) {
  const auto isFree = [&](int x, int y) {
    return functionMatrix[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                          static_cast<std::size_t>(x)] == kFreeModule;
  };
  bool upward = true;
  for (int right = size - 1; right >= 1; right -= 2) {
    // Column 6 is the vertical timing pattern: the pairs left of it shift by one.
    if (right == 6) right = 5;
    for (int step = 0; step < size; ++step) {
      const int y = upward ? size - 1 - step : step;
      if (isFree(right, y)) visit(right, y);
      if (isFree(right - 1, y)) visit(right - 1, y);
    }
    upward = !upward;
  }
}

// Lays bitCount bits of codewords (most significant bit of each codeword
// first) into the free modules of a size x size data matrix, in placement
// order; free modules left over (remainder bits) are set to 0. The plain
// form of the placement, one module at a time.
void PlaceCodewordBits(std::span<const std::uint8_t> functionMatrix, int stride, int size,
                       std::span<const std::uint8_t> codewords, int bitCount,
                       std::span<std::uint8_t> dataMatrix);

// What the encoder keeps about the last version it built, so that the next
// symbol of that version starts from finished function patterns and a
// precomputed walk instead of redrawing and rewalking them.
struct SymbolLayout {
  int version = 0;  // 0: nothing built yet
  int size = 0;
  int stride = 0;
  // stride x stride: the final value (0/1) of every function module, version
  // information included, 0 elsewhere; the format areas are left light.
  std::vector<std::uint8_t> functionModules;
  // stride x stride: 0xFF where the final symbol takes functionModules (every
  // function module and the spare bytes beyond the symbol), 0 at free modules.
  std::vector<std::uint8_t> functionMask;
  // Offsets y * stride + x of the free modules in placement order
  // (DataModuleCount entries; below 180 * 180, so 16 bits suffice).
  std::vector<std::uint16_t> walk;
};

// Builds the layout of version 1..40 into layout (reusing its buffers).
void BuildSymbolLayout(int version, SymbolLayout& layout);

}  // namespace varnelo::qr
