#include "qr/encode/codewords.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstring>

#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

// Eight cells of 0/1, the first one most significant.
std::uint8_t PackEight(const std::uint8_t* cells) {
  if constexpr (std::endian::native == std::endian::little) {
    std::uint64_t word;
    std::memcpy(&word, cells, sizeof word);
    // Cell c sits at bit 8c; the multiplier gathers cell c at bit 63 - c
    // without carries, so the top byte is the codeword.
    return static_cast<std::uint8_t>((word * 0x8040201008040201ULL) >> 56);
  } else {
    unsigned value = 0;
    for (int b = 0; b < 8; ++b) value = value << 1 | cells[b];
    return static_cast<std::uint8_t>(value);
  }
}

}  // namespace

BlockGeometry BlockGeometryOf(int version, int level) {
  BlockGeometry g;
  g.dataCodewords = tables::DataCodewordCount(version, level);
  g.blocks = tables::EcBlockCount(version, level);
  g.ecPerBlock = tables::EcCodewordsPerBlock(version, level);
  if (g.blocks == 0) return g;
  g.longLength = (g.dataCodewords + g.blocks - 1) / g.blocks;
  const int remainder = g.dataCodewords % g.blocks;
  g.shortBlocks = remainder == 0 ? 0 : g.blocks - remainder;
  return g;
}

void PackDataCodewords(std::span<const std::uint8_t> stream, int streamBits,
                       std::span<std::uint8_t> dataCodewords) {
  const int h = static_cast<int>(dataCodewords.size());
  int bits = streamBits < 0 ? 0 : streamBits;
  if (bits > 8 * h) bits = 8 * h;
  if (static_cast<std::size_t>(bits) > stream.size()) bits = static_cast<int>(stream.size());
  const int whole = bits / 8;
  for (int p = 0; p < whole; ++p) {
    dataCodewords[static_cast<std::size_t>(p)] = PackEight(stream.data() + 8 * p);
  }
  int next = whole;
  if (bits % 8 != 0) {
    unsigned value = 0;
    for (int b = 0; b < 8; ++b) {
      const int cell = 8 * whole + b;
      value = value << 1 | (cell < bits ? stream[static_cast<std::size_t>(cell)] & 1U : 0U);
    }
    dataCodewords[static_cast<std::size_t>(next++)] = static_cast<std::uint8_t>(value);
  }
  for (bool first = true; next < h; ++next, first = !first) {
    dataCodewords[static_cast<std::size_t>(next)] = first ? 0xEC : 0x11;
  }
}

bool InterleaveBlocks(const BlockGeometry& geometry, std::span<const std::uint8_t> dataCodewords,
                      const GaloisField& field, ReedSolomonEncoder& coder,
                      std::span<std::uint8_t> out) {
  const int h = geometry.dataCodewords;
  const int t = geometry.blocks;
  const int e = geometry.ecPerBlock;
  const int k = geometry.longLength;
  const int s = geometry.shortBlocks;
  if (t <= 0 || dataCodewords.size() < static_cast<std::size_t>(h) ||
      out.size() < static_cast<std::size_t>(geometry.TotalCodewords()) || k + e > 256) {
    return false;
  }
  // All blocks share one generator: a short block carries a leading zero.
  if (coder.Init(k, e, &field) == 0) return false;
  // Every entry the coder reads is written below before it is read.
  std::array<std::int32_t, 256> block;
  int source = 0;
  for (int i = 0; i < t; ++i) {
    const bool isShort = i < s;
    const int length = isShort ? k - 1 : k;
    block[static_cast<std::size_t>(k + e - 1)] = 0;
    const int top = isShort ? k + e - 2 : k + e - 1;
    for (int m = 0; m < length; ++m) {
      const std::uint8_t d = dataCodewords[static_cast<std::size_t>(source++)];
      block[static_cast<std::size_t>(top - m)] = d;
      const int position = m <= k - 2 ? m * t + i : (k - 1) * t + (i - s);
      out[static_cast<std::size_t>(position)] = d;
    }
    coder.Encode(std::span(block).first(static_cast<std::size_t>(k + e)));
    for (int c = 0; c < e; ++c) {
      out[static_cast<std::size_t>(h + c * t + i)] = static_cast<std::uint8_t>(block[static_cast<std::size_t>(e - 1 - c)]);
    }
  }
  return true;
}

}  // namespace varnelo::qr
