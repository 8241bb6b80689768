// Input analysis and segment encoding: a dynamic program over (position, mode)
// picks the cheapest split of the input into Byte, Numeric, Alphanumeric and
// Kanji segments; the chosen segments are then written one bit per byte.
#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <utility>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

constexpr int kModeCount = 4;
constexpr int kByte = static_cast<int>(SegmentMode::Byte);
constexpr int kNumeric = static_cast<int>(SegmentMode::Numeric);
constexpr int kAlphanumeric = static_cast<int>(SegmentMode::Alphanumeric);
constexpr int kKanji = static_cast<int>(SegmentMode::Kanji);

// Mode indicators, by mode number.
constexpr std::array<int, kModeCount> kModeIndicator = {0b0100, 0b0001, 0b0010, 0b1000};

// Character-count field widths, [width class][mode]. Class 0: versions below
// 10 (any version, including 0 and negative ones); class 1: 10..26; class 2:
// 27 and above. A segment holds at most 2^width - 1 characters.
constexpr std::array<std::array<int, kModeCount>, 3> kCountWidth = {{
    {8, 10, 9, 8},
    {16, 12, 11, 10},
    {16, 14, 13, 12},
}};

int WidthClass(int version) {
  if (version < 10) return 0;
  if (version < 27) return 1;
  return 2;
}

// Costs are kept in 64 bits so that no input length can overflow them; a
// finite stream needs less than 8.1 bits per byte.
using Cost = std::int64_t;
// Marks a state that cannot be reached. Adding a few headers to it keeps it
// far above every real cost, so it never wins a comparison.
constexpr Cost kImpossible = Cost{1} << 60;

struct State {
  Cost cost = kImpossible;
  int count = 0;  // characters in the current segment, this one included
};

using Column = std::array<State, kModeCount>;

// Character classes: 1 digit, 2 other alphanumeric, 0 anything else.
constexpr std::array<std::uint8_t, 256> kCharacterClass = [] {
  std::array<std::uint8_t, 256> table{};
  for (int c = '0'; c <= '9'; ++c) table[c] = 1;
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = 2;
  for (char c : {' ', '$', '%', '*', '+', '-', '.', '/', ':'}) table[static_cast<unsigned char>(c)] = 2;
  return table;
}();

constexpr std::array<std::uint8_t, 256> kAlphanumericValue = [] {
  std::array<std::uint8_t, 256> table{};
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<std::uint8_t>(c - 'A' + 10);
  constexpr char kSymbols[] = " $%*+-./:";
  for (int i = 0; i < 9; ++i) table[static_cast<unsigned char>(kSymbols[i])] = static_cast<std::uint8_t>(36 + i);
  return table;
}();

// The dynamic program. Fills the cost of the best stream (without terminator)
// and, when trace is not empty, one byte per position holding the previous
// mode of each of the four states in two bits (mode m in bits 2m..2m+1).
// Previous modes of states that start the stream are never read.
class Segmenter {
 public:
  Segmenter(std::span<const std::uint8_t> data, int widthClass, bool allowKanji)
      : data_(data), allowKanji_(allowKanji) {
    for (int m = 0; m < kModeCount; ++m) {
      const int width = kCountWidth[widthClass][m];
      header_[m] = 4 + width;
      maxCount_[m] = (1 << width) - 1;
    }
  }

