// DrawBitmap and PaintSpeckle on a memory DC.
#include "qr/object/binding_draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "tests/qr/object/binding_test_support.h"
#include "win/handles.h"

namespace varnelo::qr {
namespace {

using testing::CaptureDc;
using testing::ReferenceSpeckle;

constexpr RgbColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kBlack = 0,
                   kWhite = 0xFFFFFF;

// A 32-bit canvas selected into its own memory DC, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, RgbColor colour) : width_(width), height_(height) {
    win::WindowDc screen(nullptr);
    dc_ = win::MemoryDc(CreateCompatibleDC(screen.get()));
    bitmap_ = win::Bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    selection_.emplace(dc_.get(), bitmap_.get());
    win::Brush brush(CreateSolidBrush(colour));
    const RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, brush.get());
  }
  HDC dc() const { return dc_.get(); }
  testing::Capture Read() const { return CaptureDc(dc_.get(), width_, height_); }

 private:
  int width_, height_;
  win::MemoryDc dc_;
  win::Bitmap bitmap_;
  std::optional<win::Selection> selection_;
};

// A 2 x 2 bitmap: red green / blue black.
win::Bitmap FourColours() {
  Canvas source(2, 2, kBlack);
  SetPixel(source.dc(), 0, 0, kRed);
  SetPixel(source.dc(), 1, 0, kGreen);
  SetPixel(source.dc(), 0, 1, kBlue);
  win::WindowDc screen(nullptr);
  win::Bitmap copy(CreateCompatibleBitmap(screen.get(), 2, 2));
  win::MemoryDc target(CreateCompatibleDC(screen.get()));
  {
    win::Selection selected(target.get(), copy.get());
    BitBlt(target.get(), 0, 0, 2, 2, source.dc(), 0, 0, SRCCOPY);
  }
  return copy;
}

TEST(DrawBitmap, RefusesMissingHandlesAndEmptyTargets) {
  Canvas canvas(8, 8, kWhite);
  const win::Bitmap bitmap = FourColours();
  struct Case {
    HDC dc;
    HBITMAP bitmap;
    int width, height;
  } cases[] = {
      {nullptr, bitmap.get(), 4, 4},
      {canvas.dc(), nullptr, 4, 4},
      {canvas.dc(), bitmap.get(), 0, 4},
      {canvas.dc(), bitmap.get(), 4, 0},
      {canvas.dc(), bitmap.get(), -4, 4},
      {canvas.dc(), bitmap.get(), 4, -1},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(DrawBitmap(c.dc, c.bitmap, 0, 0, c.width, c.height, 0, 0, 2, 2));
  }
  const testing::Capture after = canvas.Read();
  for (RgbColor pixel : after.pixels) ASSERT_EQ(pixel, kWhite);

  // A bitmap that another DC holds cannot be drawn from.
  win::WindowDc screen(nullptr);
  win::MemoryDc holder(CreateCompatibleDC(screen.get()));
  win::Selection held(holder.get(), bitmap.get());
  EXPECT_FALSE(DrawBitmap(canvas.dc(), bitmap.get(), 0, 0, 2, 2, 0, 0));
}

TEST(DrawBitmap, StretchesTheSourceRectangle) {
  Canvas canvas(8, 8, kWhite);
  const win::Bitmap bitmap = FourColours();
  // Whole source doubled onto (2, 2).
  ASSERT_TRUE(DrawBitmap(canvas.dc(), bitmap.get(), 2, 2, 4, 4, 0, 0, 2, 2));
  // Source size omitted: the target's size, here one pixel from (1, 0).
  ASSERT_TRUE(DrawBitmap(canvas.dc(), bitmap.get(), 7, 7, 1, 1, 1, 0));
  const testing::Capture image = canvas.Read();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      RgbColor expected = kWhite;
      if (x >= 2 && x < 6 && y >= 2 && y < 6) {
        const RgbColor quadrant[2][2] = {{kRed, kGreen}, {kBlue, kBlack}};
        expected = quadrant[(y - 2) / 2][(x - 2) / 2];
      }
      if (x == 7 && y == 7) expected = kGreen;
      EXPECT_EQ(image.At(x, y), expected) << x << ", " << y;
    }
  }
}

// Every pixel of the canvas against the reference: lit cells in the light
// colour, the rest as the canvas was.
void ExpectSpeckle(const testing::Capture& image, PixelBox background, PixelBox code,
                   int imageWidth, int imageHeight, std::span<const std::uint8_t> noise) {
  const std::vector<bool> lit = ReferenceSpeckle(image.width, image.height, background, code,
                                                 imageWidth, imageHeight, noise);
  int wrong = 0;
  int litCount = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const bool on = lit[static_cast<std::size_t>(y) * image.width + x];
      litCount += on;
      wrong += image.At(x, y) != (on ? kWhite : kBlack);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(litCount, 0);
}

TEST(PaintSpeckle, LightsCellsOfTheNoiseBitsAroundTheCode) {
  const std::vector<std::uint8_t> noise = {0xA5, 0x3C, 0xFF, 0x00, 0x96, 0x5A, 0xC3, 0x81, 0x7E};
  struct Case {
    const char* name;
    PixelBox background;
    PixelBox code;
    int imageWidth, imageHeight;
  } cases[] = {
      // Pitch 3 x 3, the grid starting left of and above the background.
      {"aligned", {5, 4, 50, 30}, {20, 10, 12, 12}, 4, 4},
      // Pitch 3 x 2 with a code that is no whole number of cells: the cells
      // it only partly covers stay dark too.
      {"partial cells", {0, 0, 60, 40}, {21, 11, 13, 9}, 4, 4},
      // Code larger than the background, and a code of no size (pitch 1).
      {"code over the edge", {10, 10, 30, 20}, {30, 5, 40, 40}, 10, 10},
      {"no code", {2, 3, 20, 10}, {12, 8, 0, 0}, 23, 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(60, 40, kBlack);
    PaintSpeckle(canvas.dc(), noise, c.background, c.code, c.imageWidth, c.imageHeight, kWhite);
    ExpectSpeckle(canvas.Read(), c.background, c.code, c.imageWidth, c.imageHeight, noise);
  }
}

TEST(PaintSpeckle, StaysInsideTheDcAndTheBackground) {
  const std::vector<std::uint8_t> noise(64, 0xFF);
  // A background far larger than the DC at a pitch of one pixel: only the
  // DC's own pixels are walked, and all of them lit but the code.
  Canvas canvas(40, 30, kBlack);
  PaintSpeckle(canvas.dc(), noise, {-(1 << 30), -(1 << 30), INT_MAX, INT_MAX}, {10, 10, 5, 5}, 23,
               23, kWhite);
  const testing::Capture image = canvas.Read();
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inCode = x >= 10 && x < 15 && y >= 10 && y < 15;
      ASSERT_EQ(image.At(x, y), inCode ? kBlack : kWhite) << x << ", " << y;
    }

  // Without noise, code size or DC nothing happens.
  Canvas quiet(10, 10, kBlack);
  PaintSpeckle(quiet.dc(), {}, {0, 0, 10, 10}, {2, 2, 3, 3}, 3, 3, kWhite);
  PaintSpeckle(quiet.dc(), noise, {0, 0, 10, 10}, {2, 2, 3, 3}, 0, 3, kWhite);
  PaintSpeckle(nullptr, noise, {0, 0, 10, 10}, {2, 2, 3, 3}, 3, 3, kWhite);
  for (RgbColor pixel : quiet.Read().pixels) ASSERT_EQ(pixel, kBlack);
}

}  // namespace
}  // namespace varnelo::qr
