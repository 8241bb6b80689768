#include "qr/encode/masking.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

TEST(Masking, EveryPatternMatchesItsDefinition) {
  for (int size : {21, 25, 177, 7}) {
    for (int pattern = 0; pattern < 8; ++pattern) {
      SCOPED_TRACE(testing::Message() << "size " << size << " pattern " << pattern);
      std::vector<std::uint8_t> grid(static_cast<std::size_t>(size * size));
      // A non-uniform starting grid, so that XOR (not set) is checked.
      for (std::size_t i = 0; i < grid.size(); ++i) grid[i] = static_cast<std::uint8_t>((i * 7 / 3) & 1);
      const auto before = grid;
      ASSERT_EQ(QrEncoder::ApplyMask(grid, size, pattern), pattern);
      for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
          const std::size_t at = static_cast<std::size_t>(i * size + j);
          ASSERT_EQ(grid[at], before[at] ^ (MaskInverts(pattern, i, j) ? 1 : 0)) << "row " << i << " column " << j;
        }
      }
    }
  }
}

TEST(Masking, PatternsByHand) {
  std::vector<std::uint8_t> grid(21 * 21, 0);
  QrEncoder::ApplyMask(grid, 21, 1);
  for (int x = 0; x < 21; ++x) {
    EXPECT_EQ(grid[static_cast<std::size_t>(x)], 1);       // row 0 inverted
    EXPECT_EQ(grid[static_cast<std::size_t>(21 + x)], 0);  // row 1 unchanged
  }
  std::vector<std::uint8_t> columns(21 * 21, 0);
  QrEncoder::ApplyMask(columns, 21, 2);
  for (int x = 0; x < 21; ++x) EXPECT_EQ(columns[static_cast<std::size_t>(5 * 21 + x)], x % 3 == 0 ? 1 : 0);
  // Pattern 4 in rows 0..3, columns 0..6: blocks of 2 rows by 3 columns.
  std::vector<std::uint8_t> blocks(21 * 21, 0);
  QrEncoder::ApplyMask(blocks, 21, 4);
  const int expected[4][7] = {{1, 1, 1, 0, 0, 0, 1}, {1, 1, 1, 0, 0, 0, 1}, {0, 0, 0, 1, 1, 1, 0}, {0, 0, 0, 1, 1, 1, 0}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(blocks[static_cast<std::size_t>(y * 21 + x)], expected[y][x]) << y << "," << x;
  }
}

TEST(Masking, OutOfRangeRequestsApplyPatternZero) {
  std::vector<std::uint8_t> reference(25 * 25, 0);
  QrEncoder::ApplyMask(reference, 25, 0);
  for (int mask : {-1, 8, -3, 9, 1000}) {
    std::vector<std::uint8_t> grid(25 * 25, 0);
    EXPECT_EQ(QrEncoder::ApplyMask(grid, 25, mask), 0) << mask;
    EXPECT_EQ(grid, reference) << mask;
  }
  // A grid smaller than size x size is refused and left alone.
  std::vector<std::uint8_t> small(20, 0);
  EXPECT_EQ(QrEncoder::ApplyMask(small, 21, 3), -1);
  EXPECT_EQ(small, std::vector<std::uint8_t>(20, 0));
}

TEST(Masking, FormatWords) {
  struct Case {
    int level, pattern, word;
  };
  for (const Case c : {Case{2, 0, 0x5412}, Case{1, 0, 0x77C4}, Case{4, 7, 0x083B}, Case{3, 0, 0x355F},
                       Case{1, 7, 0x6976}}) {
    EXPECT_EQ(FormatWord(c.level, c.pattern), c.word) << c.level << "/" << c.pattern;
  }
  // The 32 words are a BCH code of distance 7.
  for (int a = 0; a < 32; ++a) {
    for (int b = a + 1; b < 32; ++b) {
      const int wa = FormatWord(a / 8 + 1, a % 8), wb = FormatWord(b / 8 + 1, b % 8);
      EXPECT_GE(std::popcount(static_cast<unsigned>(wa ^ wb)), 7) << a << " " << b;
    }
  }
}

TEST(Masking, VersionWords) {
  EXPECT_EQ(VersionWord(7), 0x07C94);
  EXPECT_EQ(VersionWord(8), 0x085BC);
  EXPECT_EQ(VersionWord(40), 0x28C69);
  // The 34 words form a code of distance 8.
  for (int a = 7; a <= 40; ++a) {
    EXPECT_EQ(VersionWord(a) >> 12, a);
    for (int b = a + 1; b <= 40; ++b) {
      EXPECT_GE(std::popcount(static_cast<unsigned>(VersionWord(a) ^ VersionWord(b))), 8) << a << " " << b;
    }
  }
}

TEST(Masking, BchRemainder) {
  // x^4 * (x^2 + 1) mod (x^4 + x + 1) over GF(2): x^6 + x^4 -> x^3 + x^2 + x + 1.
  EXPECT_EQ(QrEncoder::BchRemainder(0b101, 0b10011, 0b10000, 4), 0b1111);
  EXPECT_EQ(QrEncoder::BchRemainder(0, 0x537, 0x400, 10), 0);
  EXPECT_EQ(QrEncoder::BchRemainder(7, 0x1F25, 0x1000, 12), 0xC94);
  // A caller's large value is shifted out, not overflowed.
  EXPECT_GE(QrEncoder::BchRemainder(0x7FFFFFFF, 0x537, 0x400, 10), 0);
}

TEST(Masking, VersionInformationPositions) {
  // Version 7 (S = 45): bit 3m + k at (m, 34 + k) and (34 + k, m).
  const int stride = 48;
  std::vector<std::uint8_t> grid(stride * stride, 0);
  WriteVersionInformation(grid, stride, 45, 7);
  const int word = 0x07C94;
  for (int m = 0; m < 6; ++m) {
    for (int k = 0; k < 3; ++k) {
      const int bit = (word >> (3 * m + k)) & 1;
      EXPECT_EQ(grid[static_cast<std::size_t>((34 + k) * stride + m)], bit);
      EXPECT_EQ(grid[static_cast<std::size_t>(m * stride + 34 + k)], bit);
    }
  }
  // Lower versions write nothing.
  std::vector<std::uint8_t> v6(44 * 44, 0);
  WriteVersionInformation(v6, 44, 41, 6);
  EXPECT_EQ(v6, std::vector<std::uint8_t>(44 * 44, 0));
}

}  // namespace
}  // namespace varnelo::qr
