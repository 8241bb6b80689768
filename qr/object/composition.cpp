#include "qr/object/composition.h"

#include <windows.h>

#include <cstdlib>
#include <optional>

#include "qr/object/image_conversion.h"
#include "win/handles.h"

namespace varnelo::qr {

int NextNoiseBit(std::span<const std::uint8_t> noise, std::size_t& counter) {
  if (noise.empty()) return 0;
  if (counter == 0 || counter >= 8 * noise.size()) counter = 1;
  const std::size_t bit = counter - 1;
  ++counter;
  return (noise[bit / 8] >> (bit % 8)) & 1;
}

CodePlacement PlaceCodeOnBackground(int backgroundWidth, int backgroundHeight, int codeWidth,
                                    int codeHeight, int offsetX, int offsetY) {
  return {static_cast<int>((backgroundWidth - codeWidth) / 2.0 - 1 + offsetX),
          static_cast<int>((backgroundHeight - codeHeight) / 2.0 - 1 + offsetY)};
}

ByteBuffer ComposeOnBackground(std::span<const std::uint8_t> background,
                               std::span<const std::uint8_t> code, RgbColor lightColour,
                               int offsetX, int offsetY, bool speckle,
                               std::span<const std::uint8_t> noise, int unscaledWidth,
                               int unscaledHeight) {
  const std::optional<BmpHeader> backgroundHeader = ReadBmpHeader(background);
  const std::optional<BmpHeader> codeHeader = ReadBmpHeader(code);
  if (!backgroundHeader || !codeHeader || unscaledWidth <= 0 || unscaledHeight <= 0) return {};
  const int backgroundWidth = backgroundHeader->width;
  const int backgroundHeight = std::abs(backgroundHeader->height);
  const int codeWidth = codeHeader->width;
  const int codeHeight = std::abs(codeHeader->height);

  win::Bitmap backgroundBitmap = BitmapFromImageBytes(background);
  win::Bitmap codeBitmap = BitmapFromImageBytes(code);
  if (!backgroundBitmap || !codeBitmap) return {};
  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::MemoryDc canvasDc(CreateCompatibleDC(screen.get()));
  win::MemoryDc sourceDc(CreateCompatibleDC(screen.get()));
  win::Bitmap canvas(CreateCompatibleBitmap(screen.get(), backgroundWidth, backgroundHeight));
  if (!canvasDc || !sourceDc || !canvas) return {};

  const CodePlacement at = PlaceCodeOnBackground(backgroundWidth, backgroundHeight, codeWidth,
                                                 codeHeight, offsetX, offsetY);
  bool drawn = false;
  {
    win::Selection intoCanvas(canvasDc.get(), canvas.get());
    {
      win::Selection fromBackground(sourceDc.get(), backgroundBitmap.get());
      drawn = BitBlt(canvasDc.get(), 0, 0, backgroundWidth, backgroundHeight, sourceDc.get(), 0, 0,
                     SRCCOPY) != 0;
    }
    {
      // OR: light modules stay light, dark ones let the background through.
      win::Selection fromCode(sourceDc.get(), codeBitmap.get());
      drawn = drawn && BitBlt(canvasDc.get(), at.x, at.y, codeWidth, codeHeight, sourceDc.get(), 0,
                              0, SRCPAINT) != 0;
    }
    if (drawn && speckle) {
      win::Brush light(CreateSolidBrush(lightColour));
      if (!light) return {};
      WalkSpeckleCells(backgroundWidth, backgroundHeight, at, codeWidth, codeHeight, unscaledWidth,
                       unscaledHeight, noise,
                       [&](long long left, long long top, long long right, long long bottom) {
                         const RECT cell{static_cast<LONG>(left), static_cast<LONG>(top),
                                         static_cast<LONG>(right), static_cast<LONG>(bottom)};
                         FillRect(canvasDc.get(), &cell, light.get());
                       });
    }
  }
  if (!drawn) return {};
  return BitmapToBmpBytes(canvas.get());
}

ByteBuffer OverlayLogo(std::span<const std::uint8_t> image, std::span<const std::uint8_t> logo,
                       int dx, int dy) {
  const std::optional<BmpHeader> imageHeader = ReadBmpHeader(image);
  const std::optional<BmpHeader> logoHeader = ReadBmpHeader(logo);
  if (!imageHeader || !logoHeader) return {};
  const int imageWidth = imageHeader->width;
  const int imageHeight = std::abs(imageHeader->height);
  const int logoWidth = logoHeader->width;
  const int logoHeight = std::abs(logoHeader->height);

  win::Bitmap imageBitmap = BitmapFromImageBytes(image);
  win::Bitmap logoBitmap = BitmapFromImageBytes(logo);
  if (!imageBitmap || !logoBitmap) return {};
  win::WindowDc screen(nullptr);
  if (!screen.get()) return {};
  win::MemoryDc canvasDc(CreateCompatibleDC(screen.get()));
  win::MemoryDc sourceDc(CreateCompatibleDC(screen.get()));
  win::Bitmap canvas(CreateCompatibleBitmap(screen.get(), imageWidth, imageHeight));
  if (!canvasDc || !sourceDc || !canvas) return {};

  const int x = static_cast<int>((imageWidth - logoWidth) / 2.0 + dx);
  const int y = static_cast<int>((imageHeight - logoHeight) / 2.0 + dy);
  bool drawn = false;
  {
    win::Selection intoCanvas(canvasDc.get(), canvas.get());
    {
      win::Selection fromImage(sourceDc.get(), imageBitmap.get());
      drawn = BitBlt(canvasDc.get(), 0, 0, imageWidth, imageHeight, sourceDc.get(), 0, 0,
                     SRCCOPY) != 0;
    }
    {
      win::Selection fromLogo(sourceDc.get(), logoBitmap.get());
      drawn = drawn &&
              BitBlt(canvasDc.get(), x, y, logoWidth, logoHeight, sourceDc.get(), 0, 0, SRCCOPY) != 0;
    }
  }
  if (!drawn) return {};
  return BitmapToBmpBytes(canvas.get());
}

}  // namespace varnelo::qr
