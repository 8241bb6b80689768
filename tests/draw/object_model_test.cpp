// What every drawing object shares: the handle, the release operations and
// the module-wide last status.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "draw/bitmap.h"
#include "draw/brush.h"
#include "draw/font.h"
#include "draw/font_family.h"
#include "draw/graphics.h"
#include "draw/region.h"
#include "draw/string_format.h"
#include "draw/text_convert.h"
#include "tests/draw/draw_fixture.h"

namespace varnelo::draw {
namespace {

static_assert(!std::is_copy_constructible_v<Image> && !std::is_copy_assignable_v<Bitmap>,
              "a copy would share the native object");

constexpr int kSentinel = 77;

// One class's create and release operations.
struct Lifecycle {
  const char* name;
  std::function<std::unique_ptr<DrawObject>()> make;
  std::function<bool(DrawObject&)> create;
  std::function<bool(DrawObject&)> release;
};

template <typename T>
T& As(DrawObject& object) {
  return static_cast<T&>(object);
}

std::vector<Lifecycle> Lifecycles() {
  return {
      {"Image", [] { return std::make_unique<Image>(); },
       [](DrawObject& o) {
         Bitmap source;
         return source.CreateWithSize(4, 4) && As<Image>(o).LoadFromBytes(source.SaveToBytes(kImageFormatPng));
       },
       [](DrawObject& o) { return As<Image>(o).Dispose(); }},
      {"Bitmap", [] { return std::make_unique<Bitmap>(); },
       [](DrawObject& o) { return As<Bitmap>(o).CreateWithSize(4, 4); },
       [](DrawObject& o) { return As<Bitmap>(o).Dispose(); }},
      {"Graphics", [] { return std::make_unique<Graphics>(); },
       [](DrawObject& o) {
         static Bitmap target;
         return (target.GetNativeHandle() || target.CreateWithSize(4, 4)) && As<Graphics>(o).FromImage(target);
       },
       [](DrawObject& o) { return As<Graphics>(o).Delete(); }},
      {"Font", [] { return std::make_unique<Font>(); },
       [](DrawObject& o) { return As<Font>(o).CreateFromName(testing::kSongTi, 12); },
       [](DrawObject& o) { return As<Font>(o).Delete(); }},
      {"Brush", [] { return std::make_unique<Brush>(); },
       [](DrawObject& o) { return As<Brush>(o).CreateSolid(0xFF123456); },
       [](DrawObject& o) { return As<Brush>(o).Delete(); }},
      {"StringFormat", [] { return std::make_unique<StringFormat>(); },
       [](DrawObject& o) { return As<StringFormat>(o).Create(); },
       [](DrawObject& o) { return As<StringFormat>(o).Delete(); }},
      {"FontFamily", [] { return std::make_unique<FontFamily>(); },
       [](DrawObject& o) { return As<FontFamily>(o).CreateFromName(testing::kSongTi); },
       [](DrawObject& o) { return As<FontFamily>(o).Delete(); }},
      {"Region", [] { return std::make_unique<Region>(); }, [](DrawObject& o) { return As<Region>(o).Create(); },
       [](DrawObject& o) { return As<Region>(o).Delete(); }},
  };
}

TEST(ObjectModel, ReleaseOnAFreshObjectIsFalseAndLeavesTheLastStatus) {
  for (const Lifecycle& c : Lifecycles()) {
    auto object = c.make();
    SetLastStatus(kSentinel);
    EXPECT_FALSE(c.release(*object)) << c.name;
    EXPECT_EQ(LastStatus(), kSentinel) << c.name;
    object->Release();
    EXPECT_EQ(LastStatus(), kSentinel) << c.name;
  }
}

TEST(ObjectModel, ReleaseAfterCreateGivesTheObjectBackOnce) {
  for (const Lifecycle& c : Lifecycles()) {
    auto object = c.make();
    ASSERT_TRUE(c.create(*object)) << c.name;
    EXPECT_NE(object->GetNativeHandle(), nullptr) << c.name;
    EXPECT_TRUE(c.release(*object)) << c.name;
    EXPECT_EQ(object->GetNativeHandle(), nullptr) << c.name;
    SetLastStatus(kSentinel);
    EXPECT_FALSE(c.release(*object)) << c.name;
    EXPECT_EQ(LastStatus(), kSentinel) << c.name;
  }
}

TEST(ObjectModel, EveryCallOverwritesTheSharedLastStatus) {
  Bitmap bitmap;
  EXPECT_EQ(bitmap.GetWidth(), 0);  // no image: the library refuses
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  Brush brush;
  ASSERT_TRUE(brush.CreateSolid(0xFF00FF00));
  EXPECT_EQ(LastStatus(), kStatusOk);
  EXPECT_EQ(brush.GetColor(), 0xFF00FF00u);
}

TEST(ObjectModel, SetNativeHandleKeepsEveryLevelsCopyEqual) {
  Bitmap owner;
  ASSERT_TRUE(owner.CreateWithSize(3, 2));
  Bitmap view;
  view.SetNativeHandle(owner.GetNativeHandle());
  // Image level (width) and bitmap level (pixels) both see the handle.
  EXPECT_EQ(view.GetWidth(), 3);
  EXPECT_TRUE(view.SetPixel(1, 1, 0xFF0000FF));
  EXPECT_EQ(owner.GetPixel(1, 1), 0xFF0000FFu);
  view.SetNativeHandle(nullptr);  // give the borrowed handle back before view dies
}

TEST(ObjectModel, CreatingAgainReplacesTheHeldObject) {
  Brush brush;
  ASSERT_TRUE(brush.CreateSolid(0xFF000001));
  ASSERT_TRUE(brush.CreateSolid(0xFF000002));
  EXPECT_EQ(brush.GetColor(), 0xFF000002u);
  // A failed create keeps what the object held.
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(5, 5));
  EXPECT_FALSE(bitmap.CreateWithSize(-1, 5));
  EXPECT_EQ(bitmap.GetWidth(), 5);
}

TEST(ObjectModel, TextsAreAnsiAndGuidsRegistryForm) {
  // In the target locale the ANSI code page is GBK.
  EXPECT_EQ(WideFromAnsi(testing::kSongTi), L"\u5B8B\u4F53");
  EXPECT_EQ(WideFromAnsi(""), L"");
  EXPECT_EQ(WideFromBytes({'a', 0, 'b', 0, 0, 0, 'c', 0}), L"ab");
  EXPECT_EQ(WideFromBytes({'a', 0, 'b'}), L"a");  // an odd last byte is no unit

  const GUID png = GuidFromText(kImageFormatPng);
  EXPECT_EQ(png.Data1, 0xB96B3CAFu);
  EXPECT_EQ(TextFromGuid(png), kImageFormatPng);
  for (const GuidText& bad : {GuidText{}, GuidText{"not a guid"}, GuidText{"{B96B3CAF-0728}"}}) {
    const GUID zero = GuidFromText(bad);
    EXPECT_EQ(zero, GUID{}) << bad;
  }
}

TEST(ObjectModel, AllocAndFreeUseTheLibraryAllocator) {
  void* memory = DrawObject::Alloc(60);
  ASSERT_NE(memory, nullptr);
  std::memset(memory, 0xAB, 60);
  DrawObject::Free(memory);
}

}  // namespace
}  // namespace varnelo::draw
