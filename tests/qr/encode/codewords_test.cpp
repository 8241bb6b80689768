#include "qr/encode/codewords.h"

#include <gtest/gtest.h>

#include <vector>

#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

GaloisField Gf256() {
  GaloisField field;
  EXPECT_TRUE(field.Init(256, 0x11D, 2));
  return field;
}

std::vector<int> Ints(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(Codewords, BlockGeometry) {
  struct Case {
    int version, level, h, t, e, k, s;
  };
  for (const Case c : {Case{1, 2, 16, 1, 10, 16, 0}, Case{5, 3, 62, 4, 18, 16, 2}, Case{5, 4, 46, 4, 22, 12, 2},
                       Case{40, 1, 2956, 25, 30, 119, 19}, Case{40, 4, 1276, 81, 30, 16, 20}}) {
    SCOPED_TRACE(testing::Message() << c.version << "-" << c.level);
    const BlockGeometry g = BlockGeometryOf(c.version, c.level);
    EXPECT_EQ(g.dataCodewords, c.h);
    EXPECT_EQ(g.blocks, c.t);
    EXPECT_EQ(g.ecPerBlock, c.e);
    EXPECT_EQ(g.longLength, c.k);
    EXPECT_EQ(g.shortBlocks, c.s);
  }
  EXPECT_EQ(BlockGeometryOf(0, 1).blocks, 0);
  EXPECT_EQ(BlockGeometryOf(1, 5).blocks, 0);
}

TEST(Codewords, TerminatorZeroFillAndPadding) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> stream;
    int h;
    std::vector<int> expected;
  };
  const std::vector<std::uint8_t> nineOnes = {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0};
  std::vector<std::uint8_t> full(8 * 4, 1);
  std::vector<std::uint8_t> cutTo2 = full;  // 8h + 2 bits: 2 terminator bits kept
  cutTo2[30] = cutTo2[31] = 0;
  cutTo2.insert(cutTo2.end(), {0, 0});
  std::vector<std::uint8_t> noRoom = full;  // L - 4 = 8h: terminator dropped
  noRoom.insert(noRoom.end(), {0, 0, 0, 0});
  for (const Case& c : std::vector<Case>{
           {"empty message", {0, 0, 0, 0}, 16, {0x00, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC}},
           {"zero bits to the codeword boundary", nineOnes, 4, {0xFF, 0x80, 0xEC, 0x11}},
           {"terminator cut to two bits", cutTo2, 4, {0xFF, 0xFF, 0xFF, 0xFC}},
           {"no room for the terminator", noRoom, 4, {0xFF, 0xFF, 0xFF, 0xFF}},
       }) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(c.h), 0x55);
    PackDataCodewords(c.stream, static_cast<int>(c.stream.size()), out);
    EXPECT_EQ(Ints(out), c.expected);
  }
  // A stream length beyond the cells given reads only the cells given.
  std::vector<std::uint8_t> out(4);
  PackDataCodewords(nineOnes, 1000, out);
  EXPECT_EQ(Ints(out), (std::vector<int>{0xFF, 0x80, 0xEC, 0x11}));
}

TEST(Codewords, Version1MErrorCorrection) {
  const GaloisField field = Gf256();
  ReedSolomonEncoder coder;
  const BlockGeometry g = BlockGeometryOf(1, 2);
  struct Case {
    std::vector<int> data, ec;
  };
  for (const Case& c : std::vector<Case>{
           {{0x00, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC},
            {0x84, 0x99, 0x22, 0xCF, 0xAA, 0xD5, 0xBD, 0x83, 0xF8, 0x58}},
           {{0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11},
            {0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55}},
       }) {
    const std::vector<std::uint8_t> data(c.data.begin(), c.data.end());
    std::vector<std::uint8_t> out(26);
    InterleaveBlocks(g, data, field, coder, out);
    std::vector<int> expected = c.data;
    expected.insert(expected.end(), c.ec.begin(), c.ec.end());
    EXPECT_EQ(Ints(out), expected);
  }
  // The empty message through packing as well.
  std::vector<std::uint8_t> data(16);
  PackDataCodewords(std::vector<std::uint8_t>{0, 0, 0, 0}, 4, data);
  std::vector<std::uint8_t> out(26);
  InterleaveBlocks(g, data, field, coder, out);
  EXPECT_EQ(Ints(std::vector<std::uint8_t>(out.begin() + 16, out.end())),
            (std::vector<int>{0x84, 0x99, 0x22, 0xCF, 0xAA, 0xD5, 0xBD, 0x83, 0xF8, 0x58}));
}

