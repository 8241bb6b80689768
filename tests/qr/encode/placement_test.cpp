#include "qr/encode/placement.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

struct Grid {
  int size, stride;
  std::vector<std::uint8_t> cells;
  std::uint8_t At(int x, int y) const { return cells[static_cast<std::size_t>(y * stride + x)]; }
};

Grid Functions(int version) {
  const int size = tables::SymbolSize(version);
  Grid g{size, size + 3, std::vector<std::uint8_t>(static_cast<std::size_t>((size + 3) * (size + 3)), 0)};
  EXPECT_TRUE(QrEncoder().DrawFunctionPatterns(g.cells, g.stride, version));
  return g;
}

int FreeModules(const Grid& g) {
  int free = 0;
  for (int y = 0; y < g.size; ++y) {
    for (int x = 0; x < g.size; ++x) free += g.At(x, y) == kFreeModule;
  }
  return free;
}

// Centre dark, the eight around it light, the ring at distance 2 dark.
bool IsAlignmentPattern(const Grid& g, int cx, int cy) {
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const bool ring = dx == -2 || dx == 2 || dy == -2 || dy == 2;
      const std::uint8_t expected = ring || (dx == 0 && dy == 0) ? kDarkFunction : kLightFunction;
      if (g.At(cx + dx, cy + dy) != expected) return false;
    }
  }
  return true;
}

TEST(Placement, FreeModulesMatchTheDataModuleCount) {
  for (int v = 1; v <= 40; ++v) {
    const Grid g = Functions(v);
    EXPECT_EQ(FreeModules(g), tables::DataModuleCount(v)) << v;
    // Nothing is written into the spare columns and rows after the symbol.
    for (int i = 0; i < g.stride; ++i) {
      for (int extra = g.size; extra < g.stride; ++extra) {
        ASSERT_EQ(g.At(extra, i), 0);
        ASSERT_EQ(g.At(i, extra), 0);
      }
    }
  }
}

TEST(Placement, Version1Patterns) {
  const Grid g = Functions(1);
  // Finder corners, centres and separators.
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {6, 6}, {3, 3}, {20, 0}, {14, 6}, {0, 20}, {6, 14}, {8, 13}}) {
    EXPECT_EQ(g.At(x, y), kDarkFunction) << x << "," << y;
  }
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 1}, {5, 3}, {7, 0}, {0, 7}, {13, 0}, {7, 20}, {8, 8}, {0, 8}, {20, 8}, {8, 20}}) {
    EXPECT_EQ(g.At(x, y), kLightFunction) << x << "," << y;
  }
  // Timing patterns over modules 8..12, dark on even positions.
  for (int n = 8; n <= 12; ++n) {
    const std::uint8_t expected = n % 2 == 0 ? kDarkFunction : kLightFunction;
    EXPECT_EQ(g.At(n, 6), expected);
    EXPECT_EQ(g.At(6, n), expected);
  }
  EXPECT_EQ(g.At(6, 8), kDarkFunction);
  EXPECT_EQ(g.At(9, 9), kFreeModule);
  EXPECT_EQ(g.At(20, 20), kFreeModule);
}

TEST(Placement, AlignmentPatternCentres) {
  struct Case {
    int version;
    std::vector<int> centres;
  };
  for (const Case& c : std::vector<Case>{{2, {6, 18}}, {7, {6, 22, 38}}, {32, {6, 34, 60, 86, 112, 138}}}) {
    SCOPED_TRACE(c.version);
    const Grid g = Functions(c.version);
    const int last = c.centres.back();
    int found = 0;
    for (int cy : c.centres) {
      for (int cx : c.centres) {
        const bool onFinder = (cx == 6 && cy == 6) || (cx == 6 && cy == last) || (cx == last && cy == 6);
        if (onFinder) continue;
        EXPECT_TRUE(IsAlignmentPattern(g, cx, cy)) << cx << "," << cy;
        ++found;
      }
    }
    EXPECT_EQ(found, tables::AlignmentPatternCount(c.version));
  }
  const Grid v7 = Functions(7);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{22, 22}, {22, 38}, {38, 22}, {38, 38}, {22, 6}, {6, 22}}) {
    EXPECT_TRUE(IsAlignmentPattern(v7, x, y)) << x << "," << y;
  }
}

TEST(Placement, VersionAreas) {
  const Grid v7 = Functions(7);  // S = 45
  for (int a = 34; a <= 36; ++a) {
    for (int b = 0; b <= 5; ++b) {
      EXPECT_EQ(v7.At(b, a), kLightFunction);
      EXPECT_EQ(v7.At(a, b), kLightFunction);
    }
    // Row and column 6 belong to the timing patterns.
    EXPECT_EQ(v7.At(6, a), a % 2 == 0 ? kDarkFunction : kLightFunction);
    EXPECT_EQ(v7.At(a, 6), a % 2 == 0 ? kDarkFunction : kLightFunction);
  }
  EXPECT_EQ(v7.At(7, 34), kFreeModule);
  const Grid v6 = Functions(6);  // S = 41: nothing reserved left of the bottom-left finder
  EXPECT_EQ(v6.At(0, 30), kFreeModule);
  EXPECT_EQ(v6.At(30, 0), kFreeModule);
}

TEST(Placement, DarkModuleAndFormatCornerInEveryVersion) {
  for (int v = 1; v <= 40; ++v) {
    const Grid g = Functions(v);
    EXPECT_EQ(g.At(8, g.size - 8), kDarkFunction) << v;
    EXPECT_EQ(g.At(8, 8), kLightFunction) << v;
    EXPECT_EQ(g.At(6, 8), kDarkFunction) << v;
  }
}

