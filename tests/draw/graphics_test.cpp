// Graphics operations: transforms about a centre, three-point image
// drawing, outlines, clipping, text measuring and the status convention.
#include "draw/graphics.h"

#include <gtest/gtest.h>

#include <functional>

#include "draw/bitmap.h"
#include "draw/brush.h"
#include "draw/font.h"
#include "draw/native.h"
#include "draw/region.h"
#include "draw/string_format.h"
#include "tests/draw/draw_fixture.h"
#include "win/handles.h"

namespace varnelo::draw {
namespace {

constexpr int kWorld = 0;
constexpr int kDevice = 2;
constexpr int kOrderAppend = 1;
constexpr ArgbColor kWhite = 0xFFFFFFFF;

class GraphicsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(canvas.CreateWithSize(120, 80));
    ASSERT_TRUE(graphics.FromImage(canvas));
    ASSERT_TRUE(graphics.Clear(kWhite));
  }

  PointF Map(PointF p) {
    std::vector<PointF> points = {p};
    EXPECT_TRUE(graphics.TransformPoints(kDevice, kWorld, points));
    return points[0];
  }

  Bitmap canvas;
  Graphics graphics;
};

TEST_F(GraphicsTest, TransformsAboutACentre) {
  struct Case {
    const char* name;
    std::function<bool(Graphics&)> apply;
    PointF from, to;
  };
  const Case cases[] = {
      {"rotate 90 about (10,10), prepend",
       [](Graphics& g) {
         return g.RotateTransformAt(90, {10, 10});
       },
       {20, 10},
       {10, 20}},
      {"rotate 90 about (10,10), append",
       [](Graphics& g) {
         return g.RotateTransformAt(90, {10, 10}, kOrderAppend);
       },
       {20, 10},
       {10, 20}},
      {"scale 2 about (5,5) keeps the centre",
       [](Graphics& g) {
         return g.ScaleTransformAt(2, 2, {5, 5});
       },
       {5, 5},
       {5, 5}},
      {"scale 2 about (5,5)",
       [](Graphics& g) {
         return g.ScaleTransformAt(2, 2, {5, 5});
       },
       {6, 5},
       {7, 5}},
      {"scale 2 about (5,5), append",
       [](Graphics& g) {
         return g.ScaleTransformAt(2, 2, {5, 5}, kOrderAppend);
       },
       {6, 5},
       {7, 5}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(graphics.ResetTransform());
    ASSERT_TRUE(c.apply(graphics)) << c.name;
    const PointF mapped = Map(c.from);
    EXPECT_NEAR(mapped.x, c.to.x, 1e-3) << c.name;
    EXPECT_NEAR(mapped.y, c.to.y, 1e-3) << c.name;
  }
}

TEST_F(GraphicsTest, PrependAndAppendPlaceTheTurnOnEitherSideOfATranslation) {
  // World transform: shift by (100, 0). Prepending the turn applies it first
  // (about the point in world space); appending applies it to the shifted
  // point.
  ASSERT_TRUE(graphics.TranslateTransform(100, 0));
  ASSERT_TRUE(graphics.RotateTransformAt(90, {0, 0}));
  PointF p = Map({10, 0});
  EXPECT_NEAR(p.x, 100, 1e-3);
  EXPECT_NEAR(p.y, 10, 1e-3);

  ASSERT_TRUE(graphics.ResetTransform());
  ASSERT_TRUE(graphics.TranslateTransform(100, 0));
  ASSERT_TRUE(graphics.RotateTransformAt(90, {0, 0}, kOrderAppend));
  p = Map({10, 0});
  EXPECT_NEAR(p.x, 0, 1e-3);
  EXPECT_NEAR(p.y, 110, 1e-3);
}

TEST_F(GraphicsTest, ThreePointDrawingFillsTheParallelogram) {
  const ArgbColor quadrants[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  Bitmap picture;
  testing::MakeQuadrants(picture, 20, 10, quadrants);
  ASSERT_TRUE(graphics.DrawImagePoints(picture, {0, 0}, {100, 0}, {0, 50}));
  EXPECT_EQ(canvas.GetPixel(25, 12), quadrants[0]);
  EXPECT_EQ(canvas.GetPixel(75, 12), quadrants[1]);
  EXPECT_EQ(canvas.GetPixel(25, 37), quadrants[2]);
  EXPECT_EQ(canvas.GetPixel(75, 37), quadrants[3]);
  EXPECT_EQ(canvas.GetPixel(110, 25), kWhite);
  EXPECT_EQ(canvas.GetPixel(50, 60), kWhite);

  // Swapping the right and bottom corners mirrors the picture on the diagonal.
  ASSERT_TRUE(graphics.Clear(kWhite));
  ASSERT_TRUE(graphics.DrawImagePointsI(picture, {0, 0}, {0, 60}, {30, 0}));
  EXPECT_EQ(canvas.GetPixel(7, 45), quadrants[1]);
  EXPECT_EQ(canvas.GetPixel(22, 15), quadrants[2]);
}

TEST_F(GraphicsTest, OutlinesAndFillsReachThePixels) {
  const testing::TestPen pen(0xFF000000, 3);
  ASSERT_TRUE(graphics.DrawLineI(pen, 0, 40, 119, 40));
  EXPECT_EQ(canvas.GetPixel(60, 40), 0xFF000000u);
  Brush blue;
  ASSERT_TRUE(blue.CreateSolid(0xFF0000FF));
  ASSERT_TRUE(graphics.FillRectangles(blue, {{0, 0, 10, 10}, {100, 60, 10, 10}}));
  EXPECT_EQ(canvas.GetPixel(5, 5), 0xFF0000FFu);
  EXPECT_EQ(canvas.GetPixel(105, 65), 0xFF0000FFu);
  EXPECT_EQ(canvas.GetPixel(50, 65), kWhite);
}

TEST_F(GraphicsTest, EmptyPointArraysGoToTheLibraryWithCountZero) {
  const testing::TestPen pen(0xFF000000);
  SetLastStatus(kStatusOk);
  EXPECT_FALSE(graphics.DrawLines(pen, {}));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);  // the library's answer to count 0
}

TEST_F(GraphicsTest, FlushStoresNoStatus) {
  SetLastStatus(55);
  graphics.Flush();
  EXPECT_EQ(LastStatus(), 55);
  const Graphics none;
  const_cast<Graphics&>(none).Flush(1);
  EXPECT_EQ(LastStatus(), 55);
}

TEST_F(GraphicsTest, ClipLimitsDrawingAndVisibility) {
  ASSERT_TRUE(graphics.SetClipRectI(10, 10, 20, 20));
  EXPECT_TRUE(graphics.IsVisiblePoint(15, 15));
  EXPECT_FALSE(graphics.IsVisiblePointI(50, 50));
  const RectI bounds = graphics.GetClipBoundsI();
  EXPECT_EQ(bounds.x, 10);
  EXPECT_EQ(bounds.width, 20);

  Region clip;  // no region yet: GetClip gives it one
  ASSERT_TRUE(graphics.GetClip(clip));
  EXPECT_TRUE(clip.IsVisiblePointI({12, 12}));
  EXPECT_FALSE(clip.IsVisiblePointI({40, 12}));

  Brush red;
  ASSERT_TRUE(red.CreateSolid(0xFFFF0000));
  ASSERT_TRUE(graphics.FillRectangle(red, 0, 0, 120, 80));
  EXPECT_EQ(canvas.GetPixel(20, 20), 0xFFFF0000u);
  EXPECT_EQ(canvas.GetPixel(60, 60), kWhite);

  const unsigned state = graphics.Save();
  ASSERT_TRUE(graphics.ResetClip());
  EXPECT_TRUE(graphics.IsVisiblePointI(60, 60));
  ASSERT_TRUE(graphics.Restore(state));
  EXPECT_FALSE(graphics.IsVisiblePointI(60, 60));
}

TEST_F(GraphicsTest, MeasureCharacterRangesNeedsAtLeastOneRegion) {
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 12));
  StringFormat format;
  ASSERT_TRUE(format.Create());
  std::vector<std::unique_ptr<Region>> regions;
  regions.push_back(std::make_unique<Region>());
  const Region* before = regions[0].get();

  SetLastStatus(kStatusOk);
  EXPECT_FALSE(graphics.MeasureCharacterRanges("abc", font, {0, 0, 100, 40}, format, 0, regions));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  ASSERT_EQ(regions.size(), 1u);
  EXPECT_EQ(regions[0].get(), before);

  ASSERT_TRUE(format.SetMeasurableCharacterRanges({{0, 1}, {2, 1}}));
  EXPECT_EQ(format.GetMeasurableCharacterRangeCount(), 2);
  ASSERT_TRUE(graphics.MeasureCharacterRanges("abc", font, {0, 0, 100, 40}, format, 2, regions));
  ASSERT_EQ(regions.size(), 2u);
  const RectF first = regions[0]->GetBounds(graphics);
  const RectF third = regions[1]->GetBounds(graphics);
  EXPECT_GT(first.width, 0);
  EXPECT_GT(third.x, first.x);
}

