#include "qr/encode/symbol_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

TEST(SymbolTables, Geometry) {
  const QrEncoder encoder;
  struct Case {
    int version, size, dataModules, codewords;
  };
  for (const Case c : {Case{1, 21, 208, 26}, Case{2, 25, 359, 44}, Case{6, 41, 1383, 172},
                       Case{7, 45, 1568, 196}, Case{14, 73, 4651, 581}, Case{21, 101, 9252, 1156},
                       Case{40, 177, 29648, 3706}, Case{-1, 11, 36, 5}, Case{-2, 13, 80, 10},
                       Case{-3, 15, 132, 17}, Case{-4, 17, 192, 24}, Case{0, 0, 0, 0},
                       Case{41, 0, 0, 0}, Case{-5, 0, 0, 0}}) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(encoder.SymbolSize(c.version), c.size);
    EXPECT_EQ(encoder.DataModuleCount(c.version), c.dataModules);
    EXPECT_EQ(encoder.CodewordCount(c.version), c.codewords);
  }
  struct Alignment {
    int version, perSide, count;
  };
  for (const Alignment a : {Alignment{1, 1, 0}, Alignment{2, 2, 1}, Alignment{6, 2, 1},
                            Alignment{7, 3, 6}, Alignment{13, 3, 6}, Alignment{14, 4, 13},
                            Alignment{40, 7, 46}, Alignment{41, 7, 46}, Alignment{-2, 1, 0},
                            Alignment{-1, 1, 0}, Alignment{0, 1, 0}}) {
    SCOPED_TRACE(a.version);
    EXPECT_EQ(encoder.AlignmentPatternsPerSide(a.version), a.perSide);
    EXPECT_EQ(encoder.AlignmentPatternCount(a.version), a.count);
  }
}

// The data-module count counts what is left after the function patterns:
// S^2 minus finders with separators and format areas (3 * 64 + 31), timing
// (2 * (S - 16)), alignment patterns not on the timing lines (25 each, those
// on them 20), and from version 7 on the two version areas (36).
TEST(SymbolTables, DataModuleCountMatchesAFunctionPatternCensus) {
  for (int v = 1; v <= 40; ++v) {
    const int s = tables::SymbolSize(v);
    const int n = tables::AlignmentPatternsPerSide(v);
    int alignment = 0;
    if (n >= 2) alignment = 25 * (n - 1) * (n - 1) + 20 * 2 * (n - 2);
    const int expected = s * s - (3 * 64 + 1) - 2 * 15 - 2 * (s - 16) - alignment - (v >= 7 ? 36 : 0);
    EXPECT_EQ(tables::DataModuleCount(v), expected) << v;
    // Remainder bits: 0, 7, 0, 3, 4, 3, 0 over versions 1, 2-6, 7-13, 14-20,
    // 21-27, 28-34, 35-40.
    const int remainder = v == 1 ? 0 : v <= 6 ? 7 : v <= 13 ? 0 : v <= 20 ? 3 : v <= 27 ? 4 : v <= 34 ? 3 : 0;
    EXPECT_EQ(tables::DataModuleCount(v) - 8 * tables::CodewordCount(v), remainder) << v;
  }
}

// Alignment-pattern centre coordinates (row/column) of every version,
// ISO/IEC 18004 Annex E.
const std::vector<std::vector<int>> kAnnexE = {
    {},
    {6, 18},
    {6, 22},
    {6, 26},
    {6, 30},
    {6, 34},
    {6, 22, 38},
    {6, 24, 42},
    {6, 26, 46},
    {6, 28, 50},
    {6, 30, 54},
    {6, 32, 58},
    {6, 34, 62},
    {6, 26, 46, 66},
    {6, 26, 48, 70},
    {6, 26, 50, 74},
    {6, 30, 54, 78},
    {6, 30, 56, 82},
    {6, 30, 58, 86},
    {6, 34, 62, 90},
    {6, 28, 50, 72, 94},
    {6, 26, 50, 74, 98},
    {6, 30, 54, 78, 102},
    {6, 28, 54, 80, 106},
    {6, 32, 58, 84, 110},
    {6, 30, 58, 86, 114},
    {6, 34, 62, 90, 118},
    {6, 26, 50, 74, 98, 122},
    {6, 30, 54, 78, 102, 126},
    {6, 26, 52, 78, 104, 130},
    {6, 30, 56, 82, 108, 134},
    {6, 34, 60, 86, 112, 138},
    {6, 30, 58, 86, 114, 142},
    {6, 34, 62, 90, 118, 146},
    {6, 30, 54, 78, 102, 126, 150},
    {6, 24, 50, 76, 102, 128, 154},
    {6, 28, 54, 80, 106, 132, 158},
    {6, 32, 58, 84, 110, 136, 162},
    {6, 26, 54, 82, 110, 138, 166},
    {6, 30, 58, 86, 114, 142, 170},
};

