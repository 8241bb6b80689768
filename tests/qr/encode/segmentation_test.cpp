// Segmentation: the chosen segments, their exact bits, measuring against
// writing, the Kanji switch and the bound on the caller's bit buffer.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string BitString(const Bytes& bits, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += bits[i] ? '1' : '0';
  return out;
}

std::string WithoutSpaces(std::string s) {
  std::erase(s, ' ');
  return s;
}

// An independent reader of the written stream: walks the segments up to the
// terminator and rebuilds the input bytes. "segments" lists each segment as
// its mode letter and character count ("A3 N7").
struct Parsed {
  std::string segments;
  Bytes data;
  int bitsRead = 0;
  bool ok = true;
};

Parsed ParseStream(const Bytes& bits, int length, int version) {
  static const std::string kAlphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  const int widthClass = version < 10 ? 0 : version < 27 ? 1 : 2;
  const int widths[3][4] = {{8, 10, 9, 8}, {16, 12, 11, 10}, {16, 14, 13, 12}};
  Parsed out;
  int pos = 0;
  auto read = [&](int width) {
    unsigned value = 0;
    for (int i = 0; i < width; ++i) {
      if (pos >= length) {
        out.ok = false;
        return 0U;
      }
      value = value << 1 | bits[pos++];
    }
    return value;
  };
  while (out.ok) {
    const unsigned indicator = read(4);
    if (indicator == 0) break;
    int mode = indicator == 4 ? 0 : indicator == 1 ? 1 : indicator == 2 ? 2 : indicator == 8 ? 3 : -1;
    if (mode < 0) {
      out.ok = false;
      break;
    }
    const unsigned count = read(widths[widthClass][mode]);
    if (!out.segments.empty()) out.segments += ' ';
    out.segments += "BNAK"[mode] + std::to_string(count);
    unsigned left = count;
    switch (mode) {
      case 0:
        while (left-- > 0) out.data.push_back(static_cast<std::uint8_t>(read(8)));
        break;
      case 1:
        while (left > 0) {
          const unsigned digits = left >= 3 ? 3 : left;
          const unsigned value = read(digits == 3 ? 10 : digits == 2 ? 7 : 4);
          const std::string text = std::to_string(value + (digits == 3 ? 1000 : digits == 2 ? 100 : 10));
          for (char c : text.substr(1)) out.data.push_back(static_cast<std::uint8_t>(c));
          left -= digits;
        }
        break;
      case 2:
        while (left >= 2) {
          const unsigned value = read(11);
          out.data.push_back(static_cast<std::uint8_t>(kAlphanumeric[value / 45 % 45]));
          out.data.push_back(static_cast<std::uint8_t>(kAlphanumeric[value % 45]));
          left -= 2;
        }
        if (left == 1) out.data.push_back(static_cast<std::uint8_t>(kAlphanumeric[read(6) % 45]));
        break;
      case 3:
        while (left-- > 0) {
          const unsigned value = read(13);
          unsigned code = (value / 0xC0) << 8 | (value % 0xC0);
          code += code < 0x1F00 ? 0x8140 : 0xC140;
          out.data.push_back(static_cast<std::uint8_t>(code >> 8));
          out.data.push_back(static_cast<std::uint8_t>(code & 0xFF));
        }
        break;
    }
  }
  out.bitsRead = pos;
  return out;
}

Bytes Repeat(const Bytes& unit, int times) {
  Bytes out;
  for (int i = 0; i < times; ++i) out.insert(out.end(), unit.begin(), unit.end());
  return out;
}

struct Case {
  const char* name;
  Bytes input;
  int version;
  bool allowKanji;
  int expectedLength;          // bits written, terminator included
  std::string expectedSegments;
  std::string expectedBits;    // empty: not checked bit for bit
};

