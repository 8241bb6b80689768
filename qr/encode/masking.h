// Mask patterns, BCH-protected format and version information.
#pragma once

#include <cstdint>
#include <span>

namespace varnelo::qr {

// True when pattern 0..7 inverts the module in row i, column j: the
// definitions of the eight patterns, with the divisions written out.
constexpr bool MaskInverts(int pattern, int i, int j) {
  switch (pattern) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    case 7: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    default: return false;
  }
}

// The pattern a mask request selects: 0..7 as asked, anything else 0.
constexpr int MaskPatternOf(int mask) { return mask >= 0 && mask <= 7 ? mask : 0; }

// XORs pattern 0..7 over the size x size modules of a grid whose rows are
// rowStride bytes apart (rowStride >= size; the caller guarantees the grid
// holds size rows).
void XorMaskPattern(std::uint8_t* grid, int size, int rowStride, int pattern);

// 15-bit format word of a level 1..4 and pattern 0..7: level bits and pattern,
// 10 BCH check bits, XOR 0x5412.
int FormatWord(int level, int pattern);
// 18-bit version word of a version 7..40: the version and 12 BCH check bits.
int VersionWord(int version);

// Both copies of a format word into a symbol of the given size, stored with
// the given stride (x, y < size; the grid holds stride * stride bytes).
void WriteFormatInformation(std::span<std::uint8_t> matrix, int stride, int size, int formatWord);
// Both version blocks of version 7..40 (nothing for lower versions).
void WriteVersionInformation(std::span<std::uint8_t> matrix, int stride, int size, int version);

}  // namespace varnelo::qr
