#include "qr/encode/masking.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

// Every pattern repeats after 12 rows (i mod 2, i mod 3, i div 2 mod 2), so
// the rows of all patterns, as long as the largest symbol, fit one table.
constexpr int kRowPhases = 12;
constexpr int kMaxWidth = 177;
using MaskRows = std::array<std::array<std::array<std::uint8_t, kMaxWidth>, kRowPhases>, 8>;

constexpr MaskRows kMaskRows = [] {
  MaskRows rows{};
  for (int p = 0; p < 8; ++p) {
    for (int i = 0; i < kRowPhases; ++i) {
      for (int j = 0; j < kMaxWidth; ++j) rows[p][i][j] = MaskInverts(p, i, j) ? 1 : 0;
    }
  }
  return rows;
}();

constexpr int kFormatGenerator = 0x537;   // x^10 + x^8 + x^5 + x^4 + x^2 + x + 1
constexpr int kFormatMask = 0x5412;       // 101010000010010
constexpr int kVersionGenerator = 0x1F25; // x^12 + x^11 + x^10 + x^9 + x^8 + x^5 + x^2 + 1

void Put(std::span<std::uint8_t> matrix, int stride, int x, int y, int bit) {
  matrix[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) + static_cast<std::size_t>(x)] =
      static_cast<std::uint8_t>(bit & 1);
}

bool Holds(std::span<const std::uint8_t> matrix, int stride, int size) {
  return size >= 21 && stride >= size &&
         matrix.size() >= static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride);
}

}  // namespace

void XorMaskPattern(std::uint8_t* grid, int size, int rowStride, int pattern) {
  if (pattern < 0 || pattern > 7) return;
  const auto& rows = kMaskRows[static_cast<std::size_t>(pattern)];
  for (int y = 0, phase = 0; y < size; ++y) {
    std::uint8_t* cell = grid + static_cast<std::size_t>(y) * static_cast<std::size_t>(rowStride);
    if (size > kMaxWidth) {
      for (int x = 0; x < size; ++x) cell[x] ^= MaskInverts(pattern, y, x) ? 1 : 0;
    } else {
      const std::uint8_t* flip = rows[static_cast<std::size_t>(phase)].data();
      int x = 0;
      // Eight modules per step.
      for (; x + 8 <= size; x += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, cell + x, 8);
        std::memcpy(&b, flip + x, 8);
        a ^= b;
        std::memcpy(cell + x, &a, 8);
      }
      for (; x < size; ++x) cell[x] ^= flip[x];
    }
    if (++phase == kRowPhases) phase = 0;
  }
}

int QrEncoder::ApplyMask(std::span<std::uint8_t> dataMatrix, int size, int mask) {
  const int pattern = MaskPatternOf(mask);
  if (size < 0 || dataMatrix.size() < static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) {
    return -1;
  }
  XorMaskPattern(dataMatrix.data(), size, size, pattern);
  return pattern;
}

int QrEncoder::BchRemainder(int value, int generator, int topBit, int steps) {
  // Unsigned: a caller's large value shifts out instead of overflowing.
  auto v = static_cast<std::uint32_t>(value);
  const auto g = static_cast<std::uint32_t>(generator);
  const auto top = static_cast<std::uint32_t>(topBit);
  for (int i = 0; i < steps; ++i) {
    v <<= 1;
    if ((v & top) != 0) v = (v ^ g) & (top - 1);
  }
  return static_cast<int>(v);
}

int FormatWord(int level, int pattern) {
  // L 01, M 00, Q 11, H 10.
  const int data = ((level - 1) ^ 1) * 8 + pattern;
  const int check = QrEncoder::BchRemainder(data, kFormatGenerator, 0x400, 10);
  return (data * 1024 + check) ^ kFormatMask;
}

int VersionWord(int version) {
  return version * 4096 + QrEncoder::BchRemainder(version, kVersionGenerator, 0x1000, 12);
}

void WriteFormatInformation(std::span<std::uint8_t> matrix, int stride, int size, int formatWord) {
  if (!Holds(matrix, stride, size)) return;
  const auto bit = [formatWord](int k) { return (formatWord >> k) & 1; };
  // First copy, around the top-left finder.
  for (int k = 14; k >= 9; --k) Put(matrix, stride, 14 - k, 8, bit(k));
  Put(matrix, stride, 7, 8, bit(8));
  Put(matrix, stride, 8, 8, bit(7));
  Put(matrix, stride, 8, 7, bit(6));
  for (int k = 5; k >= 0; --k) Put(matrix, stride, 8, k, bit(k));
  // Second copy, split between the bottom-left and top-right finders.
  for (int k = 14; k >= 8; --k) Put(matrix, stride, 8, size - 15 + k, bit(k));
  for (int k = 7; k >= 0; --k) Put(matrix, stride, size - 1 - k, 8, bit(k));
}

void WriteVersionInformation(std::span<std::uint8_t> matrix, int stride, int size, int version) {
  if (version < 7 || version > 40 || !Holds(matrix, stride, size)) return;
  const int word = VersionWord(version);
  for (int m = 0; m < 6; ++m) {
    for (int k = 0; k < 3; ++k) {
      const int b = (word >> (3 * m + k)) & 1;
      Put(matrix, stride, m, size - 11 + k, b);
      Put(matrix, stride, size - 11 + k, m, b);
    }
  }
}

}  // namespace varnelo::qr