TEST(Placement, VersionsOutsideTheRangeDrawNothing) {
  const QrEncoder encoder;
  std::vector<std::uint8_t> grid(48 * 48, 7);
  const auto untouched = grid;
  EXPECT_TRUE(encoder.DrawFunctionPatterns(grid, 48, -2));
  EXPECT_EQ(grid, untouched);
  for (int v : {0, 41, -5}) {
    EXPECT_FALSE(encoder.DrawFunctionPatterns(grid, 48, v)) << v;
    EXPECT_EQ(grid, untouched);
  }
  // A grid too small for the symbol.
  EXPECT_FALSE(encoder.DrawFunctionPatterns(grid, 48, 8));  // S = 49
  std::vector<std::uint8_t> tiny(20 * 20, 7);
  EXPECT_FALSE(encoder.DrawFunctionPatterns(tiny, 24, 1));
  EXPECT_EQ(tiny, std::vector<std::uint8_t>(20 * 20, 7));
}

TEST(Placement, FirstBitsStartInTheBottomRightCorner) {
  const Grid g = Functions(1);
  struct Case {
    std::uint8_t codeword;
    int bit2020, bit1920, bit2019, bit1919;
  };
  for (const Case c : {Case{0xA0, 1, 0, 1, 0}, Case{0x60, 0, 1, 1, 0}, Case{0x10, 0, 0, 0, 1}}) {
    std::vector<std::uint8_t> codewords(26, 0);
    codewords[0] = c.codeword;
    std::vector<std::uint8_t> data(21 * 21, 9);
    PlaceCodewordBits(g.cells, g.stride, g.size, codewords, 26 * 8, data);
    EXPECT_EQ(data[20 * 21 + 20], c.bit2020);
    EXPECT_EQ(data[20 * 21 + 19], c.bit1920);
    EXPECT_EQ(data[19 * 21 + 20], c.bit2019);
    EXPECT_EQ(data[19 * 21 + 19], c.bit1919);
  }
  // Bits 0..23 fill rows 20 up to 9 of the first pair; bit 24 turns down the
  // next pair at its first free module, (18, 9).
  std::vector<std::uint8_t> codewords(26, 0);
  codewords[3] = 0x80;
  std::vector<std::uint8_t> data(21 * 21, 0);
  PlaceCodewordBits(g.cells, g.stride, g.size, codewords, 26 * 8, data);
  EXPECT_EQ(data[9 * 21 + 18], 1);
}

TEST(Placement, EveryFreeModuleGetsOneBit) {
  for (int v : {1, 2, 7, 14, 21, 40}) {
    SCOPED_TRACE(v);
    const Grid g = Functions(v);
    const int codewords = tables::CodewordCount(v);
    std::vector<std::uint8_t> ones(static_cast<std::size_t>(codewords), 0xFF);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(g.size * g.size), 5);
    PlaceCodewordBits(g.cells, g.stride, g.size, ones, codewords * 8, data);
    int set = 0, cleared = 0, untouched = 0;
    for (int y = 0; y < g.size; ++y) {
      for (int x = 0; x < g.size; ++x) {
        const std::uint8_t d = data[static_cast<std::size_t>(y * g.size + x)];
        if (g.At(x, y) != kFreeModule) {
          untouched += d == 5;
        } else {
          set += d == 1;
          cleared += d == 0;
        }
      }
    }
    EXPECT_EQ(set, codewords * 8);
    EXPECT_EQ(cleared, tables::DataModuleCount(v) - codewords * 8);  // remainder modules
    EXPECT_EQ(untouched, g.size * g.size - tables::DataModuleCount(v));
  }
}

TEST(Placement, LayoutWalkFollowsThePlacementOrder) {
  for (int v : {1, 2, 7, 33, 40}) {
    SCOPED_TRACE(v);
    SymbolLayout layout;
    BuildSymbolLayout(v, layout);
    const Grid g = Functions(v);
    ASSERT_EQ(layout.walk.size(), static_cast<std::size_t>(tables::DataModuleCount(v)));
    // Distinct positions, and the plain placement puts bit p where the walk says.
    std::set<int> distinct(layout.walk.begin(), layout.walk.end());
    EXPECT_EQ(distinct.size(), layout.walk.size());
    const int codewords = tables::CodewordCount(v);
    std::vector<std::uint8_t> pattern(static_cast<std::size_t>(codewords));
    for (int i = 0; i < codewords; ++i) pattern[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 29 + 3);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(g.size * g.size), 0);
    PlaceCodewordBits(g.cells, g.stride, g.size, pattern, codewords * 8, data);
    for (int p = 0; p < codewords * 8; ++p) {
      const int bit = (pattern[static_cast<std::size_t>(p / 8)] >> (7 - p % 8)) & 1;
      const int offset = layout.walk[static_cast<std::size_t>(p)];
      ASSERT_LT(offset % layout.stride, g.size);
      ASSERT_LT(offset / layout.stride, g.size);
      ASSERT_EQ(data[static_cast<std::size_t>(offset / layout.stride * g.size + offset % layout.stride)], bit) << p;
    }
    // The layout's function modules are the drawn ones, reduced to dark/light.
    for (int y = 0; y < g.size; ++y) {
      for (int x = 0; x < g.size; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * g.stride + x);
        const bool free = g.At(x, y) == kFreeModule;
        ASSERT_EQ(layout.functionMask[i], free ? 0 : 0xFF);
        const bool versionArea = v >= 7 && ((x < 6 && y >= g.size - 11 && y <= g.size - 9) ||
                                            (y < 6 && x >= g.size - 11 && x <= g.size - 9));
        if (!versionArea) {
          ASSERT_EQ(layout.functionModules[i], g.At(x, y) == kDarkFunction ? 1 : 0);
        }
      }
    }
  }
}

}  // namespace
}  // namespace varnelo::qr
