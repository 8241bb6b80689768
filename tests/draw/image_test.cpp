// Image and Bitmap operations beyond the share image: formats, files,
// palettes, properties, encoder parameters, rotation, and the stream class.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "draw/bitmap.h"
#include "draw/encoders.h"
#include "draw/graphics.h"
#include "draw/text_convert.h"
#include "tests/draw/draw_fixture.h"

namespace varnelo::draw {
namespace {

constexpr int kNotImplemented = 6;
constexpr int kPixelFormat8bppIndexed = 0x30803;
constexpr int kPropertyTagFrameDelay = 0x5100;
const GuidText kImageFormatJpeg = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
const GuidText kEncoderQuality = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";
constexpr std::uint32_t kValueTypeLong = 4;

// The first two bytes of a file (a format's signature), or less.
std::string Signature(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(2, '\0');
  in.read(head.data(), 2);
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head;
}

TEST(ImageFormats, RawFormatOfAPngLoadedImageIsThePngId) {
  Bitmap source;
  ASSERT_TRUE(source.CreateWithSize(10, 10));
  Image image;
  ASSERT_TRUE(image.LoadFromBytes(source.SaveToBytes(kImageFormatPng)));
  EXPECT_EQ(image.GetRawFormat(), "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
  EXPECT_EQ(image.GetBounds().status, kStatusOk);
  EXPECT_FLOAT_EQ(image.GetBounds().rect.width, 10);

  const Image empty;
  EXPECT_EQ(empty.GetRawFormat(), "");
  EXPECT_NE(empty.GetBounds().status, kStatusOk);
}

TEST(ImageFormats, SaveFileWritesBmpUnlessToldOtherwise) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(7, 3));
  const char* path = "draw_savefile_test.img";
  std::remove(path);
  ASSERT_TRUE(bitmap.SaveFile(path));
  EXPECT_EQ(Signature(path), "BM");

  ASSERT_TRUE(bitmap.SaveFile(path, kImageFormatPng));
  EXPECT_EQ(Signature(path), "\x89P");

  // No encoder for the format: the save fails and the file stays as it was
  // (the library itself would truncate it first).
  EXPECT_FALSE(bitmap.SaveFile(path, "{00000000-0000-0000-0000-000000000001}"));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
  EXPECT_EQ(Signature(path), "\x89P");
  std::remove(path);
}

TEST(ImageFormats, EncoderParameterBlockHasThe64BitLayout) {
  // Read the block as raw bytes: count at 0, entries from 8, 32 bytes each
  // (GUID 16, count 4, type 4, value pointer 8).
  const EncoderParameterList list{
      {{kEncoderQuality, 1, kValueTypeLong, {90, 0, 0, 0}}, {"{00000000-0000-0000-0000-000000000002}", 2, 1, {7, 8}}}};
  EncoderParameterBlock block;
  ASSERT_TRUE(block.Build(list));
  const auto* raw = reinterpret_cast<const std::uint8_t*>(block.get());
  std::uint32_t count = 0;
  std::memcpy(&count, raw, 4);
  EXPECT_EQ(count, 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::uint8_t* entry = raw + 8 + 32 * i;
    GUID guid;
    std::memcpy(&guid, entry, 16);
    EXPECT_EQ(TextFromGuid(guid), list.entries[i].guid);
    std::uint32_t values = 0, type = 0;
    const void* pointer = nullptr;
    std::memcpy(&values, entry + 16, 4);
    std::memcpy(&type, entry + 20, 4);
    std::memcpy(&pointer, entry + 24, 8);
    EXPECT_EQ(values, list.entries[i].numberOfValues);
    EXPECT_EQ(type, list.entries[i].type);
    EXPECT_EQ(pointer, list.entries[i].values.data());
  }
}

TEST(ImageFormats, SaveWithEncoderParametersGivesAnImage) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(16, 16));
  const EncoderParameterList quality{{{kEncoderQuality, 1, kValueTypeLong, {50, 0, 0, 0}}}};
  const ByteBuffer jpeg = bitmap.SaveToBytes(kImageFormatJpeg, quality);
  ASSERT_GT(jpeg.size(), 2u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
}

