#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "qr/encode/codewords.h"
#include "qr/encode/masking.h"
#include "qr/encode/placement.h"
#include "qr/encode/qr_encoder.h"
#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

EncodeOptions Options(const std::vector<std::uint8_t>& data, std::optional<int> version = std::nullopt,
                      std::optional<int> level = std::nullopt, std::optional<int> mask = std::nullopt) {
  EncodeOptions o;
  o.data = data;
  o.dataLength = static_cast<int>(data.size());
  o.version = version;
  o.level = level;
  o.mask = mask;
  return o;
}

int Version(const ModuleMatrix& m) { return (m.size - 17) / 4; }

// The symbol built one plain step at a time: draw the function patterns,
// place the codewords module by module, mask the whole data grid, merge,
// then version and format information.
ModuleMatrix Stepwise(const QrEncoder& encoder, const std::vector<std::uint8_t>& data, int version, int level,
                      int mask) {
  std::vector<std::uint8_t> stream(QrEncoder::kBitStreamCells);
  const int bits = encoder.EncodeData(stream, data, static_cast<int>(data.size()), version);
  const BlockGeometry g = BlockGeometryOf(version, level);
  std::vector<std::uint8_t> dataCodewords(static_cast<std::size_t>(g.dataCodewords));
  PackDataCodewords(stream, bits, dataCodewords);
  std::vector<std::uint8_t> codewords(static_cast<std::size_t>(g.TotalCodewords()));
  ReedSolomonEncoder coder;
  InterleaveBlocks(g, dataCodewords, encoder.Field(), coder, codewords);

  ModuleMatrix m;
  m.size = tables::SymbolSize(version);
  m.stride = m.size + 3;
  m.cells.assign(static_cast<std::size_t>(m.stride * m.stride), 0);
  encoder.DrawFunctionPatterns(m.cells, m.stride, version);
  std::vector<std::uint8_t> grid(static_cast<std::size_t>(m.size * m.size), 0);
  PlaceCodewordBits(m.cells, m.stride, m.size, codewords, static_cast<int>(codewords.size()) * 8, grid);
  const int pattern = QrEncoder::ApplyMask(grid, m.size, mask);
  for (int y = 0; y < m.size; ++y) {
    for (int x = 0; x < m.size; ++x) {
      auto& cell = m.cells[static_cast<std::size_t>(y * m.stride + x)];
      if (cell == kFreeModule) cell = grid[static_cast<std::size_t>(y * m.size + x)];
      cell &= 1;
    }
  }
  WriteVersionInformation(m.cells, m.stride, m.size, version);
  WriteFormatInformation(m.cells, m.stride, m.size, FormatWord(level, pattern));
  return m;
}

// Both copies of the format information, read module by module.
std::pair<int, int> FormatCopies(const ModuleMatrix& m) {
  const int s = m.size;
  int first = 0, second = 0;
  const auto push = [&m](int& word, int x, int y) { word = word << 1 | m.At(x, y); };
  for (int x = 0; x <= 5; ++x) push(first, x, 8);  // bits 14..9
  push(first, 7, 8);
  push(first, 8, 8);
  push(first, 8, 7);
  for (int y = 5; y >= 0; --y) push(first, 8, y);
  for (int y = s - 1; y >= s - 7; --y) push(second, 8, y);  // bits 14..8
  for (int x = s - 8; x <= s - 1; ++x) push(second, x, 8);  // bits 7..0
  return {first, second};
}

TEST(Encoder, FreshEncoderHoldsAnEmptyMatrix) {
  const QrEncoder encoder;
  EXPECT_EQ(encoder.Matrix().size, 0);
  EXPECT_EQ(encoder.Matrix().stride, 1);
  EXPECT_EQ(encoder.Matrix().cells, std::vector<std::uint8_t>{0});
  EXPECT_EQ(encoder.ModuleAt(1, 1), 0);
  EXPECT_EQ(encoder.ModuleAt(1, 1, true), 0);
}

TEST(Encoder, MatchesTheStepByStepConstruction) {
  QrEncoder encoder;
  const auto text = Bytes("HELLO, world 0123456789 https://example.com/path?q=1");
  struct Case {
    int version, level, mask;
  };
  // Alternating versions also exercise the layout kept between calls.
  for (const Case c : {Case{7, 1, 3}, Case{2, 2, 0}, Case{7, 4, 5}, Case{1, 3, 7}, Case{14, 2, 6}, Case{32, 4, 1},
                       Case{40, 1, 2}, Case{40, 3, 4}, Case{2, 4, 7}}) {
    SCOPED_TRACE(testing::Message() << c.version << "-" << c.level << " mask " << c.mask);
    std::vector<std::uint8_t> data = text;
    if (c.version <= 2) data.resize(10);
    ASSERT_TRUE(encoder.EncodeMatrix(Options(data, c.version, c.level, c.mask)));
    const ModuleMatrix expected = Stepwise(encoder, data, c.version, c.level, c.mask);
    EXPECT_EQ(encoder.Matrix().size, expected.size);
    EXPECT_EQ(encoder.Matrix().stride, expected.stride);
    EXPECT_EQ(encoder.Matrix().cells, expected.cells);
  }
}