// "丟A" in UTF-8 is E4 B8 9F 41: both byte pairs E4 B8 and 9F 41 pass the
// Kanji test although the text is not Shift JIS.
const Bytes kUtf8Mixed = Repeat({0xE4, 0xB8, 0x9F, 0x41}, 10);

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"empty", {}, 1, true, 4, "", "0000"},
      {"numeric", FromText("01234567"), 1, true, 45, "N8",
       "0001 0000001000 0000001100 0101011001 1000011 0000"},
      {"numeric version 10", FromText("01234567"), 10, true, 47, "N8", ""},
      {"numeric version 27", FromText("01234567"), 27, true, 49, "N8", ""},
      {"alphanumeric", FromText("AC-42"), 1, true, 45, "A5",
       "0010 000000101 00111001110 11100111001 000010 0000"},
      {"hello world", FromText("HELLO WORLD"), 1, true, 78, "A11",
       "0010 000001011 01100001011 01111000110 10001011100 10110111000 10011010100 001101 0000"},
      {"one lower-case letter", FromText("a"), 1, true, 24, "B1", "0100 00000001 01100001 0000"},
      {"lower case is byte", FromText("abc"), 1, true, 40, "B3", ""},
      {"tie keeps byte, digits first", FromText("123abc"), 1, true, 64, "B6", ""},
      {"tie keeps byte, digits last", FromText("abc123"), 1, true, 64, "B6", ""},
      {"tie at the end goes to numeric", FromText("ABC1234567"), 1, true, 72, "A3 N7", ""},
      {"numeric then alphanumeric", FromText("1234567890ABCDEFGHIJ"), 1, true, 120, "N10 A10", ""},
      {"byte count field overflows", Bytes(300, 'a'), 1, true, 2428, "B255 B45", ""},
      {"byte segment up to version 9", Bytes(300, 'a'), 9, true, 2428, "B255 B45", ""},
      {"one byte segment from version 10", Bytes(300, 'a'), 10, true, 2424, "B300", ""},
      {"version 0 and negative count as small", FromText("01234567"), -3, true, 45, "N8", ""},
      {"shift jis kanji", {0x93, 0x5F, 0xE4, 0xAA}, 1, true, 42, "K2",
       "1000 00000010 0110110011111 1101010101010 0000"},
      {"utf-8 cjk character stays byte", {0xE4, 0xB8, 0xAD}, 1, true, 40, "B3", ""},
      {"utf-8 pairs taken as kanji", kUtf8Mixed, 1, true, 4 + 8 + 20 * 13 + 4, "K20", ""},
      {"kanji switched off", kUtf8Mixed, 1, false, 4 + 8 + 40 * 8 + 4, "B40", ""},
      {"shift jis without kanji", {0x93, 0x5F, 0xE4, 0xAA}, 1, false, 48, "B4", ""},
  };
  return cases;
}

class SegmentationTest : public ::testing::Test {
 protected:
  int Write(Bytes& bits, const Bytes& input, int version, bool allowKanji = true) const {
    return encoder_.EncodeData(bits, input, static_cast<int>(input.size()), version, false, allowKanji);
  }
  int Measure(const Bytes& input, int version, bool allowKanji = true) const {
    Bytes none;
    return encoder_.EncodeData(none, input, static_cast<int>(input.size()), version, true, allowKanji);
  }

  QrEncoder encoder_;
};

TEST_F(SegmentationTest, ChoosesAndWritesTheExpectedSegments) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Bytes bits(32768, 7);
    const int written = Write(bits, c.input, c.version, c.allowKanji);
    ASSERT_EQ(written, c.expectedLength);
    if (!c.expectedBits.empty()) { EXPECT_EQ(BitString(bits, written), WithoutSpaces(c.expectedBits)); }
    const Parsed parsed = ParseStream(bits, written, c.version);
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.segments, c.expectedSegments);
    EXPECT_EQ(parsed.data, c.input);
    EXPECT_EQ(BitString(bits, written).substr(written - 4), "0000");
    EXPECT_EQ(bits[written], 7) << "wrote past the stream";
    if (!c.input.empty()) { EXPECT_EQ(Measure(c.input, c.version, c.allowKanji), written); }
  }
}

