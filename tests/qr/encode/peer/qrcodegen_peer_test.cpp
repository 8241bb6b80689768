// Our symbols against an independent encoder, module for module: for byte
// data both encoders write the same single byte segment, so with the version
// and mask fixed every module must agree.
#include <gtest/gtest.h>
#include <qrcodegen/qrcodegen.hpp>

#include <vector>

#include "qr/encode/qr_encoder.h"

namespace varnelo::qr {
namespace {

const qrcodegen::QrCode::Ecc kLevels[] = {qrcodegen::QrCode::Ecc::LOW, qrcodegen::QrCode::Ecc::MEDIUM,
                                          qrcodegen::QrCode::Ecc::QUARTILE, qrcodegen::QrCode::Ecc::HIGH};

TEST(QrcodegenPeer, EveryVersionLevelAndMaskAgrees) {
  QrEncoder encoder;
  for (int version = 1; version <= 40; ++version) {
    for (int level = 1; level <= 4; ++level) {
      const int countBits = version < 10 ? 8 : 16;
      const int capacity = (8 * encoder.DataCodewordCount(version, level) - 4 - countBits) / 8;
      for (int mask = 0; mask < 8; ++mask) {
        SCOPED_TRACE(testing::Message() << version << "-" << level << " mask " << mask);
        // Full, nearly full (padding) and half-full symbols.
        const int length = mask < 3 ? capacity - mask : capacity / 2;
        std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i) data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>('a' + (i * 7 + version) % 26);
        const auto peer = qrcodegen::QrCode::encodeSegments({qrcodegen::QrSegment::makeBytes(data)},
                                                            kLevels[level - 1], version, version, mask, false);
        EncodeOptions options;
        options.data = data;
        options.dataLength = length;
        options.version = version;
        options.level = level;
        options.mask = mask;
        ASSERT_TRUE(encoder.EncodeMatrix(options));
        ASSERT_EQ(encoder.Matrix().size, peer.getSize());
        int differences = 0;
        for (int y = 0; y < peer.getSize(); ++y) {
          for (int x = 0; x < peer.getSize(); ++x) differences += encoder.Matrix().At(x, y) != (peer.getModule(x, y) ? 1 : 0);
        }
        ASSERT_EQ(differences, 0);
      }
    }
  }
}

}  // namespace
}  // namespace varnelo::qr