TEST(Encoder, SymbolInvariants) {
  QrEncoder encoder;
  const auto data = Bytes("Invariants");
  for (int version : {2, 6, 7, 20, 40}) {
    for (int level = 1; level <= 4; ++level) {
      for (int mask : {0, 5}) {
        SCOPED_TRACE(testing::Message() << version << "-" << level << " mask " << mask);
        ASSERT_TRUE(encoder.EncodeMatrix(Options(data, version, level, mask)));
        const ModuleMatrix& m = encoder.Matrix();
        ASSERT_EQ(m.size, 4 * version + 17);
        ASSERT_EQ(m.stride % 4, 0);
        ASSERT_EQ(m.cells.size(), static_cast<std::size_t>(m.stride * m.stride));
        for (std::uint8_t cell : m.cells) ASSERT_LE(cell, 1);
        for (int i = 0; i < m.stride; ++i) {
          for (int extra = m.size; extra < m.stride; ++extra) {
            ASSERT_EQ(m.At(extra, i), 0);
            ASSERT_EQ(m.At(i, extra), 0);
          }
        }
        EXPECT_EQ(m.At(8, m.size - 8), 1);
        const auto [first, second] = FormatCopies(m);
        EXPECT_EQ(first, second);
        EXPECT_EQ(first, FormatWord(level, mask));
      }
    }
  }
}

TEST(Encoder, EmptyMessage) {
  QrEncoder encoder;
  const std::vector<std::uint8_t> none;
  ASSERT_TRUE(encoder.EncodeMatrix(Options(none)));
  EXPECT_EQ(encoder.Matrix().size, 21);
  EXPECT_EQ(encoder.Matrix().stride, 24);
  // The same symbol as the plain construction of the 4-bit terminator at 1-M.
  EXPECT_EQ(encoder.Matrix().cells, Stepwise(encoder, none, 1, 2, 0).cells);
  // dataLength 0 or negative with bytes present is the empty message too.
  const auto text = Bytes("ignored");
  for (int length : {0, -5}) {
    EncodeOptions o = Options(text);
    o.dataLength = length;
    ASSERT_TRUE(encoder.EncodeMatrix(o));
    EXPECT_EQ(encoder.Matrix().cells, Stepwise(encoder, none, 1, 2, 0).cells);
  }
}

TEST(Encoder, OptionDefaultsAndOutOfRangeValues) {
  const auto data = Bytes("defaults");
  QrEncoder encoder;
  ASSERT_TRUE(encoder.EncodeMatrix(Options(data, 3, 2, 0)));
  const auto reference = encoder.Matrix().cells;
  struct Case {
    std::optional<int> version, level, mask;
  };
  // Level omitted, 0 or 5 is M; mask omitted, -1, 8 or -3 is pattern 0.
  for (const Case c : {Case{3, std::nullopt, std::nullopt}, Case{3, 0, -1}, Case{3, 5, 8}, Case{3, -2, -3}}) {
    ASSERT_TRUE(encoder.EncodeMatrix(Options(data, c.version, c.level, c.mask)));
    EXPECT_EQ(encoder.Matrix().cells, reference);
    EXPECT_EQ(FormatCopies(encoder.Matrix()).first, 0x5412);
  }
  // Version 0, 41 and 100 choose automatically.
  ASSERT_TRUE(encoder.EncodeMatrix(Options(data, std::nullopt, 2, 0)));
  const auto automatic = encoder.Matrix().cells;
  for (int version : {0, 41, 100}) {
    ASSERT_TRUE(encoder.EncodeMatrix(Options(data, version, 2, 0)));
    EXPECT_EQ(encoder.Matrix().cells, automatic) << version;
  }
}

