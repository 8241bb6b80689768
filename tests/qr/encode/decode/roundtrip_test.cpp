// Encode -> render -> decode with ZXing-cpp: every version, level and mask,
// each mode and mixed input, the empty message, capacity edges and Kanji.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "tests/support/zxing_decode.h"

namespace varnelo::qr {
namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { Byte, Numeric, Alphanumeric, Kanji, Mixed };

constexpr const char* kLevelNames = "?LMQH";

// Character-count widths by width class, in the order Byte, Numeric,
// Alphanumeric, Kanji.
int CountWidth(Kind kind, int version) {
  static const int widths[3][4] = {{8, 10, 9, 8}, {16, 12, 11, 10}, {16, 14, 13, 12}};
  const int cls = version < 10 ? 0 : version < 27 ? 1 : 2;
  return widths[cls][static_cast<int>(kind == Kind::Mixed ? Kind::Byte : kind)];
}

// Characters of one kind that one segment can carry in `bits` data bits.
int Capacity(Kind kind, int version, int bits) {
  const int r = bits - 4 - CountWidth(kind, version);
  switch (kind) {
    case Kind::Numeric: return 3 * (r / 10) + (r % 10 >= 7 ? 2 : r % 10 >= 4 ? 1 : 0);
    case Kind::Alphanumeric: return 2 * (r / 11) + (r % 11 >= 6 ? 1 : 0);
    case Kind::Kanji: return r / 13;
    default: return r / 8;
  }
}

// Bits one segment of `count` characters takes, header included.
int SegmentBits(Kind kind, int version, int count) {
  const int header = 4 + CountWidth(kind, version);
  switch (kind) {
    case Kind::Numeric: return header + 10 * (count / 3) + (count % 3 == 2 ? 7 : count % 3 == 1 ? 4 : 0);
    case Kind::Alphanumeric: return header + 11 * (count / 2) + 6 * (count % 2);
    case Kind::Kanji: return header + 13 * count;
    default: return header + 8 * count;
  }
}

// Deterministic content; `count` characters of the kind (Kanji: Shift JIS
// pairs, two bytes each). Byte content avoids digits, upper-case letters and
// Kanji lead bytes so that it stays one byte segment.
Bytes Content(Kind kind, int count, unsigned seed) {
  static const std::string kAlnum = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  static const std::vector<std::pair<std::uint8_t, std::uint8_t>> kKanji = {
      {0x88, 0x9F}, {0x93, 0x5F}, {0xE4, 0xAA}, {0x8A, 0xBF}, {0x9F, 0xFC}, {0xE0, 0x40}, {0xEA, 0xA4}};
  Bytes out;
  unsigned state = seed * 2654435761U + 1;
  auto next = [&] { return (state = state * 1103515245U + 12345U) >> 16; };
  for (int i = 0; i < count; ++i) {
    switch (kind) {
      case Kind::Numeric: out.push_back(static_cast<std::uint8_t>('0' + next() % 10)); break;
      case Kind::Alphanumeric: out.push_back(static_cast<std::uint8_t>(kAlnum[next() % 45])); break;
      case Kind::Kanji: {
        const auto& pair = kKanji[next() % kKanji.size()];
        out.push_back(pair.first);
        out.push_back(pair.second);
        break;
      }
      case Kind::Byte: {
        const unsigned r = next() % 3;
        out.push_back(static_cast<std::uint8_t>(r == 0 ? 'a' + next() % 26 : r == 1 ? 0xA0 + next() % 64 : next() % 32));
        break;
      }
      case Kind::Mixed: {
        // Runs of digits, capitals, lower case and raw bytes, so that the
        // segmentation changes mode often.
        const unsigned run = 1 + next() % 14;
        const unsigned what = next() % 4;
        for (unsigned j = 0; j < run && i < count; ++j, ++i) {
          out.push_back(static_cast<std::uint8_t>(what == 0   ? '0' + next() % 10
                                                  : what == 1 ? kAlnum[10 + next() % 35]
                                                  : what == 2 ? 'a' + next() % 26
                                                              : next() % 256));
        }
        --i;
        break;
      }
    }
  }
  return out;
}

struct Case {
  std::string name;
  Bytes data;
  std::optional<int> version;  // requested
  int level = 2;
  std::optional<int> mask;
  bool allowKanji = false;
  // Expected outcome: the version chosen (0: do not check), or failure.
  bool fits = true;
  int expectVersion = 0;
  int maxVersion = 0;                  // when set: chosen version at most this
  std::optional<std::string> text;     // decoded text, when it matters
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

QrEncoder& Encoder() {
  static QrEncoder encoder;
  return encoder;
}

int DataBits(int version, int level) { return 8 * Encoder().DataCodewordCount(version, level); }

std::vector<Case> BuildCases() {
  std::vector<Case> cases;
  const char* kindNames[] = {"byte", "numeric", "alnum", "kanji", "mixed"};

  // Every version, level and mask. The kind rotates with mask and version so
  // that each (version, level) meets five kinds and each mask every kind. The
  // single-kind messages fill the version exactly; half of them ask for the
  // version, half let the encoder find it.
  for (int v = 1; v <= 40; ++v) {
    for (int level = 1; level <= 4; ++level) {
      for (int mask = 0; mask < 8; ++mask) {
        const Kind kind = static_cast<Kind>((mask + v) % 5);
        const int chars = Capacity(kind, v, DataBits(v, level));
        Case c;
        c.name = "v" + std::to_string(v) + kLevelNames[level] + "_mask" + std::to_string(mask) + "_" +
                 kindNames[static_cast<int>(kind)] + std::to_string(chars);
        c.data = Content(kind, chars, static_cast<unsigned>(v * 32 + level * 8 + mask));
        c.level = level;
        c.mask = mask;
        c.allowKanji = kind == Kind::Kanji;
        const bool automatic = (mask + level) % 2 == 0;
        if (!automatic) c.version = v;
        if (kind == Kind::Mixed) {
          c.maxVersion = v;
        } else {
          c.expectVersion = v;
        }
        cases.push_back(std::move(c));
      }
    }
  }

  // Capacities printed in the standard's tables: exact fit, and one character
  // more moves to the next version or fails.
  struct Known {
    int version, level;
    Kind kind;
    int chars;
  };
  const std::vector<Known> known = {
      {1, 1, Kind::Numeric, 41},     {1, 1, Kind::Alphanumeric, 25},  {1, 1, Kind::Byte, 17},
      {1, 1, Kind::Kanji, 10},       {1, 4, Kind::Numeric, 17},       {1, 4, Kind::Byte, 7},
      {10, 2, Kind::Byte, 213},      {40, 1, Kind::Numeric, 7089},    {40, 1, Kind::Alphanumeric, 4296},
      {40, 1, Kind::Byte, 2953},     {40, 1, Kind::Kanji, 1817},      {40, 4, Kind::Byte, 1273},
      {40, 4, Kind::Kanji, 784},
  };
  for (const Known& k : known) {
    const std::string base = "capacity_v" + std::to_string(k.version) + kLevelNames[k.level] + "_" +
                             kindNames[static_cast<int>(k.kind)] + std::to_string(k.chars);
    Case exact;
    exact.name = base + "_fits";
    exact.data = Content(k.kind, k.chars, 7);
    exact.level = k.level;
    exact.allowKanji = k.kind == Kind::Kanji;
    exact.expectVersion = k.version;
    cases.push_back(exact);

    Case over = exact;
    over.name = base + "_plus1_automatic";
    over.data = Content(k.kind, k.chars + 1, 7);
    over.fits = k.version < 40;
    over.expectVersion = k.version < 40 ? k.version + 1 : 0;
    cases.push_back(over);

    Case forced = over;
    forced.name = base + "_plus1_forced";
    forced.version = k.version;
    forced.fits = false;
    forced.expectVersion = 0;
    cases.push_back(forced);
  }

  // The terminator cut short: streams whose data end 1 to 3 bits before the
  // end of the capacity still fit. Found by search, one per shortfall.
  for (int shortfall = 1; shortfall <= 3; ++shortfall) {
    bool found = false;
    for (int v = 1; v <= 40 && !found; ++v) {
      for (int level = 1; level <= 4 && !found; ++level) {
        for (Kind kind : {Kind::Numeric, Kind::Alphanumeric}) {
          const int capacity = DataBits(v, level);
          const int chars = Capacity(kind, v, capacity);
          if (capacity - SegmentBits(kind, v, chars) != shortfall) continue;
          Case c;
          c.name = "terminator_cut_to_" + std::to_string(shortfall) + "_v" + std::to_string(v) + kLevelNames[level];
          c.data = Content(kind, chars, 11);
          c.level = level;
          c.expectVersion = v;
          cases.push_back(c);
          found = true;
          break;
        }
      }
    }
  }

  // The empty message, automatic and at the largest symbol.
  {
    Case c;
    c.name = "empty_automatic";
    c.expectVersion = 1;
    c.text = "";
    cases.push_back(c);
    c.name = "empty_v40H";
    c.version = 40;
    c.level = 4;
    c.expectVersion = 40;
    cases.push_back(c);
  }

  // Mixed segmentations whose text is checked: digits, capitals and lower case.
  for (const char* text : {"ABC1234567", "1234567890ABCDEFGHIJ", "https://EXAMPLE.COM/0123456789/abc",
                           "HELLO WORLD", "a", "123abc456DEF789ghi"}) {
    Case c;
    c.name = std::string("text_") + std::to_string(cases.size());
    c.data = Bytes(text, text + std::char_traits<char>::length(text));
    c.text = text;
    cases.push_back(c);
  }

  // Kanji mode turns Shift JIS back into characters: 点 and 茗.
  {
    Case c;
    c.name = "shift_jis_kanji_text";
    c.data = {0x93, 0x5F, 0xE4, 0xAA};
    c.allowKanji = true;
    c.text = "\xE7\x82\xB9\xE8\x8C\x97";
    cases.push_back(c);
  }
  // UTF-8 text whose byte pairs look like Shift JIS survives with Kanji off.
  {
    Case c;
    c.name = "utf8_without_kanji_text";
    for (int i = 0; i < 10; ++i) c.data.insert(c.data.end(), {0xE4, 0xB8, 0x9F, 0x41});
    c.allowKanji = false;
    c.text = std::string(c.data.begin(), c.data.end());
    cases.push_back(c);
  }
  // Masks outside 0..7 apply pattern 0.
  for (int mask : {-3, -1, 8}) {
    Case c;
    c.name = "mask_out_of_range_" + std::to_string(mask + 10);
    c.data = Content(Kind::Mixed, 40, 3);
    c.mask = mask;
    cases.push_back(c);
  }
  return cases;
}

using varnelo::testing::Decoded;

Decoded Decode(const ModuleMatrix& matrix) { return varnelo::testing::DecodeMatrix(matrix); }

// Reads the format information next to the top-left finder pattern and
// returns (level, mask pattern), independently of the encoder.
std::pair<int, int> FormatInformation(const ModuleMatrix& m) {
  int word = 0;
  auto bit = [&](int x, int y, int i) { word |= (m.At(x, y) & 1) << i; };
  for (int i = 0; i <= 5; ++i) bit(8, i, i);
  bit(8, 7, 6);
  bit(8, 8, 7);
  bit(7, 8, 8);
  for (int i = 9; i <= 14; ++i) bit(14 - i, 8, i);
  const int data = (word ^ 0x5412) >> 10;
  static const int kLevelFromBits[4] = {2, 1, 4, 3};  // M, L, H, Q
  return {kLevelFromBits[data >> 3], data & 7};
}

class RoundTripTest : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTripTest, DecodesToTheSameBytes) {
  const Case& c = GetParam();
  QrEncoder encoder;
  EncodeOptions options;
  options.data = c.data;
  options.dataLength = static_cast<int>(c.data.size());
  options.version = c.version;
  options.level = c.level;
  options.mask = c.mask;
  options.allowKanji = c.allowKanji;
  const bool encoded = encoder.EncodeMatrix(options);
  ASSERT_EQ(encoded, c.fits);
  if (!c.fits) return;

  const ModuleMatrix& matrix = encoder.Matrix();
  const int version = (matrix.size - 17) / 4;
  if (c.expectVersion) {
    EXPECT_EQ(version, c.expectVersion);
  }
  if (c.maxVersion) {
    EXPECT_LE(version, c.maxVersion);
  }
  const auto [level, pattern] = FormatInformation(matrix);
  EXPECT_EQ(level, c.level);
  EXPECT_EQ(pattern, c.mask && *c.mask >= 0 && *c.mask <= 7 ? *c.mask : 0);

  const Decoded decoded = Decode(matrix);
  ASSERT_TRUE(decoded.ok) << "ZXing could not read the symbol";
  EXPECT_EQ(decoded.bytes, c.data);
  EXPECT_EQ(decoded.level, std::string(1, kLevelNames[c.level]));
  if (c.text) {
    EXPECT_EQ(decoded.text, *c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Symbols, RoundTripTest, ::testing::ValuesIn(BuildCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace varnelo::qr