  // Returns the winning final mode and its cost.
  std::pair<int, Cost> Run(std::span<std::uint8_t> trace) {
    const std::size_t n = data_.size();
    // Columns for positions i-2, i-1 and i, rotated in place.
    Column older, previous, current;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t byte = data_[i];
      const int cls = kCharacterClass[byte];
      std::uint8_t links = 0;
      if (i == 0) {
        current = Column{};
        current[kByte] = {header_[kByte] + 8, 1};
        if (cls == 1) current[kNumeric] = {header_[kNumeric] + 4, 1};
        if (cls != 0) current[kAlphanumeric] = {header_[kAlphanumeric] + 6, 1};
      } else {
        links |= Extend(previous, kByte, 8, 8, current[kByte]);
        if (cls == 1) {
          links |= ExtendNumeric(previous, current[kNumeric]);
        } else {
          current[kNumeric] = State{};
        }
        if (cls != 0) {
          links |= ExtendAlphanumeric(previous, current[kAlphanumeric]);
        } else {
          current[kAlphanumeric] = State{};
        }
        current[kKanji] = State{};
        if (allowKanji_ && QrEncoder::IsKanjiPair(data_[i - 1], byte)) {
          if (i == 1) {
            current[kKanji] = {header_[kKanji] + 13, 1};
          } else {
            links |= Extend(older, kKanji, 13, 13, current[kKanji]);
          }
        }
      }
      if (!trace.empty()) trace[i] = links;
      older = previous;
      previous = current;
    }
    int best = 0;
    for (int m = 1; m < kModeCount; ++m) {
      if (previous[m].cost < previous[best].cost) best = m;
    }
    return {best, previous[best].cost};
  }

  int MaxCount(int mode) const { return maxCount_[mode]; }

 private:
  // A state of mode m from the four states of an earlier position: data bits
  // `continued` when u is m with room left in its segment, else the header
  // plus `started`. Ties keep the lower mode. Returns the link bits.
  std::uint8_t Extend(const Column& from, int m, int continued, int started, State& out) const {
    int bestMode = 0;
    State best;
    for (int u = 0; u < kModeCount; ++u) {
      const bool continuing = u == m && from[u].count < maxCount_[m];
      const Cost cost = from[u].cost + (continuing ? continued : header_[m] + started);
      if (cost < best.cost) {
        best = {cost, continuing ? from[u].count + 1 : 1};
        bestMode = u;
      }
    }
    out = best;
    return static_cast<std::uint8_t>(bestMode << (2 * m));
  }

  // A digit continues its group (3 bits) or starts a new one (4 bits).
  std::uint8_t ExtendNumeric(const Column& from, State& out) const {
    const int continued = from[kNumeric].count % 3 == 0 ? 4 : 3;
    return Extend(from, kNumeric, continued, 4, out);
  }

  // A character completes a pair (5 bits) or starts a new one (6 bits).
  std::uint8_t ExtendAlphanumeric(const Column& from, State& out) const {
    const int continued = from[kAlphanumeric].count % 2 == 0 ? 6 : 5;
    return Extend(from, kAlphanumeric, continued, 6, out);
  }

  std::span<const std::uint8_t> data_;
  bool allowKanji_;
  std::array<int, kModeCount> header_{};
  std::array<int, kModeCount> maxCount_{};
};

// Writes fields most significant bit first, one bit per byte. The caller has
// checked that everything it writes fits.
class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) {}

  void Put(unsigned value, int width) {
    for (int b = width - 1; b >= 0; --b) *out_++ = static_cast<std::uint8_t>((value >> b) & 1U);
  }

  std::uint8_t* Position() const { return out_; }

 private:
  std::uint8_t* out_;
};

void WriteRun(BitWriter& writer, std::span<const std::uint8_t> run, int mode, int countWidth) {
  const auto k = static_cast<unsigned>(run.size());
  writer.Put(static_cast<unsigned>(kModeIndicator[mode]), 4);
  writer.Put(mode == kKanji ? k / 2 : k, countWidth);
  std::size_t j = 0;
  switch (mode) {
    case kByte:
      for (std::uint8_t b : run) writer.Put(b, 8);
      break;
    case kNumeric:
      for (; j + 3 <= run.size(); j += 3) {
        writer.Put((run[j] & 15U) * 100 + (run[j + 1] & 15U) * 10 + (run[j + 2] & 15U), 10);
      }
      if (run.size() - j == 2) writer.Put((run[j] & 15U) * 10 + (run[j + 1] & 15U), 7);
      if (run.size() - j == 1) writer.Put(run[j] & 15U, 4);
      break;
    case kAlphanumeric:
      for (; j + 2 <= run.size(); j += 2) {
        writer.Put(45U * kAlphanumericValue[run[j]] + kAlphanumericValue[run[j + 1]], 11);
      }
      if (j < run.size()) writer.Put(kAlphanumericValue[run[j]], 6);
      break;
    case kKanji:
      for (; j + 2 <= run.size(); j += 2) {
        const unsigned first = run[j];
        const unsigned row = first <= 0x9F ? first - 0x81 : first - 0xC1;
        writer.Put(192U * row + (run[j + 1] - 0x40U), 13);
      }
      break;
    default:
      assert(false);
  }
}

}  // namespace