TEST(Encoder, CapacityBoundaries) {
  QrEncoder encoder;
  struct Case {
    const char* name;
    std::string text;
    int level;
    int version;  // chosen automatically
  };
  for (const Case& c : std::vector<Case>{
           // 34 digits at 1-M are exactly 128 bits: no room for the terminator.
           {"data bits fill 1-M", std::string(34, '7'), 2, 1},
           {"one digit more", std::string(35, '7'), 2, 2},
           // 41 digits at 1-L are 151 bits: one terminator bit kept.
           {"terminator cut short at 1-L", std::string(41, '3'), 1, 1},
           {"one digit more at L", std::string(42, '3'), 1, 2},
           {"17 bytes at 1-L", std::string(17, 'q'), 1, 1},
           {"18 bytes at 1-L", std::string(18, 'q'), 1, 2},
           {"2953 bytes at 40-L", std::string(2953, 'q'), 1, 40},
           {"byte group boundary", std::string(230, 'q'), 1, 9},
           {"into the second group", std::string(231, 'q'), 1, 10},
       }) {
    SCOPED_TRACE(c.name);
    const auto data = Bytes(c.text);
    ASSERT_TRUE(encoder.EncodeMatrix(Options(data, std::nullopt, c.level)));
    EXPECT_EQ(Version(encoder.Matrix()), c.version);
    // The same symbol as the plain construction at that version.
    EXPECT_EQ(encoder.Matrix().cells, Stepwise(encoder, data, c.version, c.level, 0).cells);
    if (c.version > 1) {
      EXPECT_FALSE(encoder.EncodeMatrix(Options(data, c.version - 1, c.level)));
    }
  }
}

TEST(Encoder, HigherLevelNeverChoosesASmallerVersion) {
  QrEncoder encoder;
  for (const std::string& text : {std::string("https://example.com/campaign?source=42&x=y"), std::string(400, 'z'),
                                  std::string(900, '5'), std::string("MIXED 123 text, 456789 and MORE")}) {
    const auto data = Bytes(text);
    int previous = 0;
    for (int level = 1; level <= 4; ++level) {
      ASSERT_TRUE(encoder.EncodeMatrix(Options(data, std::nullopt, level)));
      EXPECT_GE(Version(encoder.Matrix()), previous) << text.size() << " level " << level;
      previous = Version(encoder.Matrix());
    }
  }
}

TEST(Encoder, FailuresKeepThePreviousSymbol) {
  QrEncoder encoder;
  const auto data = Bytes("keep me");
  EncodeOptions good = Options(data, 2, 3, 4);
  good.marginLeft = 3;
  good.marginTop = 1;
  ASSERT_TRUE(encoder.EncodeMatrix(good));
  const ModuleMatrix before = encoder.Matrix();
  const Margins marginsBefore = encoder.StoredMargins();

  const auto big = Bytes(std::string(2954, 'q'));  // one byte over 40-L
  const auto huge = Bytes(std::string(20000, 'q'));  // more than the stream buffer holds
  const auto tooLongForVersion1 = Bytes(std::string(30, 'q'));
  std::vector<EncodeOptions> failing;
  for (int version : {-1, -2, -3, -4, -100}) failing.push_back(Options(data, version));
  failing.push_back(Options(big, std::nullopt, 1));
  failing.push_back(Options(big, 40, 1));
  failing.push_back(Options(huge));
  failing.push_back(Options(tooLongForVersion1, 1, 1));
  for (EncodeOptions& o : failing) {
    o.marginLeft = 9;
    o.marginTop = 9;
    EXPECT_FALSE(encoder.EncodeMatrix(o));
    EXPECT_EQ(encoder.Matrix().cells, before.cells);
    EXPECT_EQ(encoder.Matrix().size, before.size);
    EXPECT_EQ(encoder.StoredMargins().left, marginsBefore.left);
    EXPECT_EQ(encoder.StoredMargins().top, marginsBefore.top);
    EXPECT_EQ(encoder.ModuleAt(2, 4), 1);  // top-left finder corner
  }
}

TEST(Encoder, DataLengthNeverReadsPastTheBytes) {
  QrEncoder encoder;
  const auto data = Bytes("short");
  ASSERT_TRUE(encoder.EncodeMatrix(Options(data, 1, 2, 0)));
  const auto expected = encoder.Matrix().cells;
  EncodeOptions o = Options(data, 1, 2, 0);
  o.dataLength = 1000;
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  EXPECT_EQ(encoder.Matrix().cells, expected);
  o.dataLength = std::numeric_limits<int>::max();
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  EXPECT_EQ(encoder.Matrix().cells, expected);
  // A shorter dataLength uses only the first bytes.
  const auto first = Bytes("sh");
  ASSERT_TRUE(encoder.EncodeMatrix(Options(first, 1, 2, 0)));
  const auto prefix = encoder.Matrix().cells;
  o.dataLength = 2;
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  EXPECT_EQ(encoder.Matrix().cells, prefix);
}