// The codeword polynomial of a block (first codeword highest power) at alpha^j.
int Syndrome(const GaloisField& f, const std::vector<int>& block, int j) {
  int value = 0;
  for (int c : block) value = f.Add(f.Multiply(value, f.Exp(j)), c);
  return value;
}

// Interleaving read back column by column: the m-th codeword of every block
// that still has one, then the same for the error-correction codewords.
TEST(Codewords, BlocksInterleaveColumnByColumn) {
  const GaloisField field = Gf256();
  ReedSolomonEncoder coder;
  for (const auto& [version, level] : std::vector<std::pair<int, int>>{{5, 3}, {1, 1}, {10, 4}, {40, 1}, {40, 4}}) {
    SCOPED_TRACE(testing::Message() << version << "-" << level);
    const BlockGeometry g = BlockGeometryOf(version, level);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(g.dataCodewords));
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(g.TotalCodewords()));
    InterleaveBlocks(g, data, field, coder, out);

    std::vector<std::vector<int>> blocks(static_cast<std::size_t>(g.blocks));
    std::vector<int> lengths;
    for (int i = 0, source = 0; i < g.blocks; ++i) {
      const int length = i < g.shortBlocks ? g.longLength - 1 : g.longLength;
      lengths.push_back(length);
      for (int m = 0; m < length; ++m, ++source) {
        blocks[static_cast<std::size_t>(i)].push_back(data[static_cast<std::size_t>(source)]);
      }
    }
    std::size_t p = 0;
    for (int m = 0; m < g.longLength; ++m) {
      for (int i = 0; i < g.blocks; ++i) {
        if (m < lengths[static_cast<std::size_t>(i)]) {
          ASSERT_EQ(out[p], blocks[static_cast<std::size_t>(i)][static_cast<std::size_t>(m)]) << "position " << p;
          ++p;
        }
      }
    }
    ASSERT_EQ(p, static_cast<std::size_t>(g.dataCodewords));
    for (int c = 0; c < g.ecPerBlock; ++c) {
      for (int i = 0; i < g.blocks; ++i) blocks[static_cast<std::size_t>(i)].push_back(out[p++]);
    }
    for (const auto& block : blocks) {
      for (int j = 0; j < g.ecPerBlock; ++j) ASSERT_EQ(Syndrome(field, block, j), 0);
    }
  }
}

TEST(Codewords, Version5QPositions) {
  const GaloisField field = Gf256();
  ReedSolomonEncoder coder;
  const BlockGeometry g = BlockGeometryOf(5, 3);
  std::vector<std::uint8_t> data(62);
  for (int i = 0; i < 62; ++i) data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  std::vector<std::uint8_t> out(134);
  InterleaveBlocks(g, data, field, coder, out);
  // Blocks start at codewords 0, 15, 30 and 46.
  EXPECT_EQ(Ints({out.begin(), out.begin() + 8}), (std::vector<int>{0, 15, 30, 46, 1, 16, 31, 47}));
  EXPECT_EQ(out[56], 14);
  EXPECT_EQ(out[57], 29);
  EXPECT_EQ(out[58], 44);
  EXPECT_EQ(out[59], 60);
  EXPECT_EQ(out[60], 45);
  EXPECT_EQ(out[61], 61);
}

}  // namespace
}  // namespace varnelo::qr
