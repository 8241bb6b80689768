// Regions: combining, testing points, scans and region data.
#include "draw/region.h"

#include <gtest/gtest.h>

#include "draw/bitmap.h"
#include "draw/graphics.h"
#include "tests/draw/draw_fixture.h"

namespace varnelo::draw {
namespace {

constexpr int kCombineUnion = 2;

TEST(Regions, CombineWithTheModeOmittedIntersects) {
  struct Case {
    std::optional<int> mode;
    bool inFirstOnly, inBoth, inSecondOnly;
  };
  const Case cases[] = {{std::nullopt, false, true, false},
                        {kCombineModeIntersect, false, true, false},
                        {kCombineUnion, true, true, true}};
  for (const Case& c : cases) {
    Region region;
    ASSERT_TRUE(region.CreateFromRectI({0, 0, 10, 10}));
    ASSERT_TRUE(region.CombineRect({5, 5, 10, 10}, c.mode));
    EXPECT_EQ(region.IsVisiblePointI({2, 2}), c.inFirstOnly);
    EXPECT_EQ(region.IsVisiblePoint({7, 7}), c.inBoth);
    EXPECT_EQ(region.IsVisiblePointI({12, 12}), c.inSecondOnly);
  }
}

TEST(Regions, InfiniteEmptyAndEqual) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  Graphics graphics;
  ASSERT_TRUE(graphics.FromImage(bitmap));
  Region region;
  ASSERT_TRUE(region.Create());
  EXPECT_TRUE(region.IsInfinite(graphics));
  ASSERT_TRUE(region.MakeEmpty());
  EXPECT_TRUE(region.IsEmpty(graphics));
  Region other;
  ASSERT_TRUE(other.CreateFromRect({0, 0, 0, 0}));
  EXPECT_TRUE(region.IsEqual(other, graphics));
  // A test the library cannot answer reads false.
  const Region none;
  EXPECT_FALSE(none.IsEmpty(graphics));
  EXPECT_NE(LastStatus(), kStatusOk);
}

TEST(Regions, ScansCoverTheRegion) {
  Region region;
  ASSERT_TRUE(region.CreateFromRectI({0, 0, 10, 10}));
  ASSERT_TRUE(region.CombineRectI({20, 0, 5, 10}, kCombineUnion));
  const testing::TestMatrix identity;
  EXPECT_EQ(region.GetScansCount(identity), 2);
  std::vector<RectI> scans = {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}};
  const int count = region.GetScansI(identity, scans);
  ASSERT_EQ(count, 2);
  ASSERT_EQ(scans.size(), 2u);
  EXPECT_EQ(scans[0].x, 0);
  EXPECT_EQ(scans[0].width, 10);
  EXPECT_EQ(scans[1].x, 20);
  std::vector<RectF> floats;
  EXPECT_EQ(region.GetScans(identity, floats), 2);
  EXPECT_FLOAT_EQ(floats[1].width, 5);
}

TEST(Regions, DataRoundTripsAndOversizedDataIsRefused) {
  Region region;
  ASSERT_TRUE(region.CreateFromRectI({3, 4, 5, 6}));
  const int size = region.GetDataSize();
  ASSERT_GT(size, 0);
  unsigned filled = 0;
  const ByteBuffer data = region.GetData(size, &filled);
  EXPECT_EQ(filled, static_cast<unsigned>(size));

  Region copy;
  ASSERT_TRUE(copy.CreateFromData(data, size));
  EXPECT_TRUE(copy.IsVisiblePointI({4, 5}));
  EXPECT_FALSE(copy.IsVisiblePointI({1, 1}));

  Region refused;
  EXPECT_FALSE(refused.CreateFromData(data, size + 16));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  EXPECT_EQ(refused.GetNativeHandle(), nullptr);
}

TEST(Regions, TranslateAndClone) {
  Region region;
  ASSERT_TRUE(region.CreateFromRectI({0, 0, 4, 4}));
  Region clone;
  ASSERT_TRUE(region.CloneTo(clone));
  ASSERT_TRUE(region.TranslateI(10, 0));
  EXPECT_TRUE(region.IsVisiblePointI({11, 1}));
  EXPECT_TRUE(clone.IsVisiblePointI({1, 1}));
  EXPECT_FALSE(clone.IsVisiblePointI({11, 1}));
}

}  // namespace
}  // namespace varnelo::draw