TEST(Encoder, ModuleAtWithMargins) {
  QrEncoder encoder;
  const auto data = Bytes("margins");
  EncodeOptions o = Options(data, 1, 2, 0);
  o.marginLeft = 3;
  o.marginTop = 1;
  o.marginRight = 2;
  o.marginBottom = 5;
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  const ModuleMatrix& m = encoder.Matrix();
  EXPECT_EQ(encoder.StoredMargins().right, 2);
  EXPECT_EQ(encoder.StoredMargins().bottom, 5);
  EXPECT_EQ(encoder.ModuleAt(2, 4), 1);  // top-left module of the finder
  EXPECT_EQ(encoder.ModuleAt(1, 4), 0);  // top margin
  EXPECT_EQ(encoder.ModuleAt(2, 3), 0);  // left margin
  // A walk over the whole bitmap reproduces the matrix, with 0 on the
  // margins and in the spare columns and rows after the symbol.
  const int width = 3 + m.size + 2, height = 1 + m.size + 5;
  for (int row = 1; row <= height + 4; ++row) {
    for (int column = 1; column <= width + 4; ++column) {
      const int x = column - 4, y = row - 2;
      const std::uint8_t expected = x >= 0 && y >= 0 && x < m.size && y < m.size ? m.At(x, y) : 0;
      ASSERT_EQ(encoder.ModuleAt(row, column), expected) << row << "," << column;
    }
  }
  // Raw form: 1-based into the matrix itself; 0 outside 1..stride.
  EXPECT_EQ(encoder.ModuleAt(1, 1, true), 1);
  EXPECT_EQ(encoder.ModuleAt(2, 2, true), 0);
  EXPECT_EQ(encoder.ModuleAt(m.size - 7, 9, true), 1);  // dark module (8, S - 8)
  for (const auto& [row, column] : std::vector<std::pair<int, int>>{
           {0, 1}, {1, 0}, {-1, -1}, {m.stride + 1, 1}, {1, m.stride + 1}, {std::numeric_limits<int>::min(), 5}}) {
    EXPECT_EQ(encoder.ModuleAt(row, column, true), 0) << row << "," << column;
  }
}

TEST(Encoder, ExtremeMarginsAnswerWithoutOverflow) {
  QrEncoder encoder;
  const auto data = Bytes("x");
  EncodeOptions o = Options(data, 1);
  o.marginLeft = std::numeric_limits<int>::max();
  o.marginTop = std::numeric_limits<int>::max();
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  EXPECT_EQ(encoder.ModuleAt(std::numeric_limits<int>::max(), std::numeric_limits<int>::max()), 0);
  EXPECT_EQ(encoder.ModuleAt(1, 1), 0);
  o.marginLeft = -5;  // not validated: the symbol appears shifted out to the left
  o.marginTop = 0;
  ASSERT_TRUE(encoder.EncodeMatrix(o));
  EXPECT_EQ(encoder.ModuleAt(1, -4), 1);
  EXPECT_EQ(encoder.ModuleAt(1, encoder.Matrix().stride - 4), 0);
  EXPECT_EQ(encoder.ModuleAt(1, encoder.Matrix().stride - 4 + 1), 0);
}

TEST(Encoder, ClonesAreIndependent) {
  QrEncoder encoder;
  const auto a = Bytes("first");
  const auto b = Bytes(std::string(300, 'b'));
  ASSERT_TRUE(encoder.EncodeMatrix(Options(a, 2)));
  QrEncoder copy = encoder.Clone();
  ASSERT_TRUE(copy.EncodeMatrix(Options(b)));
  EXPECT_EQ(encoder.Matrix().size, 25);
  EXPECT_NE(copy.Matrix().size, 25);
  // The copy's encode matches a fresh encoder's.
  QrEncoder fresh;
  ASSERT_TRUE(fresh.EncodeMatrix(Options(b)));
  EXPECT_EQ(copy.Matrix().cells, fresh.Matrix().cells);
}

TEST(Encoder, ReleaseEmptiesTheEncoder) {
  QrEncoder encoder;
  const auto data = Bytes("release");
  ASSERT_TRUE(encoder.EncodeMatrix(Options(data)));
  encoder.Release();
  EXPECT_EQ(encoder.Matrix().size, 0);
  EXPECT_EQ(encoder.ModuleAt(1, 1), 0);
  EXPECT_EQ(encoder.Field().Size(), 0);
  EXPECT_FALSE(encoder.EncodeMatrix(Options(data)));
  EXPECT_EQ(encoder.Matrix().size, 0);
  encoder = QrEncoder();
  EXPECT_TRUE(encoder.EncodeMatrix(Options(data)));
}

}  // namespace
}  // namespace varnelo::qr