TEST(ImageFormats, EncoderParametersShorterThanTheirCountAreRefused) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  const EncoderParameterList cases[] = {
      {{{kEncoderQuality, 2, kValueTypeLong, ByteBuffer(4)}}},  // two longs in four bytes
      {{{kEncoderQuality, 1, 99, ByteBuffer(64)}}},             // no such value type
  };
  for (const EncoderParameterList& list : cases) {
    SetLastStatus(kStatusOk);
    EXPECT_TRUE(bitmap.SaveToBytes(kImageFormatJpeg, list).empty());
    EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
    EXPECT_FALSE(bitmap.SaveFile("never_written.jpg", kImageFormatJpeg, list));
  }
}

TEST(ImageFormats, EncoderParameterListIsReadOrReportedFaithfully) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  EncoderParameterList list;
  const bool read = bitmap.GetEncoderParameterList(kImageFormatJpeg, list);
  if (read) {
    ASSERT_FALSE(list.entries.empty());
    for (const EncoderParameter& entry : list.entries) {
      EXPECT_EQ(entry.guid.size(), 38u);
      EXPECT_GE(entry.type, 1u);
      EXPECT_LE(entry.type, 8u);
    }
  } else {
    // Wine's library has no JPEG parameter list: status 6 comes through.
    EXPECT_EQ(LastStatus(), kNotImplemented);
    EXPECT_TRUE(list.entries.empty());
  }
}

TEST(ImagePalette, AllEntriesReachTheLibraryAndComeBack) {
  Bitmap indexed;
  ASSERT_TRUE(indexed.CreateWithSize(4, 4, kPixelFormat8bppIndexed));
  Palette palette;
  palette.count = 256;
  for (std::uint32_t i = 0; i < 256; ++i) palette.entries.push_back(0xFF000000u | (i * 0x010101u));
  ASSERT_TRUE(indexed.SetPalette(palette));

  Palette back;
  ASSERT_TRUE(indexed.GetPalette(back));
  EXPECT_EQ(back.count, 256u);
  EXPECT_EQ(back.entries, palette.entries);

  Palette overstated;
  overstated.count = 300;
  overstated.entries.assign(256, 0);
  EXPECT_FALSE(indexed.SetPalette(overstated));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
}

TEST(ImageProperties, AbsentPropertiesLeaveTheCallersArraysAlone) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  std::vector<std::uint32_t> ids = {1, 2, 3};
  EXPECT_EQ(bitmap.GetPropertyIdList(ids), 0);
  EXPECT_TRUE(ids.empty());
  std::vector<std::int32_t> delays = {9, 9};
  EXPECT_FALSE(bitmap.GetFrameDelays(delays));
  EXPECT_EQ(delays, (std::vector<std::int32_t>{9, 9}));
}

// A 1 x 1 animated GIF of two frames shown for 10 and 25 hundredths of a
// second.
// clang-format off
const ByteBuffer kTwoFrameGif = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,   // screen 1 x 1, two colours
    0, 0, 0, 0xFF, 0xFF, 0xFF,                             // colour table
    0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,  // loop
    0x21, 0xF9, 4, 0, 10, 0, 0, 0,                         // delay 10
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,     // frame 1
    0x21, 0xF9, 4, 0, 25, 0, 0, 0,                         // delay 25
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,     // frame 2
    0x3B};
// clang-format on
const GuidText kFrameDimensionTime = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

TEST(ImageProperties, AnimatedGifFramesAndDelays) {
  Image gif;
  ASSERT_TRUE(gif.LoadFromBytes(kTwoFrameGif));
  std::vector<GuidText> dimensions;
  ASSERT_EQ(gif.GetFrameDimensionsList(dimensions), 1);
  EXPECT_EQ(dimensions, std::vector<GuidText>{kFrameDimensionTime});
  EXPECT_EQ(gif.GetFrameCount(kFrameDimensionTime), 2);
  EXPECT_TRUE(gif.SelectActiveFrame(kFrameDimensionTime, 1));

  std::vector<std::int32_t> delays;
  ASSERT_TRUE(gif.GetFrameDelays(delays));
  EXPECT_EQ(delays, (std::vector<std::int32_t>{10, 25}));
  PropertyItem item;
  ASSERT_TRUE(gif.GetPropertyItem(kPropertyTagFrameDelay, item));
  EXPECT_EQ(item.length, 8u);
  EXPECT_EQ(item.value.size(), 8u);
  EXPECT_EQ(item.type, 4);  // long
  std::vector<std::uint32_t> ids;
  EXPECT_GT(gif.GetPropertyIdList(ids), 0);
  EXPECT_NE(std::find(ids.begin(), ids.end(), static_cast<std::uint32_t>(kPropertyTagFrameDelay)), ids.end());

  if (gif.RemovePropertyItem(kPropertyTagFrameDelay)) {
    EXPECT_FALSE(gif.GetPropertyItem(kPropertyTagFrameDelay, item));
  } else {
    // Wine's library does not remove items: its status 6 comes through.
    EXPECT_EQ(LastStatus(), kNotImplemented);
  }
}

