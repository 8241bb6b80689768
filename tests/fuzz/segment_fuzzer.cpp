// The segmenter on its own: any bytes, any version and any bit-buffer size.
// It never writes outside the buffer, measuring agrees with writing, and a
// stream that does not fit is refused without a write.
//
// Input layout: [0] version (signed), [1..2] buffer size, [3] bit 0: Kanji
// mode allowed; then the data.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "qr/encode/qr_encoder.h"

namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "segment_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  using namespace varnelo::qr;
  if (size < 4) return 0;
  static const QrEncoder encoder;
  const int version = static_cast<std::int8_t>(input[0]);
  const std::size_t capacity = static_cast<std::size_t>(input[1]) << 8 | input[2];
  const bool allowKanji = (input[3] & 1) != 0;
  const std::span<const std::uint8_t> data(input + 4, size - 4);
  const int length = static_cast<int>(data.size());

  // The exact-size heap buffer lets AddressSanitizer catch any write past it.
  std::vector<std::uint8_t> bits(capacity, 0xAA);
  const int measured = encoder.EncodeData({}, data, length, version, true, allowKanji);
  const int written = encoder.EncodeData(bits, data, length, version, false, allowKanji);
  if (measured < 4) Fail("measured length below the terminator");
  if (written == -1) {
    if (static_cast<std::size_t>(measured) <= capacity) Fail("refused a stream that fits");
    for (std::uint8_t b : bits) {
      if (b != 0xAA) Fail("a refused stream wrote into the buffer");
    }
    return 0;
  }
  if (written != measured) Fail("measure and write disagree");
  for (int i = 0; i < written; ++i) {
    if (bits[i] > 1) Fail("a cell is not a bit");
  }
  for (std::size_t i = static_cast<std::size_t>(written); i < capacity; ++i) {
    if (bits[i] != 0xAA) Fail("wrote past the stream");
  }
  return 0;
}
