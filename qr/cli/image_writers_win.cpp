// The raster formats and metafiles of qrgen on Windows. Raster images are made
// by the QR object, so they are the images host programs get from it: the
// code at one pixel a module, stretched to --scale pixels a module, with the
// --logo picture in the middle.
#include <windows.h>

#include <array>

#include "qr/cli/image_writers.h"
#include "qr/object/exports.h"
#include "qr/object/image_conversion.h"
#include "qr/object/qr_code.h"

namespace varnelo::qr::cli {
namespace {

constexpr int kBmpEncoder = 1;  // ConvertImageBytes type of the platform BMP encoder

template <int format>
std::optional<ByteBuffer> MakeRaster(const ImageRequest& request, std::string& error) {
  const Options& options = request.options;
  if (!request.logo.empty() && ConvertImageBytes(request.logo, kBmpEncoder).empty()) {
    error = "the logo is no image the platform can read";
    return std::nullopt;
  }
  GenerateOptions generate{
      .inputFlags = 1,  // the message bytes exactly as given
      .version = options.version,
      .level = options.level,
      .mask = options.mask.value_or(-1),
      .marginLeft = options.margin,
      .marginBottom = options.margin,
      .marginTop = options.margin,
      .marginRight = options.margin,
      .allowKanji = options.allowKanji,
  };
  if (!request.logo.empty()) generate.logo = ByteBuffer(request.logo.begin(), request.logo.end());
  QrCode code;
  if (!code.Generate(TextBytes(request.message.begin(), request.message.end()), generate)) {
    error = "the QR object could not make the image";
    return std::nullopt;
  }
  const int side = code.GetImageWidth() * options.scale;
  ByteBuffer bytes = code.EncodeToImageBytes({.size = side}, format);
  if (bytes.empty()) {
    error = "the image could not be encoded";
    return std::nullopt;
  }
  if constexpr (format == 0) {
    // The object's own BMP bytes carry a 44-byte header; files get the
    // platform encoder's standard one.
    if (ByteBuffer standard = ConvertImageBytes(bytes, kBmpEncoder); !standard.empty()) {
      bytes = std::move(standard);
    }
  }
  return bytes;
}

template <VectorFormat format>
std::optional<ByteBuffer> MakeMetafile(const ImageRequest& request, std::string& error) {
  ByteBuffer bytes = ExportVector(MakeSymbolView(request.encoder), static_cast<std::int16_t>(format));
  if (bytes.empty()) {
    error = "the metafile could not be made";
    return std::nullopt;
  }
  return bytes;
}

constexpr std::array kWindowsTypes = {
    ImageType{"bmp", "BMP image, --scale pixels a module (--logo)", MakeRaster<0>, kTakesLogo},
    ImageType{"png", "PNG image (--logo)", MakeRaster<4>, kTakesLogo},
    ImageType{"jpeg", "JPEG image (--logo)", MakeRaster<1>, kTakesLogo},
    ImageType{"gif", "GIF image (--logo)", MakeRaster<2>, kTakesLogo},
    ImageType{"tiff", "TIFF image (--logo)", MakeRaster<3>, kTakesLogo},
    ImageType{"wmf", "Windows metafile, one unit a module", MakeMetafile<VectorFormat::Wmf>},
    ImageType{"emf", "enhanced metafile, one unit a module", MakeMetafile<VectorFormat::Emf>},
};

}  // namespace

std::span<const ImageType> PlatformImageTypes() { return kWindowsTypes; }

}  // namespace varnelo::qr::cli
