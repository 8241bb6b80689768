#include "qr/object/composition.h"

#include <gtest/gtest.h>

#include <vector>

#include "qr/object/gdiplus_flat.h"
#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::BmpPixels;
using testing::MakeBmp;

TEST(NextNoiseBit, ReadsBitsLowFirstAndRestartsBeforeTheLastBit) {
  const std::vector<std::uint8_t> noise = {0xA5, 0x3C};
  // 0xA5 = 1010 0101, 0x3C = 0011 1100; bits 0..14, then from bit 0 again.
  const int expected[] = {1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 1, 1, 1, 0, 1, 0, 1, 0, 0};
  std::size_t counter = 0;
  for (int bit : expected) EXPECT_EQ(NextNoiseBit(noise, counter), bit);

  std::size_t untouched = 0;
  EXPECT_EQ(NextNoiseBit({}, untouched), 0);
  EXPECT_EQ(untouched, 0u);
  std::size_t stale = 1000;  // a counter beyond the bytes starts again
  EXPECT_EQ(NextNoiseBit(noise, stale), 1);
  EXPECT_EQ(stale, 2u);
}

TEST(PlaceCodeOnBackground, CentresOnePixelUpAndLeft) {
  struct Case { int bw, bh, cw, ch, ox, oy, x, y; };
  const Case cases[] = {
      {400, 300, 200, 200, 0, 0, 99, 49},
      {400, 300, 200, 200, 10, -5, 109, 44},
      {401, 301, 200, 200, 0, 0, 99, 49},   // halves truncated
      {100, 100, 200, 200, 0, 0, -51, -51}, // larger than the background
  };
  for (const Case& c : cases) {
    const CodePlacement at = PlaceCodeOnBackground(c.bw, c.bh, c.cw, c.ch, c.ox, c.oy);
    EXPECT_EQ(at.x, c.x);
    EXPECT_EQ(at.y, c.y);
  }
}

struct Cell { long long left, top, right, bottom; };

std::vector<Cell> Walk(int bw, int bh, CodePlacement at, int side, int unscaled,
                       const std::vector<std::uint8_t>& noise) {
  std::vector<Cell> cells;
  WalkSpeckleCells(bw, bh, at, side, side, unscaled, unscaled, noise,
                   [&](long long l, long long t, long long r, long long b) { cells.push_back({l, t, r, b}); });
  return cells;
}

TEST(WalkSpeckleCells, CoversEverythingButTheCode) {
  const int bw = 400, bh = 300, side = 200, unscaled = 51;
  const CodePlacement at{99, 49};
  const double pitch = static_cast<double>(side) / unscaled;
  const std::vector<Cell> cells = Walk(bw, bh, at, side, unscaled, std::vector<std::uint8_t>(4000, 0xFF));
  ASSERT_FALSE(cells.empty());

  std::vector<int> covered(bw * bh, 0);
  for (const Cell& c : cells) {
    // No cell starts strictly inside the code.
    const bool inside = c.left > at.x && c.left < at.x + side - 1.5 * pitch && c.top > at.y &&
                        c.top < at.y + side - pitch;
    EXPECT_FALSE(inside) << c.left << "," << c.top;
    EXPECT_GE(c.right - c.left, 3);
    EXPECT_LE(c.right - c.left, 4);
    for (long long y = std::max(0LL, c.top); y < std::min<long long>(bh, c.bottom); ++y)
      for (long long x = std::max(0LL, c.left); x < std::min<long long>(bw, c.right); ++x) covered[y * bw + x] = 1;
  }
  // With every noise bit 1, all of the canvas outside the code is covered.
  int uncovered = 0;
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) {
      const bool inCode = x >= at.x && x < at.x + side && y >= at.y && y < at.y + side;
      uncovered += !inCode && !covered[y * bw + x];
    }
  EXPECT_EQ(uncovered, 0);

  EXPECT_TRUE(Walk(bw, bh, at, side, unscaled, std::vector<std::uint8_t>(4000, 0)).empty());
  EXPECT_TRUE(Walk(bw, bh, at, side, unscaled, {}).empty());
}

