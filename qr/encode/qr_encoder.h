// The QR Code encoder: symbol geometry, the standard tables, segmentation and
// the pipeline from message bytes to the finished module matrix. Portable: no
// platform header may be included here (the GDI rendering of the matrix lives
// in render_gdi.h, Windows only).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "qr/encode/galois_field.h"
#include "qr/encode/placement.h"
#include "qr/encode/reed_solomon.h"

namespace varnelo::qr {

using ByteBuffer = std::vector<std::uint8_t>;
using RgbColor = std::uint32_t;  // 0x00BBGGRR, red in the low byte

// Symbol version: 1..40 QR Code; -1..-4 Micro QR M1..M4 (geometry only).
using SymbolVersion = int;
// Error-correction level: 1 = L, 2 = M, 3 = Q, 4 = H.
using EcLevel = int;

// Segment modes, numbered in the order every cost tie is broken.
enum class SegmentMode : int { Byte = 0, Numeric = 1, Alphanumeric = 2, Kanji = 3 };

// Parameters of one encode. Omitted optionals take the defaults applied in
// QrEncoder::EncodeMatrix: level 2 (M), mask -1 (pattern 0), dark 0,
// light 0xFFFFFF, margins 0.
struct EncodeOptions {
  std::span<const std::uint8_t> data;  // the message bytes, final encoding
  int dataLength = 0;                  // bytes of data to use; <= 0: empty message;
                                       // never more than data.size() are read
  std::optional<int> version;          // 1..40; 0 or > 40: automatic; < 0: failure
  std::optional<int> level;            // 1..4; anything else: 2 (M)
  std::optional<int> mask;             // 0..7; anything else: pattern 0
  std::optional<RgbColor> darkColour;
  std::optional<RgbColor> lightColour;
  std::optional<int> marginLeft;       // light border in pixels of the
  std::optional<int> marginTop;        // 1-pixel-per-module bitmap; not validated
  std::optional<int> marginRight;
  std::optional<int> marginBottom;
  // Kanji mode is only meaningful for Shift JIS input: a decoder turns every
  // Kanji segment back into Shift JIS characters. Callers with text in any
  // other encoding turn it off.
  bool allowKanji = true;
};

// The finished symbol: stride x stride bytes (stride = size + 3, a multiple
// of 4), module (x, y) at y * stride + x, 1 dark and 0 light; bytes with
// x >= size or y >= size are 0. Before the first encode: a 1 x 1 grid of 0.
struct ModuleMatrix {
  int size = 0;    // modules per side, 21..177 (0 before the first encode)
  int stride = 1;  // bytes per row, size + 3
  std::vector<std::uint8_t> cells = std::vector<std::uint8_t>(1, 0);

  std::uint8_t At(int x, int y) const;  // 0 outside 0..stride-1
};

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class QrEncoder {
 public:
  // The initialiser: GF(256) with polynomial 0x11D and generator 2, and the
  // standard tables.
  QrEncoder();

  // Release frees every member; a released encoder fails every encode until
  // it is reinitialised by assignment from a new QrEncoder. Clone is a deep
  // copy.
  void Release();
  QrEncoder Clone() const { return *this; }

  // Geometry. The first three return 0 for a version outside -4..-1, 1..40.
  int DataModuleCount(SymbolVersion version) const;
  int CodewordCount(SymbolVersion version) const;
  int SymbolSize(SymbolVersion version) const;
  int AlignmentPatternsPerSide(SymbolVersion version) const;
  int AlignmentPatternCount(SymbolVersion version) const;

  // Table readers, version 1..40 and level 1..4 (0 outside).
  int EcBlockCount(SymbolVersion version, EcLevel level) const;
  int EcCodewordsPerBlock(SymbolVersion version, EcLevel level) const;
  // Data codewords of a version at a level: CodewordCount - blocks * ecPerBlock.
  int DataCodewordCount(SymbolVersion version, EcLevel level) const;

  // The pipeline: message bytes to the finished ModuleMatrix and margins.
  // On success replaces the stored matrix and margins and returns true; on
  // failure (negative version, data does not fit, released encoder) keeps
  // them and returns false.
  bool EncodeMatrix(const EncodeOptions& options);

  // Segmentation. bits receives one bit (0/1) per byte. With measureOnly the
  // return value is the stream length plus 4 and nothing is written (an empty
  // input still writes its 4 terminator bits). Returns -1, writing nothing,
  // when the stream would not fit in bits.
  int EncodeData(std::span<std::uint8_t> bits, std::span<const std::uint8_t> data, int length,
                 int version, bool measureOnly = false, bool allowKanji = true) const;
  static int CharacterClass(std::uint8_t byte);
  static bool IsKanjiPair(std::uint8_t first, std::uint8_t second);
  static int AlphanumericValue(std::uint8_t byte);

  // Function patterns into a stride x stride grid (1 dark, 2 light/reserved,
  // 0 free). True for 1..40 (drawn) and -4..-1 (nothing drawn), else false.
  bool DrawFunctionPatterns(std::span<std::uint8_t> functionMatrix, int stride,
                            SymbolVersion version) const;
  // XORs pattern mask (outside 0..7: 0) over a size x size grid; returns the
  // pattern applied, or -1 (grid untouched) when dataMatrix holds fewer than
  // size * size bytes.
  static int ApplyMask(std::span<std::uint8_t> dataMatrix, int size, int mask);
  // value * x^steps modulo the generator over GF(2), for topBit = 2^steps, a
  // generator of degree steps and value below topBit.
  static int BchRemainder(int value, int generator, int topBit, int steps);

  // Module at 1-based (row, column) of the last symbol's bitmap, margins
  // included (raw = false), or of the matrix itself (raw = true). 0 outside.
  std::uint8_t ModuleAt(int row, int column, bool raw = false) const;

  const ModuleMatrix& Matrix() const { return matrix_; }
  const Margins& StoredMargins() const { return margins_; }
  const GaloisField& Field() const { return field_; }

 private:
  // Writes the stream of data for an automatically chosen version into
  // bitStream_; returns {version, stream bits} or {0, 0} when none holds it.
  struct Choice {
    int version = 0;
    int bits = 0;
  };
  Choice ChooseVersion(std::span<const std::uint8_t> data, int level, bool allowKanji);
  bool Fits(int streamBits, int version, int level) const;

  GaloisField field_;
  ReedSolomonEncoder coder_;
  ModuleMatrix matrix_;
  Margins margins_;

  // Working buffers of EncodeMatrix, kept between calls so that an encode
  // allocates nothing once they have grown; their contents carry no meaning
  // from one call to the next.
  std::vector<std::uint8_t> bitStream_ = std::vector<std::uint8_t>(kBitStreamCells, 0);
  std::vector<std::uint8_t> dataCodewords_;
  std::vector<std::uint8_t> codewords_;
  std::vector<std::uint8_t> dataMatrix_;
  // Function patterns and placement walk of the last version encoded.
  SymbolLayout layout_;

 public:
  // One cell per stream bit; no version holds more than 23,648 data bits.
  static constexpr int kBitStreamCells = 32768;
};

}  // namespace varnelo::qr
