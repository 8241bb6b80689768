// From the segment bit stream to the final codeword sequence: terminator and
// padding, division into Reed-Solomon blocks, error correction, interleaving.
#pragma once

#include <cstdint>
#include <span>

#include "qr/encode/galois_field.h"
#include "qr/encode/reed_solomon.h"

namespace varnelo::qr {

// How the codewords of one version and level are split into blocks.
struct BlockGeometry {
  int dataCodewords = 0;  // h, all blocks together
  int blocks = 0;         // t, 1..81
  int ecPerBlock = 0;     // e, 7..30
  int longLength = 0;     // k = ceil(h / t): data codewords of a long block
  int shortBlocks = 0;    // s: blocks 0..s-1 carry k - 1 data codewords

  int TotalCodewords() const { return dataCodewords + blocks * ecPerBlock; }
};

// Geometry of version 1..40 at level 1..4 (all zero outside).
BlockGeometry BlockGeometryOf(int version, int level);

// Packs a stream of streamBits cells (one bit 0/1 per byte, segment bits and
// 4-bit terminator) into h data codewords: bits at 8h and beyond are dropped
// (a terminator that does not fit is cut short), the last partial codeword is
// filled with 0 bits, and the rest alternate 0xEC, 0x11. dataCodewords must
// hold h bytes and stream at least min(streamBits, 8h) cells.
void PackDataCodewords(std::span<const std::uint8_t> stream, int streamBits,
                       std::span<std::uint8_t> dataCodewords);

// Splits the h data codewords into blocks, computes each block's
// error-correction codewords with coder (initialised here over field) and
// writes the interleaved sequence of TotalCodewords() codewords to out.
// False, writing nothing, when the buffers are too small or the coder cannot
// be set up over field.
bool InterleaveBlocks(const BlockGeometry& geometry, std::span<const std::uint8_t> dataCodewords,
                      const GaloisField& field, ReedSolomonEncoder& coder,
                      std::span<std::uint8_t> out);

}  // namespace varnelo::qr