TEST(SymbolTables, AlignmentStepsReproduceAnnexE) {
  for (int v = 1; v <= 40; ++v) {
    const int s = tables::SymbolSize(v);
    std::vector<int> centres;
    if (v >= 2) {
      for (int c = s - 7; c >= 18; c -= tables::AlignmentStep(v)) centres.insert(centres.begin(), c);
      centres.insert(centres.begin(), 6);
    }
    EXPECT_EQ(centres, kAnnexE[static_cast<std::size_t>(v - 1)]) << "version " << v;
    if (v >= 2) {
      EXPECT_EQ(static_cast<int>(centres.size()), tables::AlignmentPatternsPerSide(v)) << v;
    }
  }
  struct Step {
    int version, step;
  };
  for (const Step c : {Step{1, 255}, Step{6, 255}, Step{7, 16}, Step{13, 28}, Step{14, 20},
                       Step{16, 24}, Step{21, 22}, Step{26, 28}, Step{28, 24}, Step{32, 26},
                       Step{35, 24}, Step{36, 26}, Step{40, 28}}) {
    EXPECT_EQ(tables::AlignmentStep(c.version), c.step) << c.version;
  }
}

TEST(SymbolTables, ErrorCorrectionCharacteristics) {
  const QrEncoder encoder;
  struct Case {
    int version, level, blocks, ecPerBlock, dataCodewords;
  };
  for (const Case c : {Case{1, 1, 1, 7, 19}, Case{1, 2, 1, 10, 16}, Case{1, 3, 1, 13, 13},
                       Case{1, 4, 1, 17, 9}, Case{5, 3, 4, 18, 62}, Case{8, 1, 2, 24, 194},
                       Case{10, 4, 8, 28, 122}, Case{27, 1, 12, 30, 1468},
                       Case{40, 1, 25, 30, 2956}, Case{40, 2, 49, 28, 2334},
                       Case{40, 3, 68, 30, 1666}, Case{40, 4, 81, 30, 1276}}) {
    SCOPED_TRACE(testing::Message() << c.version << "-" << c.level);
    EXPECT_EQ(encoder.EcBlockCount(c.version, c.level), c.blocks);
    EXPECT_EQ(encoder.EcCodewordsPerBlock(c.version, c.level), c.ecPerBlock);
    EXPECT_EQ(encoder.DataCodewordCount(c.version, c.level), c.dataCodewords);
  }
  for (int v = 27; v <= 40; ++v) {
    EXPECT_EQ(encoder.EcCodewordsPerBlock(v, 1), 30);
    EXPECT_EQ(encoder.EcCodewordsPerBlock(v, 2), 28);
    EXPECT_EQ(encoder.EcCodewordsPerBlock(v, 3), 30);
    EXPECT_EQ(encoder.EcCodewordsPerBlock(v, 4), 30);
  }
  for (const auto& [v, l] : std::vector<std::pair<int, int>>{{0, 1}, {41, 1}, {-1, 1}, {1, 0}, {1, 5}}) {
    EXPECT_EQ(encoder.EcBlockCount(v, l), 0);
    EXPECT_EQ(encoder.EcCodewordsPerBlock(v, l), 0);
    EXPECT_EQ(encoder.DataCodewordCount(v, l), 0);
  }
}

// Every version and level: data codewords positive and growing with the
// version, shrinking with the level; blocks short and long differ by one
// codeword and fit the coder's 256-entry block buffer.
TEST(SymbolTables, BlockStructureIsConsistent) {
  for (int l = 1; l <= 4; ++l) {
    int previous = 0;
    for (int v = 1; v <= 40; ++v) {
      SCOPED_TRACE(testing::Message() << v << "-" << l);
      const int h = tables::DataCodewordCount(v, l);
      const int t = tables::EcBlockCount(v, l);
      const int e = tables::EcCodewordsPerBlock(v, l);
      EXPECT_GT(h, previous);
      previous = h;
      if (l > 1) {
        EXPECT_LT(h, tables::DataCodewordCount(v, l - 1));
      }
      EXPECT_GE(h, t);
      EXPECT_LE((h + t - 1) / t + e, 256);
    }
  }
}

}  // namespace
}  // namespace varnelo::qr