TEST(ImageProperties, ItemLongerThanItsValueIsRefused) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  // The library would read 100 bytes from a two-byte value.
  const PropertyItem overlong{0x0320, 100, 2, ByteBuffer{'a', 0}};
  EXPECT_FALSE(bitmap.SetPropertyItem(overlong));
  EXPECT_EQ(LastStatus(), kStatusInvalidParameter);
}

TEST(BitmapRotation, RotatedSizeMeasuresBetweenCornerPixelCentres) {
  struct Case {
    float width, height;
    int angle;
    float expectWidth, expectHeight;
  };
  const Case cases[] = {
      {100, 50, 0, 99, 49},
      {100, 50, 90, 49, 99},
      {100, 50, 180, 99, 49},
      {288, 288, 45, 405.88f, 405.88f},
  };
  for (const Case& c : cases) {
    const SizeF size = Bitmap::RotatedSize(c.width, c.height, c.angle);
    EXPECT_NEAR(size.width, c.expectWidth, 0.01) << c.angle;
    EXPECT_NEAR(size.height, c.expectHeight, 0.01) << c.angle;
  }
}

TEST(BitmapRotation, QuarterTurnGivesATallCanvasAndLeavesTheSource) {
  const ArgbColor quadrants[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  Bitmap source;
  testing::MakeQuadrants(source, 100, 50, quadrants);
  Bitmap turned;
  ASSERT_TRUE(source.Rotate(90, turned));
  EXPECT_EQ(turned.GetWidth(), 49);
  EXPECT_EQ(turned.GetHeight(), 99);
  EXPECT_EQ(source.GetWidth(), 100);
  EXPECT_EQ(source.GetPixel(10, 10), quadrants[0]);
  // Clockwise a quarter turn: the top-left quadrant ends up top-right and the
  // bottom-left one top-left.
  EXPECT_EQ(turned.GetPixel(36, 25), quadrants[0]);
  EXPECT_EQ(turned.GetPixel(12, 25), quadrants[2]);
  EXPECT_EQ(turned.GetPixel(12, 75), quadrants[3]);
}

TEST(BitmapRotation, FailedRotationLeavesTheTargetAsItWas) {
  Bitmap target;
  ASSERT_TRUE(target.CreateWithSize(3, 3));
  const auto* held = target.GetNativeHandle();
  const Bitmap empty;
  EXPECT_FALSE(empty.Rotate(90, target));
  EXPECT_NE(LastStatus(), kStatusOk);
  Bitmap source;
  ASSERT_TRUE(source.CreateWithSize(10, 10));
  EXPECT_FALSE(source.Rotate(30, target, std::nullopt, std::nullopt, SizeF{0, 10}));  // no canvas
  EXPECT_EQ(target.GetNativeHandle(), held);
  EXPECT_EQ(target.GetWidth(), 3);
}

TEST(BitmapRotation, BackgroundFillsWhatTheSourceDoesNotCover) {
  Bitmap source;
  ASSERT_TRUE(source.CreateWithSize(20, 20));
  Graphics g;
  ASSERT_TRUE(g.FromImage(source));
  ASSERT_TRUE(g.Clear(0xFF0000FF));
  Bitmap turned;
  ASSERT_TRUE(source.Rotate(45, turned, 0xFF00FF00, std::nullopt, SizeF{40, 40}));
  EXPECT_EQ(turned.GetWidth(), 40);
  EXPECT_EQ(turned.GetPixel(1, 1), 0xFF00FF00u);    // a corner the diamond misses
  EXPECT_EQ(turned.GetPixel(20, 20), 0xFF0000FFu);  // the centre
}

TEST(BitmapPixels, CloneAreaCopiesJustThatArea) {
  const ArgbColor quadrants[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
  Bitmap source;
  testing::MakeQuadrants(source, 40, 20, quadrants);
  Bitmap area;
  ASSERT_TRUE(source.CloneAreaI({20, 10, 20, 10}, kPixelFormat32bppArgb, area));
  EXPECT_EQ(area.GetWidth(), 20);
  EXPECT_EQ(area.GetPixel(0, 0), quadrants[3]);
  Bitmap overreach;
  EXPECT_FALSE(source.CloneAreaI({30, 0, 20, 10}, kPixelFormat32bppArgb, overreach));
  EXPECT_EQ(overreach.GetNativeHandle(), nullptr);
}

// An effect as ApplyEffect sees it; it holds no native effect here.
class FakeEffect : public EffectObject {
 public:
  void* GetNativeHandle() const override { return nullptr; }
  bool UsesAuxData() const override { return true; }
  void* GetAuxData() const override { return aux; }
  int GetAuxDataSize() const override { return auxSize; }
  void SetAuxData(void* data, int size) override {
    aux = data;
    auxSize = size;
  }
  void* aux = nullptr;
  int auxSize = 0;
};

TEST(BitmapPixels, ApplyEffectFreesStaleAuxDataAndReportsTheLibrary) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateWithSize(4, 4));
  FakeEffect effect;
  effect.SetAuxData(DrawObject::Alloc(16), 16);
  // Without a native effect the library refuses (Wine's library has no
  // effects at all and answers 6); the stale data is gone either way and the
  // library's status is stored.
  EXPECT_FALSE(bitmap.ApplyEffect(effect));
  EXPECT_TRUE(LastStatus() == kStatusInvalidParameter || LastStatus() == kNotImplemented) << LastStatus();
  EXPECT_EQ(effect.aux, nullptr);
  EXPECT_EQ(effect.auxSize, 0);
}