TEST_F(GraphicsTest, AnsiAndUtf16TextDrawTheSamePixels) {
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 14));
  Brush black;
  ASSERT_TRUE(black.CreateSolid(0xFF000000));
  const StringFormat defaultLayout;
  // "宋体 ok" as GBK and as UTF-16LE.
  const TextBytes ansi = testing::kSongTi + " ok";
  const ByteBuffer utf16 = {0x8B, 0x5B, 0x53, 0x4F, ' ', 0, 'o', 0, 'k', 0};
  ASSERT_TRUE(graphics.DrawString(ansi, font, black, {0, 0, 120, 40}, defaultLayout));
  ASSERT_TRUE(graphics.DrawStringW(utf16, font, black, {0, 40, 120, 40}, defaultLayout));
  int inked = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      ASSERT_EQ(canvas.GetPixel(x, y), canvas.GetPixel(x, y + 40)) << x << "," << y;
      if (canvas.GetPixel(x, y) != kWhite) ++inked;
    }
  }
  EXPECT_GT(inked, 50);
}

TEST_F(GraphicsTest, MeasureStringGrowsWithTheText) {
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 12));
  const StringFormat defaultLayout;
  RectF shortText, longText;
  ASSERT_TRUE(graphics.MeasureString("ab", font, {0, 0, 1000, 100}, defaultLayout, shortText));
  ASSERT_TRUE(graphics.MeasureString("abababab", font, {0, 0, 1000, 100}, defaultLayout, longText));
  EXPECT_GT(longText.width, shortText.width * 2);
}

