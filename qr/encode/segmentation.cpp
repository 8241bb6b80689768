// Input analysis and segment encoding: a dynamic program over (position, mode)
// picks the cheapest split of the input into Byte, Numeric, Alphanumeric and
// Kanji segments; the chosen segments are then written one bit per byte.
#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

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

// Costs in bits. Inputs are limited to kMaxInputBytes, so that every real
// cost (less than 8.1 bits a byte) stays below kImpossible, the mark of a
// state that cannot be reached; adding a header to it keeps it above every
// real cost, so it never wins a comparison.
using Cost = std::int32_t;
constexpr Cost kImpossible = Cost{7} << 28;
constexpr std::size_t kMaxInputBytes = 200'000'000;

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

// Largest second byte of a Kanji pair by first byte; 0 where the first byte
// starts no pair. Every second byte is at least 0x40.
constexpr std::array<std::uint8_t, 256> kKanjiSecondMax = [] {
  std::array<std::uint8_t, 256> table{};
  for (int b = 0x81; b <= 0x9F; ++b) table[b] = 0xFF;
  for (int b = 0xE0; b <= 0xEA; ++b) table[b] = 0xFF;
  table[0xEB] = 0xBF;
  return table;
}();

bool KanjiPair(std::uint8_t first, std::uint8_t second) {
  return second >= 0x40 && second <= kKanjiSecondMax[first];
}

// The states of one input position, one per mode, and the cheapest of them.
struct Column {
  std::array<Cost, kModeCount> cost{kImpossible, kImpossible, kImpossible, kImpossible};
  std::array<int, kModeCount> count{};  // characters in the current segment, this one included
  Cost minCost = kImpossible;
  int minMode = 0;  // the lowest mode of that cost

  void Clear(int m) {
    cost[m] = kImpossible;
    count[m] = 0;
  }

  void FindMinimum() {
    minMode = 0;
    for (int m = 1; m < kModeCount; ++m) {
      if (cost[m] < cost[minMode]) minMode = m;
    }
    minCost = cost[minMode];
  }
};

// The dynamic program. Returns the cost of the best stream (without
// terminator) and its final mode; when trace is not empty it receives one
// byte per position holding the previous mode of each of the four states in
// two bits (mode m in bits 2m..2m+1). Previous modes of states that start the
// stream are never read.
class Segmenter {
 public:
  Segmenter(int widthClass, bool allowKanji) : allowKanji_(allowKanji) {
    for (int m = 0; m < kModeCount; ++m) {
      const int width = kCountWidth[widthClass][m];
      header_[m] = 4 + width;
      maxCount_[m] = (1 << width) - 1;
    }
  }

  int MaxCount(int mode) const { return maxCount_[mode]; }

  std::pair<int, Cost> Run(std::span<const std::uint8_t> data, std::span<std::uint8_t> trace) const {
    const std::size_t n = data.size();
    // Columns of positions i-2, i-1 and i, rotated by pointer: copying them
    // would reload freshly written fields and stall.
    std::array<Column, 3> columns;
    Column* older = &columns[0];
    Column* previous = &columns[1];
    Column* current = &columns[2];
    const int cls0 = kCharacterClass[data[0]];
    Start(*previous, kByte, 8);
    if (cls0 == 1) Start(*previous, kNumeric, 4);
    if (cls0 != 0) Start(*previous, kAlphanumeric, 6);
    if (!trace.empty()) trace[0] = 0;
    previous->FindMinimum();

    for (std::size_t i = 1; i < n; ++i) {
      const int cls = kCharacterClass[data[i]];
      unsigned links = Extend(*previous, kByte, 8, 8, *current);
      if (cls == 1) {
        // A digit completes a group of three (3 bits) or starts one (4 bits).
        links |= Extend(*previous, kNumeric, previous->count[kNumeric] % 3 == 0 ? 4 : 3, 4, *current);
      } else {
        current->Clear(kNumeric);
      }
      if (cls != 0) {
        // A character completes a pair (5 bits) or starts one (6 bits).
        links |= Extend(*previous, kAlphanumeric, previous->count[kAlphanumeric] % 2 == 0 ? 6 : 5, 6, *current);
      } else {
        current->Clear(kAlphanumeric);
      }
      // A Kanji state stands for the pair of bytes i-1 and i.
      if (!allowKanji_ || !KanjiPair(data[i - 1], data[i])) {
        current->Clear(kKanji);
        if (cls == 0) {
          // Only the Byte state is left, the common case in text.
          current->minMode = kByte;
          current->minCost = current->cost[kByte];
        } else {
          current->FindMinimum();
        }
      } else {
        if (i == 1) {
          Start(*current, kKanji, 13);
        } else {
          links |= Extend(*older, kKanji, 13, 13, *current);
        }
        current->FindMinimum();
      }
      if (!trace.empty()) trace[i] = static_cast<std::uint8_t>(links);
      Column* reused = older;
      older = previous;
      previous = current;
      current = reused;
    }
    return {previous->minMode, previous->minCost};
  }

