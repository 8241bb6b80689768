// Arbitrary message bytes under arbitrary encode options. Every encode either
// fails cleanly or yields a symbol that a real decoder reads back as exactly
// the message.
//
// Input layout: 8 option bytes, then the message.
//   [0] version (signed), [1] level (signed), [2] mask (signed),
//   [3..6] margins (signed), [7] bit 0: Kanji mode allowed,
//   bit 1: dataLength claims more bytes than given.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "qr/encode/qr_encoder.h"
#include "tests/support/zxing_decode.h"

namespace {

varnelo::qr::QrEncoder& Encoder() {
  static varnelo::qr::QrEncoder encoder;
  return encoder;
}

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "encode_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  using namespace varnelo::qr;
  if (size < 8) return 0;
  const auto option = [&](int i) { return static_cast<int>(static_cast<std::int8_t>(input[i])); };
  const std::span<const std::uint8_t> message(input + 8, size - 8);

  EncodeOptions options;
  options.data = message;
  options.dataLength = static_cast<int>(message.size()) + ((input[7] & 2) ? 1000 : 0);
  options.version = option(0);
  options.level = option(1);
  options.mask = option(2);
  options.marginLeft = option(3);
  options.marginTop = option(4);
  options.marginRight = option(5);
  options.marginBottom = option(6);
  options.allowKanji = (input[7] & 1) != 0;

  QrEncoder& encoder = Encoder();
  const ModuleMatrix before = encoder.Matrix();
  if (!encoder.EncodeMatrix(options)) {
    if (encoder.Matrix().cells != before.cells) Fail("a failed encode changed the stored symbol");
    return 0;
  }
  if (option(0) < 0) Fail("a negative version encoded");

  const ModuleMatrix& matrix = encoder.Matrix();
  if (matrix.size < 21 || matrix.size > 177 || (matrix.size - 17) % 4 != 0) Fail("symbol size");
  if (option(0) >= 1 && option(0) <= 40 && matrix.size != 4 * option(0) + 17) Fail("version not kept");
  const varnelo::testing::Decoded decoded = varnelo::testing::DecodeMatrix(matrix);
  if (!decoded.ok) Fail("the symbol does not decode");
  if (decoded.bytes.size() != message.size() ||
      !std::equal(message.begin(), message.end(), decoded.bytes.begin())) {
    Fail("decoded bytes differ from the message");
  }
  const int level = option(1) >= 1 && option(1) <= 4 ? option(1) : 2;
  if (decoded.level != std::string(1, "LMQH"[level - 1])) Fail("wrong level");
  return 0;
}