TEST_F(GraphicsTest, DriverStringNeedsAPositionPerCharacter) {
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 12));
  Brush black;
  ASSERT_TRUE(black.CreateSolid(0xFF000000));
  SetLastStatus(kStatusOk);
  EXPECT_FALSE(graphics.DrawDriverString("abc", font, black, {{0, 20}}, std::nullopt, nullptr));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  // One position serves every character with realized advance (flag 4);
  // with three positions the call goes to the library, whose status comes
  // back unchanged.
  graphics.DrawDriverString("abc", font, black, {{0, 20}}, 1 | 4, nullptr);
  EXPECT_NE(LastStatus(), kStatusInvalidParameter);
  graphics.DrawDriverString("abc", font, black, {{0, 20}, {10, 20}, {20, 20}}, std::nullopt, nullptr);
  EXPECT_NE(LastStatus(), kStatusInvalidParameter);
}

TEST_F(GraphicsTest, MetafilePlaybackHandsEveryRecordToTheCallback) {
  native::Metafile* recorded = nullptr;
  {
    const win::WindowDc screen(nullptr);
    ASSERT_EQ(native::flat::GdipRecordMetafile(screen.get(), native::EmfTypeEmfPlusOnly, nullptr,
                                               native::MetafileFrameUnitPixel, nullptr, &recorded),
              native::Ok);
  }
  Image metafile;  // owns the recording
  metafile.SetNativeHandle(recorded);
  {
    Graphics recorder;
    ASSERT_TRUE(recorder.FromImage(metafile));
    Brush red;
    ASSERT_TRUE(red.CreateSolid(0xFFFF0000));
    ASSERT_TRUE(recorder.FillRectangle(red, 0, 0, 10, 10));
    if (!recorder.AddComment({'h', 'i'})) {
      // Wine's library records no comments: its status 6 comes through.
      EXPECT_EQ(LastStatus(), 6);
    }
  }
  const auto count = [](native::EmfPlusRecordType, UINT, UINT, const BYTE*, void* data) -> BOOL {
    ++*static_cast<int*>(data);
    return TRUE;
  };
  int byPoint = 0, byRect = 0;
  ASSERT_TRUE(graphics.EnumerateMetafileDestPoint(metafile, {0, 0}, count, &byPoint));
  ASSERT_TRUE(graphics.EnumerateMetafileDestRect(metafile, {0, 0, 20, 20}, count, &byRect));
  EXPECT_GT(byPoint, 0);
  EXPECT_EQ(byRect, byPoint);
}

TEST_F(GraphicsTest, QualitySettingsReadBackWhatWasSet) {
  struct Setting {
    const char* name;
    bool (Graphics::*set)(int);
    int (Graphics::*get)() const;
    int value;
  };
  const Setting settings[] = {
      {"compositing mode", &Graphics::SetCompositingMode, &Graphics::GetCompositingMode, 1},
      {"compositing quality", &Graphics::SetCompositingQuality, &Graphics::GetCompositingQuality, 2},
      {"text rendering hint", &Graphics::SetTextRenderingHint, &Graphics::GetTextRenderingHint, 4},
      {"interpolation", &Graphics::SetInterpolationMode, &Graphics::GetInterpolationMode, 5},
      {"smoothing", &Graphics::SetSmoothingMode, &Graphics::GetSmoothingMode, 4},
      {"pixel offset", &Graphics::SetPixelOffsetMode, &Graphics::GetPixelOffsetMode, 4},
      {"page unit", &Graphics::SetPageUnit, &Graphics::GetPageUnit, 2},
  };
  for (const Setting& s : settings) {
    ASSERT_TRUE((graphics.*s.set)(s.value)) << s.name;
    EXPECT_EQ((graphics.*s.get)(), s.value) << s.name;
  }
  ASSERT_TRUE(graphics.SetPageScale(2.5f));
  EXPECT_FLOAT_EQ(graphics.GetPageScale(), 2.5f);
}

TEST_F(GraphicsTest, GettersOfAnEmptyGraphicsReturnZeroAndTheStatus) {
  const Graphics none;
  EXPECT_EQ(none.GetSmoothingMode(), 0);
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  EXPECT_EQ(none.GetDpiX(), 0.0f);
  EXPECT_FALSE(none.IsVisiblePoint(1, 1));
  const RectF bounds = none.GetClipBounds();
  EXPECT_EQ(bounds.width, 0.0f);
}

}  // namespace
}  // namespace varnelo::draw