 private:
  // A state of mode m that starts the stream.
  void Start(Column& column, int m, int dataBits) const {
    column.cost[m] = header_[m] + dataBits;
    column.count[m] = 1;
  }

  // The state of mode m from the four states of an earlier column: u = m with
  // room left in its segment adds `continued` bits, every other u a header
  // plus `started` bits; of equal costs the lower mode wins. The cheapest u
  // of the column (lowest mode on a tie) gives the best fresh start; when
  // that u is m itself, its continuation is cheaper still. Returns the link
  // bits of the winner.
  unsigned Extend(const Column& from, int m, int continued, int started, Column& to) const {
    const Cost fresh = from.minCost + header_[m] + started;
    int best = from.minMode;
    Cost bestCost = fresh;
    int count = 1;
    if (from.count[m] < maxCount_[m]) {
      const Cost continuing = from.cost[m] + continued;
      if (continuing < fresh || (continuing == fresh && m < best)) {
        best = m;
        bestCost = continuing;
        count = from.count[m] + 1;
      }
    }
    to.cost[m] = bestCost;
    to.count[m] = count;
    return static_cast<unsigned>(best) << (2 * m);
  }

  bool allowKanji_;
  std::array<int, kModeCount> header_{};
  std::array<int, kModeCount> maxCount_{};
};

// The eight bits of every byte value, most significant first.
constexpr std::array<std::array<std::uint8_t, 8>, 256> kByteBits = [] {
  std::array<std::array<std::uint8_t, 8>, 256> table{};
  for (int v = 0; v < 256; ++v) {
    for (int b = 0; b < 8; ++b) table[v][b] = static_cast<std::uint8_t>((v >> (7 - b)) & 1);
  }
  return table;
}();

// Writes fields most significant bit first, one bit per byte. The caller has
// checked that everything it writes fits.
class BitWriter {
 public:
  explicit BitWriter(std::uint8_t* out) : out_(out) {}

  void Put(unsigned value, int width) {
    for (int b = width - 1; b >= 0; --b) *out_++ = static_cast<std::uint8_t>((value >> b) & 1U);
  }

  // Eight bits at once; the bulk of a byte segment.
  void PutByte(std::uint8_t value) {
    std::memcpy(out_, kByteBits[value].data(), 8);
    out_ += 8;
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
      for (std::uint8_t b : run) writer.PutByte(b);
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

bool QrEncoder::IsKanjiPair(std::uint8_t first, std::uint8_t second) { return KanjiPair(first, second); }

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

  // Far longer than any symbol holds; the bound keeps every cost below
  // kImpossible, so measuring fails too.
  if (n > kMaxInputBytes) return -1;

  const int widthClass = WidthClass(version);
  const Segmenter segmenter(widthClass, allowKanji);
  // Every entry is written before it is read.
  std::unique_ptr<std::uint8_t[]> trace;
  if (!measureOnly) trace = std::make_unique_for_overwrite<std::uint8_t[]>(n);
  const auto [finalMode, cost] =
      segmenter.Run(data.first(n), std::span<std::uint8_t>(trace.get(), measureOnly ? 0 : n));
  const int total = cost + kTerminator;
  if (measureOnly) return total;
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
    const std::size_t end = std::min(n, v + cap);
    std::size_t k = 1;
    while (v + k < end && trace[v + k] == m) ++k;
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
