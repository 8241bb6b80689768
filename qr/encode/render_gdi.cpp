#include "qr/encode/render_gdi.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstring>

namespace varnelo::qr {
namespace {

// An 8-bit DIB header with its full 256-entry colour table.
struct PalettedDibInfo {
  BITMAPINFOHEADER header;
  std::array<RGBQUAD, 256> colours;
};

RGBQUAD ToRgbQuad(RgbColor colour) {
  RGBQUAD quad{};
  quad.rgbRed = static_cast<BYTE>(colour & 0xFF);
  quad.rgbGreen = static_cast<BYTE>((colour >> 8) & 0xFF);
  quad.rgbBlue = static_cast<BYTE>((colour >> 16) & 0xFF);
  return quad;
}

}  // namespace

win::Bitmap RenderModuleMatrix(std::span<const std::uint8_t> pixels, int width, int height,
                               int left, int top, int right, int bottom, RgbColor darkColour,
                               std::optional<RgbColor> lightColour) {
  const RgbColor light = lightColour.value_or(0xFFFFFF);
  if (width <= 0 || height <= 0) return {};
  const long long stride = (static_cast<long long>(width) + 3) & ~3LL;
  if (static_cast<long long>(pixels.size()) < stride * height) return {};
  const long long imageWidth = static_cast<long long>(width) + left + right;
  const long long imageHeight = static_cast<long long>(height) + top + bottom;
  if (imageWidth <= 0 || imageHeight <= 0 || imageWidth > INT_MAX || imageHeight > INT_MAX) {
    return {};
  }

  // Top-down rows; entry 0 is the light colour, entry 1 the dark one, so the
  // matrix bytes serve as the pixel array unchanged.
  PalettedDibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = BI_RGB;
  info.header.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height);
  info.header.biClrUsed = 256;
  info.colours[0] = ToRgbQuad(light);
  info.colours[1] = ToRgbQuad(darkColour);

  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::MemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!memory) return {};
  win::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), static_cast<int>(imageWidth),
                                            static_cast<int>(imageHeight)));
  if (!bitmap) return {};
  bool drawn = false;
  {
    win::Selection selected(memory.get(), bitmap.get());
    win::Brush brush(CreateSolidBrush(light));
    const RECT whole{0, 0, static_cast<LONG>(imageWidth), static_cast<LONG>(imageHeight)};
    const bool filled = brush && FillRect(memory.get(), &whole, brush.get()) != 0;
    const int lines = StretchDIBits(memory.get(), left, top, width, height, 0, 0, width, height,
                                    pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, SRCCOPY);
    drawn = filled && lines > 0;
  }
  if (!drawn) return {};
  return bitmap;
}

win::Bitmap EncodeSymbol(QrEncoder& encoder, const EncodeOptions& options) {
  if (!encoder.EncodeMatrix(options)) return {};
  const ModuleMatrix& matrix = encoder.Matrix();
  const Margins& margins = encoder.StoredMargins();
  return RenderModuleMatrix(matrix.cells, matrix.size, matrix.size, margins.left, margins.top,
                            margins.right, margins.bottom, options.darkColour.value_or(0),
                            options.lightColour.value_or(0xFFFFFF));
}

}  // namespace varnelo::qr
