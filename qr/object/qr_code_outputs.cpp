// The image outputs of QrCode: image bytes, files and the clipboard, each
// optionally composed onto a background with the logo.
#include <cstdlib>

#include "qr/object/clipboard.h"
#include "qr/object/composition.h"
#include "qr/object/exports_file.h"
#include "qr/object/qr_code.h"

namespace varnelo::qr {
namespace {

bool IsImageFormat(int format) { return format >= 0 && format < kImageFormatCount; }

}  // namespace

ByteBuffer QrCode::Compose(const ImageComposition& composition) const {
  const int size = composition.size.value_or(0);
  ByteBuffer image = ScaleImageBytes(codeBmpBytes, size, size);
  if (image.empty()) return {};

  // A background that does not decode is left out: the code is composed as if
  // none had been given.
  bool onBackground = false;
  const std::span<const std::uint8_t> background =
      composition.background ? std::span<const std::uint8_t>(*composition.background)
                             : std::span<const std::uint8_t>{};
  if (!background.empty()) {
    const ByteBuffer decoded = ConvertImageBytes(background, 1);
    if (const std::optional<BmpHeader> header = ReadBmpHeader(decoded)) {
      const int width = composition.backgroundWidth.value_or(0) > 0 ? *composition.backgroundWidth
                                                                      : header->width;
      const int height = composition.backgroundHeight.value_or(0) > 0
                             ? *composition.backgroundHeight
                             : std::abs(header->height);
      const ByteBuffer scaled = ScaleImageBytes(decoded, width, height);
      const std::optional<BmpHeader> code = ReadBmpHeader(codeBmpBytes);
      ByteBuffer composed =
          scaled.empty() || !code
              ? ByteBuffer{}
              : ComposeOnBackground(scaled, image, lightColour, composition.offsetX.value_or(0),
                                    composition.offsetY.value_or(0),
                                    composition.speckle.value_or(false), noiseBytes, code->width,
                                    std::abs(code->height));
      if (!composed.empty()) {
        image = std::move(composed);
        onBackground = true;
      }
    }
  }

  if (logoBitmap) {
    const int dx = onBackground ? composition.offsetX.value_or(0) : 0;
    const int dy = onBackground ? composition.offsetY.value_or(0) : 0;
    ByteBuffer withLogo = OverlayLogo(image, logoBmpBytes, dx, dy);
    if (!withLogo.empty()) image = std::move(withLogo);
  }
  return image;
}

ByteBuffer QrCode::EncodeToImageBytes(const ImageComposition& composition,
                                      std::optional<int> format) const {
  const int imageFormat = format.value_or(0);
  if (!IsImageFormat(imageFormat) || !HasCode()) return {};
  ByteBuffer image = codeBmpBytes;
  if (composition.size.value_or(0) > 0) {
    image = Compose(composition);
    if (image.empty()) return {};
  }
  if (imageFormat == static_cast<int>(ImageFormat::Bmp)) return image;
  ByteBuffer converted = ConvertImageBytes(image, imageFormat + 1);
  return converted.empty() ? image : converted;
}

bool QrCode::SaveImageToFile(const TextBytes& path, const ImageComposition& composition,
                             std::optional<int> format) const {
  const int imageFormat = format.value_or(0);
  if (!codeBitmap || !IsImageFormat(imageFormat)) return false;
  ByteBuffer composed;
  if (composition.size) {
    composed = Compose(composition);
    if (composed.empty()) return false;
  }
  const ByteBuffer& source = composition.size ? composed : codeBmpBytes;
  // BMP too goes through the platform encoder: a file any reader takes.
  const ByteBuffer encoded = ConvertImageBytes(source, imageFormat + 1);
  if (encoded.empty()) return false;
  return WriteExportFile(path, encoded);
}

bool QrCode::CopyToClipboard(const ImageComposition& composition) const {
  if (!codeBitmap) return false;
  if (!composition.size) {
    // A copy: the object keeps its own bitmap.
    return PutBitmapOnClipboard(
        win::Bitmap(static_cast<HBITMAP>(CopyImage(codeBitmap.get(), IMAGE_BITMAP, 0, 0, 0))));
  }
  const ByteBuffer composed = Compose(composition);
  const std::optional<BmpHeader> header = ReadBmpHeader(composed);
  if (!header) return false;
  // The composed image already has its final size: the stretched code, or
  // the background's size when it went onto a background.
  return PutBitmapOnClipboard(BitmapFromImageBytes(composed, header->width, std::abs(header->height)));
}

}  // namespace varnelo::qr
