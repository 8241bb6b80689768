// The encode pipeline: message bytes to the finished module matrix.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "qr/encode/codewords.h"
#include "qr/encode/masking.h"
#include "qr/encode/placement.h"
#include "qr/encode/qr_encoder.h"
#include "qr/encode/symbol_tables.h"

namespace varnelo::qr {
namespace {

// Versions whose character-count fields have the same widths: a stream
// written for the first version of a group is the stream of every version in it.
struct VersionGroup {
  int first, last;
};
constexpr std::array<VersionGroup, 3> kVersionGroups = {{{1, 9}, {10, 26}, {27, 40}}};

// Puts 8 bits of every codeword, most significant first, at the modules the
// walk names; free modules after the last codeword (remainder bits) get 0.
void ScatterCodewords(std::span<const std::uint8_t> codewords, std::span<const std::uint16_t> walk,
                      std::uint8_t* dataMatrix) {
  const std::uint16_t* w = walk.data();
  for (const std::uint8_t c : codewords) {
    dataMatrix[w[0]] = static_cast<std::uint8_t>(c >> 7);
    dataMatrix[w[1]] = static_cast<std::uint8_t>((c >> 6) & 1);
    dataMatrix[w[2]] = static_cast<std::uint8_t>((c >> 5) & 1);
    dataMatrix[w[3]] = static_cast<std::uint8_t>((c >> 4) & 1);
    dataMatrix[w[4]] = static_cast<std::uint8_t>((c >> 3) & 1);
    dataMatrix[w[5]] = static_cast<std::uint8_t>((c >> 2) & 1);
    dataMatrix[w[6]] = static_cast<std::uint8_t>((c >> 1) & 1);
    dataMatrix[w[7]] = static_cast<std::uint8_t>(c & 1);
    w += 8;
  }
  for (const std::uint16_t* end = walk.data() + walk.size(); w < end; ++w) dataMatrix[*w] = 0;
}

}  // namespace

bool QrEncoder::Fits(int streamBits, int version, int level) const {
  // The terminator may be cut short, so only the bits before it must fit.
  return streamBits >= 4 && streamBits - 4 <= 8 * tables::DataCodewordCount(version, level);
}

QrEncoder::Choice QrEncoder::ChooseVersion(std::span<const std::uint8_t> data, int level,
                                           bool allowKanji) {
  const auto n = static_cast<std::uint64_t>(data.size());
  for (const VersionGroup group : kVersionGroups) {
    // No mode spends fewer than 10 bits on 3 bytes: skip a group that cannot
    // hold the data without running the segmentation for it.
    if (10 * n > 24 * static_cast<std::uint64_t>(tables::DataCodewordCount(group.last, level))) continue;
    const int bits = EncodeData(bitStream_, data, static_cast<int>(data.size()), group.first, false, allowKanji);
    if (bits < 0) continue;
    for (int v = group.first; v <= group.last; ++v) {
      if (Fits(bits, v, level)) return {v, bits};
    }
  }
  return {};
}

bool QrEncoder::EncodeMatrix(const EncodeOptions& options) {
  // Defaults of every omitted or out-of-range option, in one place.
  const int requestedVersion = options.version.value_or(0);
  const int level = tables::IsLevel(options.level.value_or(2)) ? options.level.value_or(2) : 2;
  const int requestedMask = options.mask.value_or(-1);
  const Margins margins{options.marginLeft.value_or(0), options.marginTop.value_or(0),
                        options.marginRight.value_or(0), options.marginBottom.value_or(0)};
  // Never read past the caller's bytes, whatever dataLength claims.
  const std::size_t length =
      options.dataLength <= 0 ? 0 : std::min(static_cast<std::size_t>(options.dataLength), options.data.size());
  const auto data = options.data.first(length);

  // A released encoder has no field to compute error correction with.
  if (requestedVersion < 0 || field_.Size() != 256) return false;
  int version = 0;
  int streamBits = 0;
  if (tables::IsQrVersion(requestedVersion)) {
    version = requestedVersion;
    streamBits = EncodeData(bitStream_, data, static_cast<int>(length), version, false, options.allowKanji);
    if (streamBits < 0 || !Fits(streamBits, version, level)) return false;
  } else {
    const Choice choice = ChooseVersion(data, level, options.allowKanji);
    if (choice.version == 0) return false;
    version = choice.version;
    streamBits = choice.bits;
  }
  // Nothing below can fail: the stored matrix is replaced from here on.

  const BlockGeometry geometry = BlockGeometryOf(version, level);
  dataCodewords_.resize(static_cast<std::size_t>(geometry.dataCodewords));
  PackDataCodewords(bitStream_, streamBits, dataCodewords_);
  codewords_.resize(static_cast<std::size_t>(geometry.TotalCodewords()));
  InterleaveBlocks(geometry, dataCodewords_, field_, coder_, codewords_);

  if (layout_.version != version) BuildSymbolLayout(version, layout_);
  const int size = layout_.size;
  const int stride = layout_.stride;
  // The data grid has the matrix's stride, so that the merge below runs over
  // both as flat arrays; its spare bytes are never taken.
  const std::size_t cells = static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride);
  dataMatrix_.resize(cells);
  ScatterCodewords(codewords_, layout_.walk, dataMatrix_.data());
  const int pattern = MaskPatternOf(requestedMask);
  XorMaskPattern(dataMatrix_.data(), size, stride, pattern);

  // Merge: function modules from the layout, the masked data at free modules
  // (functionModules is 0 there, so an OR completes it). stride^2 is a
  // multiple of 16: eight bytes per step, no tail.
  matrix_.size = size;
  matrix_.stride = stride;
  matrix_.cells.resize(cells);
  std::uint8_t* out = matrix_.cells.data();
  const std::uint8_t* modules = layout_.functionModules.data();
  const std::uint8_t* functionMask = layout_.functionMask.data();
  const std::uint8_t* masked = dataMatrix_.data();
  for (std::size_t i = 0; i < cells; i += 8) {
    std::uint64_t m, k, d;
    std::memcpy(&m, modules + i, 8);
    std::memcpy(&k, functionMask + i, 8);
    std::memcpy(&d, masked + i, 8);
    m |= d & ~k;
    std::memcpy(out + i, &m, 8);
  }
  WriteFormatInformation(matrix_.cells, stride, size, FormatWord(level, pattern));
  margins_ = margins;
  return true;
}

}  // namespace varnelo::qr
