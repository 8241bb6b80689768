// The fixed numbers of the symbology: symbol sizes, module and codeword counts,
// alignment-pattern spacing and the error-correction characteristics of every
// version and level. Everything here is constexpr and needs no set-up.
#pragma once

#include <array>
#include <cstdint>

namespace varnelo::qr::tables {

inline constexpr int kMinVersion = 1;
inline constexpr int kMaxVersion = 40;
inline constexpr int kLevelCount = 4;  // 1 = L, 2 = M, 3 = Q, 4 = H

// Error correction characteristics for QR Code, ISO/IEC 18004:2015 Table 9:
// total number of error-correction blocks, one row per level (L, M, Q, H).
inline constexpr std::array<std::array<std::uint8_t, kMaxVersion>, kLevelCount> kEcBlockCount{{
    // 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20
    // 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40
    {1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
}};

// Error correction characteristics for QR Code, ISO/IEC 18004:2015 Table 9:
// error-correction codewords in each block, one row per level (L, M, Q, H).
inline constexpr std::array<std::array<std::uint8_t, kMaxVersion>, kLevelCount>
    kEcCodewordsPerBlock{{
        // 1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20
        // 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40
        {7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
         28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
        {10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
         26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
        {13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
         28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
        {17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
         30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    }};

constexpr bool IsQrVersion(int version) { return version >= kMinVersion && version <= kMaxVersion; }
constexpr bool IsMicroVersion(int version) { return version >= -4 && version <= -1; }
constexpr bool IsLevel(int level) { return level >= 1 && level <= kLevelCount; }

// Modules per side: 4v + 17 for QR, 9 - 2v for Micro QR (v = -1..-4); 0 otherwise.
constexpr int SymbolSize(int version) {
  if (IsQrVersion(version)) return 4 * version + 17;
  if (IsMicroVersion(version)) return 9 - 2 * version;
  return 0;
}

// Alignment-pattern centre coordinates on each axis: v / 7 + 2 from version 2
// on (no upper check), 1 for every version up to 1.
constexpr int AlignmentPatternsPerSide(int version) { return version >= 2 ? version / 7 + 2 : 1; }

// Alignment patterns in the symbol: n^2 - 3 for n >= 2 coordinates per side.
constexpr int AlignmentPatternCount(int version) {
  const int n = AlignmentPatternsPerSide(version);
  return n < 2 ? 0 : n * n - 3;
}

// Modules left for codewords and remainder bits once every function pattern,
// format and version area is taken out; 0 for no symbol.
constexpr int DataModuleCount(int version) {
  const int s = SymbolSize(version);
  if (s == 0) return 0;
  if (version < 0) return s * s - 81 + 4 * version;
  int h = s * (s - 2) - 191;
  const int n = AlignmentPatternsPerSide(version);
  if (n >= 2) h += n * (10 - 25 * n) + 55;
  if (n > 2) h -= 36;
  return h;
}

// Codewords of the symbol; Micro QR M1 and M3 end in a 4-bit codeword.
constexpr int CodewordCount(int version) {
  if (SymbolSize(version) == 0) return 0;
  return version < 0 ? (DataModuleCount(version) + 4) / 8 : DataModuleCount(version) / 8;
}

// Spacing between neighbouring alignment-pattern centre coordinates, 1..40;
// 255 where a version has at most one coordinate besides 6. The centres are
// S - 7, S - 7 - step, ... down to 18, plus 6.
constexpr int AlignmentStep(int version) {
  if (version <= 6) return 255;
  if (version <= 13) return 2 * version + 2;
  if (version <= 20) return (2 * version + 4) / 3 * 2;
  if (version <= 27) return (version + 2) & ~1;
  if (version <= 34) return version / 3 * 2 + 6;
  return version / 3 * 2 + 2;
}

// Table readers for version 1..40 and level 1..4; 0 outside.
constexpr int EcBlockCount(int version, int level) {
  if (!IsQrVersion(version) || !IsLevel(level)) return 0;
  return kEcBlockCount[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(version - 1)];
}
constexpr int EcCodewordsPerBlock(int version, int level) {
  if (!IsQrVersion(version) || !IsLevel(level)) return 0;
  return kEcCodewordsPerBlock[static_cast<std::size_t>(level - 1)]
                             [static_cast<std::size_t>(version - 1)];
}
constexpr int DataCodewordCount(int version, int level) {
  if (!IsQrVersion(version) || !IsLevel(level)) return 0;
  return CodewordCount(version) - EcBlockCount(version, level) * EcCodewordsPerBlock(version, level);
}

}  // namespace varnelo::qr::tables
