// Conversions between image bytes, GDI bitmaps and the graphics library's
// image encoders. Windows only.
//
// "BMP bytes" are the files BitmapToBmpBytes writes: a 14-byte file header, an
// information header whose size field is 44, pixel data from byte 58,
// bottom-up rows at the bitmap's own bit depth. Every reader here takes the
// size and the pixel offset through ReadBmpHeader, which checks the length
// first, so short or malformed bytes are a failure and never read past the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "qr/encode/qr_encoder.h"
#include "win/handles.h"

namespace varnelo::qr {

// Raster output codes of the QR object's image outputs.
enum class ImageFormat : int { Bmp = 0, Jpeg = 1, Gif = 2, Tiff = 3, Png = 4 };
constexpr int kImageFormatCount = 5;

struct BmpHeader {
  int width = 0;         // int32 at byte 18, 1..
  int height = 0;        // int32 at byte 22, non-zero (negative: top-down rows)
  int pixelOffset = 0;   // uint32 at byte 10, within the bytes
};

// The header of a BMP file: "BM", a 14-byte file header and at least the
// 40-byte information header, a non-zero width and height and a pixel offset
// inside the bytes. nullopt for anything else.
std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> bytes);

// The bitmap as BMP bytes at its own bit depth; empty when the bitmap cannot
// be read (null, deleted, or selected into a DC).
ByteBuffer BitmapToBmpBytes(HBITMAP bitmap);

// Re-encodes any image the graphics library decodes (BMP, PNG, JPEG, GIF,
// TIFF, ...) with the encoder of type 1..5 = ImageFormat 0..4. Returns exactly
// the encoded bytes; empty when the type is outside 1..5, the input does not
// decode or the encoder fails. Needs the graphics library started (every
// QrCode starts it).
ByteBuffer ConvertImageBytes(std::span<const std::uint8_t> bytes, int type);

// A GDI bitmap of an image file's bytes (any format the platform's picture
// loader reads), stretched to width x height; 0 for either keeps the
// picture's own dimension. Empty owner for empty or undecodable bytes or a
// negative size.
win::Bitmap BitmapFromImageBytes(std::span<const std::uint8_t> bytes, int width = 0,
                                 int height = 0);

// BMP bytes stretched to width x height (both 1..) as new BMP bytes. Enlarging
// repeats source pixels: a code W0 pixels wide stretched to S gives modules of
// floor(S / W0) or one pixel more. Empty for bad bytes or sizes.
ByteBuffer ScaleImageBytes(std::span<const std::uint8_t> bmpBytes, int width, int height);

}  // namespace varnelo::qr
