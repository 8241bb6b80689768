#include "qr/object/binding_draw.h"

#include <algorithm>

#include "qr/object/composition.h"
#include "win/handles.h"

namespace varnelo::qr {
namespace {

// a / b rounded toward minus infinity, b > 0.
long long FloorDiv(long long a, long long b) {
  const long long quotient = a / b;
  return quotient * b > a ? quotient - 1 : quotient;
}

}  // namespace

bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX,
                int sourceY, std::optional<int> sourceWidth, std::optional<int> sourceHeight) {
  if (!dc || !bitmap || width <= 0 || height <= 0) return false;
  win::MemoryDc source(CreateCompatibleDC(dc));
  if (!source) return false;
  win::Selection selected(source.get(), bitmap);
  // SelectObject fails for a bitmap that another DC holds; the DC would then
  // still hold its default 1 x 1 bitmap.
  if (GetCurrentObject(source.get(), OBJ_BITMAP) != bitmap) return false;
  return StretchBlt(dc, x, y, width, height, source.get(), sourceX, sourceY,
                    sourceWidth.value_or(width), sourceHeight.value_or(height), SRCCOPY) != FALSE;
}

void PaintSpeckle(HDC dc, std::span<const std::uint8_t> noise, const PixelBox& background,
                  const PixelBox& code, int codeImageWidth, int codeImageHeight, RgbColor colour) {
  if (!dc || noise.empty() || codeImageWidth <= 0 || codeImageHeight <= 0) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) return;
  const long long left = std::max<long long>(background.x, clip.left);
  const long long top = std::max<long long>(background.y, clip.top);
  const long long right =
      std::min<long long>(static_cast<long long>(background.x) + background.width, clip.right);
  const long long bottom =
      std::min<long long>(static_cast<long long>(background.y) + background.height, clip.bottom);
  if (left >= right || top >= bottom) return;

  const long long pitchX = std::max(1, code.width / codeImageWidth);
  const long long pitchY = std::max(1, code.height / codeImageHeight);
  const long long codeLeft = code.x;
  const long long codeTop = code.y;
  const long long codeRight = codeLeft + std::max(0, code.width);
  const long long codeBottom = codeTop + std::max(0, code.height);
  // The first grid lines at or before the visible edges, in step with the code.
  const long long startX = codeLeft + pitchX * FloorDiv(left - codeLeft, pitchX);
  const long long startY = codeTop + pitchY * FloorDiv(top - codeTop, pitchY);

  win::Brush brush(CreateSolidBrush(colour & 0xFFFFFF));
  if (!brush) return;
  std::size_t counter = 0;
  for (long long y = startY; y < bottom; y += pitchY) {
    const bool rowMeetsCode = y + pitchY > codeTop && y < codeBottom;
    // Neighbouring lit cells of a row are filled together: [runStart, runEnd).
    long long runStart = 0;
    long long runEnd = 0;
    const auto fillRun = [&] {
      if (runEnd > runStart) {
        const RECT cells{static_cast<LONG>(std::max(runStart, left)),
                         static_cast<LONG>(std::max(y, top)),
                         static_cast<LONG>(std::min(runEnd, right)),
                         static_cast<LONG>(std::min(y + pitchY, bottom))};
        FillRect(dc, &cells, brush.get());
      }
      runStart = runEnd;
    };
    for (long long x = startX; x < right; x += pitchX) {
      const bool overCode = rowMeetsCode && x + pitchX > codeLeft && x < codeRight;
      if (!overCode && NextNoiseBit(noise, counter) == 1) {
        if (runEnd != x) {
          fillRun();
          runStart = x;
        }
        runEnd = x + pitchX;
      }
    }
    fillRun();
  }
}

}  // namespace varnelo::qr