TEST(HGlobalStreamBlock, CopiesAsMuchAsTheBlockHolds) {
  const ByteBuffer bytes = {1, 2, 3, 4, 5};
  struct Case {
    std::optional<int> size;
    ByteBuffer expect;
  };
  const Case cases[] = {{std::nullopt, {1, 2, 3, 4, 5}}, {8, {1, 2, 3, 4, 5, 0, 0, 0}}, {3, {1, 2, 3}}, {0, {}}};
  for (const Case& c : cases) {
    HGlobalStream stream;
    ASSERT_NE(stream.CreateFromBytes(bytes, c.size), nullptr);
    EXPECT_EQ(stream.ToBytes(), c.expect);
    EXPECT_EQ(stream.GetSize(), c.expect.size());
  }
}

TEST(HGlobalStreamBlock, FreeStreamAndAttachOwnTheBlock) {
  HGlobalStream stream;
  stream.FreeStream();  // nothing held: nothing happens
  EXPECT_EQ(stream.GetStream(), nullptr);
  EXPECT_TRUE(stream.ToBytes().empty());

  // A stream the library grew itself, made without delete-on-release.
  IStream* raw = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, FALSE, &raw), S_OK);
  const std::uint8_t bytes[3] = {7, 8, 9};
  ASSERT_EQ(raw->Write(bytes, 3, nullptr), S_OK);
  ASSERT_TRUE(stream.Attach(raw));
  EXPECT_EQ(stream.GetStream(), raw);
  ASSERT_NE(stream.GetHGlobal(), nullptr);
  const ByteBuffer held = stream.ToBytes();
  ASSERT_GE(held.size(), 3u);
  EXPECT_EQ(ByteBuffer(held.begin(), held.begin() + 3), (ByteBuffer{7, 8, 9}));
  EXPECT_FALSE(stream.Attach(nullptr));  // frees the attached stream and its block
  EXPECT_EQ(stream.GetHGlobal(), nullptr);
}

}  // namespace
}  // namespace varnelo::draw
