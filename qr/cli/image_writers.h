// Image types qrgen can write: one table from type name to the function that
// makes the image's bytes. The portable types (PBM, the vector and text
// exports) are in every build; the raster formats and the metafiles come from
// the platform's image encoders and exist in the Windows build only.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qr/cli/options.h"
#include "qr/encode/qr_encoder.h"

namespace varnelo::qr::cli {

struct ImageRequest {
  const QrEncoder& encoder;                // holds the symbol, margins = options.margin
  std::span<const std::uint8_t> message;   // the bytes encoded, for types that encode again
  const Options& options;
  std::span<const std::uint8_t> logo;      // bytes of --logo, empty when none
};

// The image's bytes, or nothing with `error` saying why.
using ImageMaker = std::optional<ByteBuffer> (*)(const ImageRequest& request, std::string& error);

// Which of the type-specific options a type takes.
enum ImageOption : unsigned { kTakesSize = 1, kTakesCircles = 2, kTakesLogo = 4 };

struct ImageType {
  std::string_view name;
  std::string_view description;
  ImageMaker make;
  unsigned takes = 0;  // ImageOption bits
};

// The type of a name, or nullptr for an unknown name.
const ImageType* FindImageType(std::string_view name);

// "    pbm     binary portable bitmap\n" lines for the usage text.
std::string ImageTypeList();

// The types of the platform build (empty outside Windows).
std::span<const ImageType> PlatformImageTypes();

}  // namespace varnelo::qr::cli
