// The operations that compose the application's share image: a bitmap, its
// graphics, a caption font and brush, images loaded from and saved to bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "draw/bitmap.h"
#include "draw/brush.h"
#include "draw/font.h"
#include "draw/graphics.h"
#include "draw/string_format.h"
#include "tests/draw/draw_fixture.h"

namespace varnelo::draw {
namespace {

using testing::CountPixels;

constexpr ArgbColor kWhite = 0xFFFFFFFF;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

TEST(ShareImage, ClearedBitmapSavesAsWhiteOpaquePng) {
  Bitmap share;
  ASSERT_TRUE(share.CreateWithSize(288, 312));
  EXPECT_EQ(share.GetWidth(), 288);
  EXPECT_EQ(share.GetHeight(), 312);
  EXPECT_EQ(share.GetPixelFormat(), kPixelFormat32bppArgb);
  Graphics graphics;
  ASSERT_TRUE(graphics.FromImage(share));
  ASSERT_TRUE(graphics.SetTextRenderingHint(0));
  ASSERT_TRUE(graphics.Clear(kWhite));

  const ByteBuffer png = share.SaveToBytes(kImageFormatPng);
  ASSERT_GT(png.size(), sizeof kPngSignature);
  EXPECT_EQ(std::memcmp(png.data(), kPngSignature, sizeof kPngSignature), 0);
  EXPECT_EQ(LastStatus(), kStatusOk);

  Bitmap decoded;
  ASSERT_TRUE(decoded.CreateFromBytes(png));
  EXPECT_EQ(decoded.GetRawFormat(), kImageFormatPng);
  ASSERT_EQ(decoded.GetWidth(), 288);
  ASSERT_EQ(decoded.GetHeight(), 312);
  EXPECT_EQ(CountPixels(decoded, {0, 0, 288, 312}, [](ArgbColor c) { return c == kWhite; }), 288 * 312);
}

TEST(ShareImage, SaveToBytesWithoutFormatUsesTheImagesOwnFormat) {
  Bitmap source;
  ASSERT_TRUE(source.CreateWithSize(8, 8));
  Image loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(source.SaveToBytes(kImageFormatPng)));
  const ByteBuffer again = loaded.SaveToBytes();
  ASSERT_GT(again.size(), sizeof kPngSignature);
  EXPECT_EQ(std::memcmp(again.data(), kPngSignature, sizeof kPngSignature), 0);
}

TEST(ShareImage, FormatIdsMatchExactlySoALowerCaseIdFindsNoEncoder) {
  Bitmap share;
  ASSERT_TRUE(share.CreateWithSize(16, 16));
  const ByteBuffer bytes = share.SaveToBytes("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}");
  EXPECT_TRUE(bytes.empty());
  EXPECT_NE(LastStatus(), kStatusOk);
}

TEST(ShareImage, DrawImageRectStretchesTheWholeImage) {
  const ArgbColor quadrants[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  Bitmap small;
  testing::MakeQuadrants(small, 100, 50, quadrants);
  Image picture;
  ASSERT_TRUE(picture.LoadFromBytes(small.SaveToBytes(kImageFormatPng)));

  Bitmap canvas;
  ASSERT_TRUE(canvas.CreateWithSize(300, 150));
  Graphics graphics;
  ASSERT_TRUE(graphics.FromImage(canvas));
  ASSERT_TRUE(graphics.Clear(kWhite));
  ASSERT_TRUE(graphics.DrawImageRect(picture, 0, 0, 200, 100));

  // Each quadrant now covers 100 x 50 pixels; sample well inside each one and
  // just outside the destination.
  struct Sample {
    int x, y;
    ArgbColor colour;
  };
  const Sample samples[] = {{50, 25, quadrants[0]},  {150, 25, quadrants[1]}, {50, 75, quadrants[2]},
                            {150, 75, quadrants[3]}, {190, 95, quadrants[3]}, {205, 50, kWhite},
                            {100, 105, kWhite}};
  for (const Sample& s : samples) {
    EXPECT_EQ(canvas.GetPixel(s.x, s.y), s.colour) << "at " << s.x << "," << s.y;
  }
}

TEST(ShareImage, CaptionInSongTiDrawsRedPixelsInTheTopBand) {
  Bitmap share;
  ASSERT_TRUE(share.CreateWithSize(288, 312));
  Graphics graphics;
  ASSERT_TRUE(graphics.FromImage(share));
  ASSERT_TRUE(graphics.Clear(kWhite));
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 12, 1));
  EXPECT_EQ(font.GetStyle(), 1);
  Brush brush;
  ASSERT_TRUE(brush.CreateSolid(0xF4FF0000));
  const StringFormat defaultLayout;                                      // never created: no format
  const TextBytes caption = "\xC9\xA8\xC2\xEB\xC1\xEC\xBA\xEC\xB0\xFC";  // a GBK caption
  ASSERT_TRUE(graphics.DrawString(caption, font, brush, {6, 6, 288, 24}, defaultLayout));

  const auto reddish = [](ArgbColor c) {
    return testing::Red(c) > 200 && testing::Green(c) < 150 && testing::Blue(c) < 150;
  };
  EXPECT_GT(CountPixels(share, {0, 0, 288, 30}, reddish), 40);
  EXPECT_EQ(CountPixels(share, {0, 40, 288, 272}, [](ArgbColor c) { return c != kWhite; }), 0);
}

TEST(ShareImage, MissingFontFamilyFailsAndLeavesTheFontEmpty) {
  Font font;
  EXPECT_FALSE(font.CreateFromName("No Such Family 7f3a", 12));
  EXPECT_NE(LastStatus(), kStatusOk);
  EXPECT_EQ(font.GetNativeHandle(), nullptr);
}

TEST(ShareImage, BytesThatAreNoImageFailToLoad) {
  const ByteBuffer text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  for (const ByteBuffer& bytes : {text, ByteBuffer{}}) {
    Image image;
    SetLastStatus(kStatusOk);
    EXPECT_FALSE(image.LoadFromBytes(bytes));
    EXPECT_NE(LastStatus(), kStatusOk);
    EXPECT_EQ(image.GetNativeHandle(), nullptr);
    SetLastStatus(42);
    EXPECT_FALSE(image.Dispose());
    EXPECT_EQ(LastStatus(), 42);
  }
}

TEST(ShareImage, FailedLoadKeepsTheImageHeldBefore) {
  Bitmap source;
  ASSERT_TRUE(source.CreateWithSize(20, 10));
  Image image;
  ASSERT_TRUE(image.LoadFromBytes(source.SaveToBytes(kImageFormatPng)));
  const auto* held = image.GetNativeHandle();
  EXPECT_FALSE(image.LoadFromBytes({1, 2, 3}));
  EXPECT_EQ(image.GetNativeHandle(), held);
  // The kept image still reads from its own source bytes.
  EXPECT_EQ(image.GetWidth(), 20);
  EXPECT_FALSE(image.SaveToBytes(kImageFormatBmp).empty());
}

}  // namespace
}  // namespace varnelo::draw
