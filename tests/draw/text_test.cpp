// Fonts, brushes, string formats, font families and collections.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "draw/bitmap.h"
#include "draw/brush.h"
#include "draw/font.h"
#include "draw/font_collection.h"
#include "draw/font_family.h"
#include "draw/graphics.h"
#include "draw/native.h"
#include "draw/string_format.h"
#include "tests/draw/draw_fixture.h"

namespace varnelo::draw {
namespace {

TEST(StringFormats, CreateWithArgumentsOmittedHasNoFlags) {
  StringFormat format;
  ASSERT_TRUE(format.Create());
  EXPECT_EQ(format.GetFormatFlags(), 0);
  ASSERT_TRUE(format.SetFormatFlags(0x1000));
  EXPECT_EQ(format.GetFormatFlags(), 0x1000);
  ASSERT_TRUE(format.SetAlignment(1));
  EXPECT_EQ(format.GetAlignment(), 1);
  ASSERT_TRUE(format.SetLineAlignment(2));
  EXPECT_EQ(format.GetLineAlignment(), 2);

  StringFormat copy;
  ASSERT_TRUE(format.CloneTo(copy));
  EXPECT_NE(copy.GetNativeHandle(), format.GetNativeHandle());
  EXPECT_EQ(copy.GetAlignment(), 1);
}

TEST(StringFormats, TabStopsComeBackWithTheirOffset) {
  StringFormat format;
  ASSERT_TRUE(format.Create());
  ASSERT_TRUE(format.SetTabStops(4, {10, 20, 30}));
  float offset = -1;
  std::vector<float> stops = {99};
  EXPECT_EQ(format.GetTabStops(offset, stops), 3);
  EXPECT_EQ(stops, (std::vector<float>{10, 20, 30}));
  EXPECT_FLOAT_EQ(offset, 4);

  const StringFormat none;
  EXPECT_EQ(none.GetTabStops(offset, stops), 0);
  EXPECT_NE(LastStatus(), kStatusOk);
}

TEST(StringFormats, DigitSubstitutionRoundTrips) {
  StringFormat format;
  ASSERT_TRUE(format.Create());
  ASSERT_TRUE(format.SetDigitSubstitution(3, 0x0804));
  DigitSubstitution read;
  ASSERT_TRUE(format.GetDigitSubstitution(read));
  EXPECT_EQ(read.method, 3);
  EXPECT_EQ(read.language, 0x0804);
}

TEST(Fonts, CaptionFontReportsItsSettings) {
  Font font;
  ASSERT_TRUE(font.CreateFromName(testing::kSongTi, 12, 1, 2));
  EXPECT_FLOAT_EQ(font.GetSize(), 12);
  EXPECT_EQ(font.GetStyle(), 1);
  EXPECT_EQ(font.GetUnit(), 2);
  EXPECT_GT(font.GetHeightGivenDPI(96), 12);

  FontFamily family;
  ASSERT_TRUE(font.GetFamily(family));
  EXPECT_FALSE(family.GetName().empty());
  EXPECT_TRUE(family.Delete());

  Font clone;
  ASSERT_TRUE(font.CloneTo(clone));
  EXPECT_FLOAT_EQ(clone.GetSize(), 12);
}

TEST(Fonts, CreateFromGdiFonts) {
  Font byDefault;
  EXPECT_TRUE(byDefault.CreateDefault());
  EXPECT_GT(byDefault.GetSize(), 0);

  const win::MemoryDc dc(CreateCompatibleDC(nullptr));
  LOGFONTA logFont{};
  logFont.lfHeight = -20;
  std::memcpy(logFont.lfFaceName, testing::kSongTi.c_str(), testing::kSongTi.size());
  const win::Font gdiFont(CreateFontIndirectA(&logFont));
  Font fromHandle;
  ASSERT_TRUE(fromHandle.CreateFromHDCFont(dc.get(), gdiFont.get()));
  Font fromRecord;
  ASSERT_TRUE(fromRecord.CreateFromLogFontA(dc.get(), &logFont));
  EXPECT_FLOAT_EQ(fromHandle.GetSize(), fromRecord.GetSize());
  // Without a usable font handle the DC's own font serves.
  Font fromDc;
  EXPECT_TRUE(fromDc.CreateFromHDCFont(dc.get(), nullptr));
}

TEST(Brushes, SolidFillColourTypeAndClone) {
  Brush brush;
  ASSERT_TRUE(brush.CreateSolid(0xF4FF0000));
  EXPECT_EQ(brush.GetType(), 0);  // solid colour
  EXPECT_EQ(brush.GetColor(), 0xF4FF0000u);
  ASSERT_TRUE(brush.SetColor(0xFF00FF00));
  Brush clone;
  ASSERT_TRUE(brush.CloneTo(clone));
  ASSERT_TRUE(brush.SetColor(0xFF0000FF));
  EXPECT_EQ(clone.GetColor(), 0xFF00FF00u);
}

TEST(FontFamilies, NamesAndMetrics) {
  FontFamily family;
  ASSERT_TRUE(family.CreateFromName(testing::kSongTi));
  const ByteBuffer wide = family.GetNameW();
  EXPECT_EQ(wide.size(), 64u);
  EXPECT_NE(wide[0], 0);
  EXPECT_TRUE(family.IsStyleAvailable(0));
  EXPECT_GT(family.GetEmHeight(0), 0);
  EXPECT_GT(family.GetLineSpacing(0), 0);
  EXPECT_GT(family.GetCellAscent(0), 0);
  EXPECT_TRUE(family.Delete());

  FontFamily missing;
  EXPECT_FALSE(missing.CreateFromName("No Such Family 7f3a"));
  EXPECT_EQ(missing.GetNativeHandle(), nullptr);
}

TEST(FontFamilies, NameRoundTripsAsAnsiText) {
  FontFamily family;
  ASSERT_TRUE(family.CreateFromName(testing::kSongTi));
  const TextBytes name = family.GetName();
  ASSERT_FALSE(name.empty());
  FontFamily again;
  ASSERT_TRUE(again.CreateFromName(name));
  EXPECT_EQ(again.GetName(), name);
  family.Delete();
  again.Delete();
}

TEST(FontFamilies, ReleaseLeavesTheFamilyAliveUntilDelete) {
  FontFamily owner;
  ASSERT_TRUE(owner.CreateFromName(testing::kSongTi));
  {
    FontFamily view;
    view.SetNativeHandle(owner.GetNativeHandle());
    view.Release();  // does nothing
  }
  EXPECT_FALSE(owner.GetName().empty());
  EXPECT_TRUE(owner.Delete());
  EXPECT_EQ(owner.GetNativeHandle(), nullptr);
}

class InstalledFonts : public ::testing::Test {
 protected:
  void SetUp() override {
    native::FontCollection* installed = nullptr;
    ASSERT_EQ(native::flat::GdipNewInstalledFontCollection(&installed), native::Ok);
    collection.SetNativeHandle(installed);
  }
  FontCollection collection;
};

TEST_F(InstalledFonts, GetFamiliesWantsAtLeastOne) {
  std::vector<std::unique_ptr<FontFamily>> families;
  families.push_back(std::make_unique<FontFamily>());
  SetLastStatus(kStatusOk);
  EXPECT_EQ(collection.GetFamilies(0, families), 0);
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
}

TEST_F(InstalledFonts, FamiliesAreOwnedCopies) {
  const int count = collection.GetFamilyCount();
  ASSERT_GT(count, 0);
  std::vector<std::unique_ptr<FontFamily>> families;
  ASSERT_EQ(collection.GetFamilies(count + 5, families), count);
  ASSERT_EQ(families.size(), static_cast<std::size_t>(count));
  for (auto& family : families) {
    EXPECT_FALSE(family->GetName().empty());
    EXPECT_TRUE(family->Delete());
  }
  // A wanted count far beyond the collection costs nothing extra.
  std::vector<std::unique_ptr<FontFamily>> all;
  ASSERT_EQ(collection.GetFamilies(std::numeric_limits<int>::max(), all), count);
  for (auto& family : all) family->Delete();
  // Deleting the copies left the collection's own families intact.
  std::vector<std::unique_ptr<FontFamily>> again;
  ASSERT_EQ(collection.GetFamilies(1, again), 1);
  EXPECT_FALSE(again[0]->GetName().empty());
  again[0]->Delete();
}

}  // namespace
}  // namespace varnelo::draw