int QrEncoder::CharacterClass(std::uint8_t byte) { return kCharacterClass[byte]; }

bool QrEncoder::IsKanjiPair(std::uint8_t first, std::uint8_t second) {
  if (second < 0x40) return false;
  if ((first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xEA)) return true;
  return first == 0xEB && second <= 0xBF;
}

int QrEncoder::AlphanumericValue(std::uint8_t byte) { return kAlphanumericValue[byte]; }

int QrEncoder::EncodeData(std::span<std::uint8_t> bits, std::span<const std::uint8_t> data,
                          int length, int version, bool measureOnly,
                          bool allowKanji) const {
  constexpr int kTerminator = 4;
  // Never read past the caller's data, whatever length claims.
  const std::size_t n = length <= 0 ? 0 : std::min(static_cast<std::size_t>(length), data.size());
  if (n == 0) {
    // Only the terminator; measuring needs no room for it.
    if (bits.size() >= kTerminator) {
      std::fill_n(bits.begin(), kTerminator, std::uint8_t{0});
    } else if (!measureOnly) {
      return -1;
    }
    return kTerminator;
  }
  // No segment carries a byte in fewer than 10/3 bits, so a buffer below 3
  // bits a byte cannot hold the stream; say so before allocating anything.
  if (!measureOnly && bits.size() < 3 * n + kTerminator) return -1;

  const int widthClass = WidthClass(version);
  Segmenter segmenter(data.first(n), widthClass, allowKanji);
  std::vector<std::uint8_t> trace(measureOnly ? 0 : n);
  const auto [finalMode, cost] = segmenter.Run(trace);
  const Cost total = cost + kTerminator;
  if (total > std::numeric_limits<int>::max()) return -1;
  if (measureOnly) return static_cast<int>(total);
  if (static_cast<std::size_t>(total) > bits.size()) return -1;

  // Back-trace in place: trace[p] turns from the links of position p into the
  // mode of byte p. A Kanji state covers its byte and the one before.
  std::ptrdiff_t p = static_cast<std::ptrdiff_t>(n) - 1;
  int mode = finalMode;
  while (p >= 0) {
    const int previousMode = (trace[p] >> (2 * mode)) & 3;
    trace[p] = static_cast<std::uint8_t>(mode);
    --p;
    if (mode == kKanji) {
      trace[p] = static_cast<std::uint8_t>(kKanji);
      --p;
    }
    mode = previousMode;
  }

  BitWriter writer(bits.data());
  for (std::size_t v = 0; v < n;) {
    const int m = trace[v];
    // A Kanji run is counted in bytes, two to a character.
    const std::size_t cap = static_cast<std::size_t>(segmenter.MaxCount(m)) * (m == kKanji ? 2 : 1);
    std::size_t k = 1;
    while (v + k < n && k < cap && trace[v + k] == m) ++k;
    WriteRun(writer, data.subspan(v, k), m, kCountWidth[widthClass][m]);
    v += k;
  }
  writer.Put(0, kTerminator);
  const auto written = writer.Position() - bits.data();
  // The cost model charges exactly the bits the writer emits.
  assert(written == total);
  return static_cast<int>(written);
}

}  // namespace varnelo::qr