// The dynamic program written plainly, every state looking at all four
// states of its predecessor. Returns the stream length (terminator included)
// and the chosen segments in ParseStream's notation.
std::pair<int, std::string> PlainSegmentation(const Bytes& d, int version, bool allowKanji) {
  const int n = static_cast<int>(d.size());
  if (n == 0) return {4, ""};
  const int cls = version < 10 ? 0 : version < 27 ? 1 : 2;
  const int widths[3][4] = {{8, 10, 9, 8}, {16, 12, 11, 10}, {16, 14, 13, 12}};
  const int firstBits[4] = {8, 4, 6, 13};
  constexpr int kNone = 1 << 30;
  struct State {
    int previous = -1, cost = kNone, count = 0;
  };
  std::vector<std::array<State, 4>> table(n);
  for (int i = 0; i < n; ++i) {
    const int c = QrEncoder::CharacterClass(d[i]);
    for (int m = 0; m < 4; ++m) {
      const bool possible = m == 0 || (m == 1 && c == 1) || (m == 2 && c != 0) ||
                            (m == 3 && allowKanji && i >= 1 && QrEncoder::IsKanjiPair(d[i - 1], d[i]));
      if (!possible || (m == 3 && i == 0)) continue;
      const int header = 4 + widths[cls][m];
      const int from = m == 3 ? i - 2 : i - 1;
      State& s = table[i][m];
      if (from < 0) {
        s = {-1, header + firstBits[m], 1};
        continue;
      }
      for (int u = 0; u < 4; ++u) {
        const State& p = table[from][u];
        if (p.cost == kNone) continue;
        const bool continuing = u == m && p.count < (1 << widths[cls][m]) - 1;
        int bits = header + firstBits[m];
        if (continuing) bits = m == 1 ? (p.count % 3 == 0 ? 4 : 3) : m == 2 ? (p.count % 2 == 0 ? 6 : 5) : firstBits[m];
        if (p.cost + bits < s.cost) s = {u, p.cost + bits, continuing ? p.count + 1 : 1};
      }
    }
  }
  int mode = 0;
  for (int m = 1; m < 4; ++m) {
    if (table[n - 1][m].cost < table[n - 1][mode].cost) mode = m;
  }
  const int length = table[n - 1][mode].cost + 4;
  // Back from the end, every state whose count is 1 opens a segment whose
  // length is the count of the state before the next opening.
  std::vector<std::string> segments;
  int characters = 0;
  for (int p = n - 1; p >= 0;) {
    const State& s = table[p][mode];
    if (characters == 0) characters = s.count;
    if (s.count == 1) {
      segments.push_back(std::string(1, "BNAK"[mode]) + std::to_string(characters));
      characters = 0;
    }
    p -= mode == 3 ? 2 : 1;
    mode = s.previous;
  }
  std::string out;
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) out += (out.empty() ? "" : " ") + *it;
  return {length, out};
}

// Random inputs over an alphabet that makes every mode and many mode changes
// likely: measuring agrees with writing, the stream reads back to the input,
// and the choice is the plain dynamic program's.
TEST_F(SegmentationTest, MeasureMatchesWriteAndStreamReadsBack) {
  const Bytes alphabet = {'0', '1', '7', '9', 'A', 'Z', ' ', ':', 'a', 'z', 0x81, 0x93, 0xE4, 0xEB, 0x40, 0x5F, 0xBF, 0xC0};
  std::mt19937 random(12345);
  Bytes bits(32768);
  for (int round = 0; round < 300; ++round) {
    Bytes input(random() % 700);
    // Long runs of one class make the segment boundaries interesting.
    for (std::size_t i = 0; i < input.size();) {
      const std::uint8_t c = alphabet[random() % alphabet.size()];
      for (std::size_t run = 1 + random() % 12; run > 0 && i < input.size(); --run, ++i) {
        input[i] = random() % 3 == 0 ? alphabet[random() % alphabet.size()] : c;
      }
    }
    const int version = 1 + static_cast<int>(random() % 40);
    const bool allowKanji = round % 2 == 0;
    SCOPED_TRACE(testing::Message() << "round " << round << " version " << version);
    const int written = Write(bits, input, version, allowKanji);
    ASSERT_GT(written, 0);
    if (!input.empty()) { EXPECT_EQ(Measure(input, version, allowKanji), written); }
    const Parsed parsed = ParseStream(bits, written, version);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.bitsRead, written);
    EXPECT_EQ(parsed.data, input);
    const auto [plainLength, plainSegments] = PlainSegmentation(input, version, allowKanji);
    EXPECT_EQ(written, plainLength);
    EXPECT_EQ(parsed.segments, plainSegments);
    if (!allowKanji) { EXPECT_EQ(parsed.segments.find('K'), std::string::npos); }
  }
}

// Long runs of one mode split exactly at each mode's largest count.
TEST_F(SegmentationTest, SplitsRunsAtTheCountLimit) {
  struct Limit {
    Bytes unit;
    int times;
    int version;
    std::string segments;
  };
  const std::vector<Limit> limits = {
      {FromText("7"), 1023, 1, "N1023"},
      {FromText("7"), 1024, 1, "N1023 N1"},
      {FromText("7"), 4096, 10, "N4095 N1"},
      {FromText("Q"), 512, 1, "A511 A1"},
      {{0x88, 0x9F}, 256, 1, "K255 K1"},
      {{0x88, 0x9F}, 1024, 20, "K1023 K1"},
  };
  Bytes bits(32768);
  for (const Limit& l : limits) {
    const Bytes input = Repeat(l.unit, l.times);
    SCOPED_TRACE(l.segments);
    const int written = Write(bits, input, l.version);
    ASSERT_GT(written, 0);
    const Parsed parsed = ParseStream(bits, written, l.version);
    EXPECT_EQ(parsed.segments, l.segments);
    EXPECT_EQ(parsed.data, input);
    EXPECT_EQ(Measure(input, l.version), written);
  }
}