constexpr RgbColor kBackground = 0xCC6633;
constexpr RgbColor kSpeckle = 0x00FF00;

// A 200 x 200 code picture: white, with a black block at (4..11, 4..11).
ByteBuffer TestCode() {
  return MakeBmp(200, 200, [](int x, int y) {
    return x >= 4 && x < 12 && y >= 4 && y < 12 ? RgbColor{0} : RgbColor{0xFFFFFF};
  });
}

TEST(ComposeOnBackground, OrsTheCodeOntoTheBackgroundAtItsPlace) {
  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  const BmpPixels image(ComposeOnBackground(background, TestCode(), kSpeckle, 0, 0, false, {}, 51, 51));
  ASSERT_TRUE(image.valid());
  ASSERT_EQ(image.width(), 400);
  ASSERT_EQ(image.height(), 300);
  EXPECT_EQ(image.At(99, 49), 0xFFFFFFu);        // the code's top-left corner
  EXPECT_EQ(image.At(98, 49), kBackground);
  EXPECT_EQ(image.At(99, 48), kBackground);
  EXPECT_EQ(image.At(298, 248), 0xFFFFFFu);      // its bottom-right corner
  EXPECT_EQ(image.At(299, 249), kBackground);
  EXPECT_EQ(image.At(99 + 4, 49 + 4), kBackground);  // dark modules show the background
  EXPECT_EQ(image.At(99 + 3, 49 + 3), 0xFFFFFFu);
  EXPECT_EQ(image.At(0, 0), kBackground);

  const BmpPixels shifted(ComposeOnBackground(background, TestCode(), kSpeckle, 10, -5, false, {}, 51, 51));
  EXPECT_EQ(shifted.At(109, 44), 0xFFFFFFu);
  EXPECT_EQ(shifted.At(108, 44), kBackground);
}

TEST(ComposeOnBackground, SpecklesOnlyOutsideTheCode) {
  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  const std::vector<std::uint8_t> ones(4000, 0xFF);
  const BmpPixels plain(ComposeOnBackground(background, TestCode(), kSpeckle, 0, 0, false, ones, 51, 51));
  const BmpPixels speckled(ComposeOnBackground(background, TestCode(), kSpeckle, 0, 0, true, ones, 51, 51));
  ASSERT_TRUE(plain.valid());
  ASSERT_TRUE(speckled.valid());
  EXPECT_EQ(speckled.At(0, 0), kSpeckle);
  EXPECT_EQ(speckled.At(399, 299), kSpeckle);
  // Inside the code, away from its first and last module rows and columns,
  // nothing changes.
  int changedInside = 0;
  for (int y = 49 + 8; y < 49 + 200 - 8; ++y)
    for (int x = 99 + 8; x < 99 + 200 - 8; ++x) changedInside += plain.At(x, y) != speckled.At(x, y);
  EXPECT_EQ(changedInside, 0);
}

TEST(OverlayLogo, PastesTheLogoAtItsOwnSizeInTheMiddle) {
  gdiplus::Session library;
  const ByteBuffer image = MakeBmp(288, 288, [](int, int) { return RgbColor{0xFFFFFF}; });
  const ByteBuffer logo = MakeBmp(100, 100, [](int, int) { return RgbColor{0x0000FF}; });
  const BmpPixels centred(OverlayLogo(image, logo, 0, 0));
  ASSERT_TRUE(centred.valid());
  ASSERT_EQ(centred.width(), 288);
  EXPECT_EQ(centred.At(94, 94), 0x0000FFu);
  EXPECT_EQ(centred.At(193, 193), 0x0000FFu);
  EXPECT_EQ(centred.At(93, 94), 0xFFFFFFu);
  EXPECT_EQ(centred.At(194, 193), 0xFFFFFFu);

  const BmpPixels shifted(OverlayLogo(image, logo, 5, -3));
  EXPECT_EQ(shifted.At(99, 91), 0x0000FFu);
  EXPECT_EQ(shifted.At(98, 91), 0xFFFFFFu);
  EXPECT_EQ(shifted.At(99, 90), 0xFFFFFFu);
}

}  // namespace
}  // namespace varnelo::qr