TEST_F(SegmentationTest, NeverWritesPastTheBuffer) {
  const Bytes input = FromText("HELLO WORLD 0123456789 hello");
  Bytes big(32768);
  const int needed = Write(big, input, 1);
  ASSERT_GT(needed, 0);

  // One cell short, far too short, or nothing at all: -1 and every cell as it was.
  for (std::size_t size : {static_cast<std::size_t>(needed - 1), std::size_t{10}, std::size_t{0}}) {
    SCOPED_TRACE(size);
    Bytes bits(size, 0xAA);
    EXPECT_EQ(Write(bits, input, 1), -1);
    EXPECT_EQ(bits, Bytes(size, 0xAA));
  }
  Bytes exact(needed, 0xAA);
  EXPECT_EQ(Write(exact, input, 1), needed);
  EXPECT_EQ(BitString(exact, needed), BitString(big, needed));

  // The empty stream needs its four terminator bits too.
  Bytes three(3, 0xAA);
  EXPECT_EQ(encoder_.EncodeData(three, {}, 0, 1), -1);
  EXPECT_EQ(three, Bytes(3, 0xAA));
  EXPECT_EQ(encoder_.EncodeData(three, {}, 0, 1, true), 4);
  EXPECT_EQ(three, Bytes(3, 0xAA));

  // A message far larger than any symbol, written into the driver's buffer.
  const Bytes huge(100000, 'x');
  Bytes stream(32768, 0xAA);
  EXPECT_EQ(Write(stream, huge, 40), -1);
  EXPECT_EQ(stream, Bytes(32768, 0xAA));
  EXPECT_EQ(Measure(huge, 40), 4 + 100000 * 8 + 20 * (100000 / 65535 + 1));
}

TEST_F(SegmentationTest, LengthIsBoundedByTheData) {
  const Bytes input = FromText("abc");
  Bytes bits(64, 0xAA), reference(64, 0xAA);
  ASSERT_EQ(Write(reference, input, 1), 40);
  // A length beyond the data reads only the data.
  EXPECT_EQ(encoder_.EncodeData(bits, input, 1000, 1), 40);
  EXPECT_EQ(bits, reference);
  EXPECT_EQ(encoder_.EncodeData(bits, input, 1000, 1, true), 40);
  // A length below the data uses its prefix; zero or negative is the empty stream.
  EXPECT_EQ(encoder_.EncodeData(bits, input, 2, 1), 32);
  for (int length : {0, -1, -1000}) {
    Bytes empty(8, 0xAA);
    EXPECT_EQ(encoder_.EncodeData(empty, input, length, 1), 4);
    EXPECT_EQ(encoder_.EncodeData(empty, input, length, 1, true), 4);
    EXPECT_EQ(BitString(empty, 4), "0000");
    EXPECT_EQ(empty[4], 0xAA);
  }
}

TEST(CharacterTest, ClassesAndValues) {
  struct Row {
    std::uint8_t byte;
    int cls;
    int value;
  };
  const std::vector<Row> rows = {
      {'0', 1, 0},  {'9', 1, 9},  {'A', 2, 10}, {'Z', 2, 35}, {' ', 2, 36}, {'$', 2, 37},
      {'%', 2, 38}, {'*', 2, 39}, {'+', 2, 40}, {'-', 2, 41}, {'.', 2, 42}, {'/', 2, 43},
      {':', 2, 44}, {'a', 0, 0},  {'z', 0, 0},  {'@', 0, 0},  {'[', 0, 0},  {';', 0, 0},
      {'!', 0, 0},  {'#', 0, 0},  {'&', 0, 0},  {',', 0, 0},  {0x00, 0, 0}, {0xFF, 0, 0},
      {0xB0, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.byte));
    EXPECT_EQ(QrEncoder::CharacterClass(r.byte), r.cls);
    EXPECT_EQ(QrEncoder::AlphanumericValue(r.byte), r.value);
  }
}

TEST(CharacterTest, KanjiPairs) {
  struct Row {
    std::uint8_t first, second;
    bool kanji;
  };
  const std::vector<Row> rows = {
      {0x81, 0x40, true},  {0x81, 0x3F, false}, {0x80, 0x40, false}, {0x9F, 0xFF, true},
      {0xA0, 0x80, false}, {0xDF, 0x80, false}, {0xE0, 0x40, true},  {0xEA, 0xFF, true},
      {0xEB, 0xBF, true},  {0xEB, 0xC0, false}, {0xEC, 0x40, false}, {0x81, 0x7F, true},
      {0xE4, 0x00, false}, {0x40, 0x81, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(QrEncoder::IsKanjiPair(r.first, r.second), r.kanji)
        << std::hex << static_cast<int>(r.first) << ' ' << static_cast<int>(r.second);
  }
}

}  // namespace
}  // namespace varnelo::qr
