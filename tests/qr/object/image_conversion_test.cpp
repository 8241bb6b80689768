#include "qr/object/image_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qr/encode/render_gdi.h"
#include "qr/object/composition.h"
#include "qr/object/gdiplus_flat.h"
#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::BmpPixels;
using testing::Le16;
using testing::Le32;
using testing::MakeBmp;
using testing::ReadBitmap;

// A picture with no two neighbouring pixels alike along a row or a column.
RgbColor Checker(int x, int y) { return (x + y) % 2 ? 0x2040E0 : 0xF0F0F0; }

bool StartsWith(const ByteBuffer& bytes, const std::vector<std::uint8_t>& prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}
bool EndsWith(const ByteBuffer& bytes, const std::vector<std::uint8_t>& suffix) {
  return bytes.size() >= suffix.size() && std::equal(suffix.rbegin(), suffix.rend(), bytes.rbegin());
}

TEST(BitmapToBmpBytes, WritesA44ByteHeaderAndPixelsFromByte58) {
  const ByteBuffer source = MakeBmp(51, 37, Checker);
  win::Bitmap bitmap = BitmapFromImageBytes(source);
  ASSERT_TRUE(bitmap);
  const ByteBuffer bytes = BitmapToBmpBytes(bitmap.get());
  ASSERT_GE(bytes.size(), 58u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(Le32(bytes, 2), bytes.size());  // total size
  EXPECT_EQ(Le32(bytes, 6), 0u);            // reserved
  EXPECT_EQ(Le32(bytes, 10), 58u);          // pixel offset
  EXPECT_EQ(Le32(bytes, 14), 44u);          // information header size
  EXPECT_EQ(Le32(bytes, 18), 51u);
  EXPECT_EQ(Le32(bytes, 22), 37u);          // positive: bottom-up rows
  EXPECT_EQ(Le32(bytes, 30), static_cast<std::uint32_t>(BI_RGB));
  const int bits = Le16(bytes, 28);
  EXPECT_EQ(bytes.size(), 58u + ((51u * bits + 31) / 32) * 4 * 37);

  const BmpPixels pixels(bytes);
  ASSERT_TRUE(pixels.valid());
  const auto direct = ReadBitmap(bitmap.get());
  int wrong = 0;
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 51; ++x) wrong += pixels.At(x, y) != Checker(x, y) || direct.At(x, y) != Checker(x, y);
  EXPECT_EQ(wrong, 0);
}

TEST(BitmapToBmpBytes, GivesNothingForABitmapItCannotRead) {
  EXPECT_TRUE(BitmapToBmpBytes(nullptr).empty());
  HBITMAP deleted = CreateBitmap(4, 4, 1, 32, nullptr);
  DeleteObject(deleted);
  EXPECT_TRUE(BitmapToBmpBytes(deleted).empty());
}

TEST(ReadBmpHeader, AcceptsOnlyCompleteHeaders) {
  const ByteBuffer good = MakeBmp(3, 2, Checker);
  const auto header = ReadBmpHeader(good);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->width, 3);
  EXPECT_EQ(header->height, 2);
  EXPECT_EQ(header->pixelOffset, 54);

  struct Broken {
    const char* what;
    std::size_t length;        // bytes kept
    std::size_t at;            // byte changed (0 = none)
    std::uint32_t value;       // int32 written there
  };
  const Broken cases[] = {
      {"empty", 0, 0, 0},
      {"cut before the height", 25, 0, 0},
      {"cut inside the info header", 53, 0, 0},
      {"core header", good.size(), 14, 12},
      {"zero width", good.size(), 18, 0},
      {"negative width", good.size(), 18, 0xFFFFFFFF},
      {"zero height", good.size(), 22, 0},
      {"pixel offset past the end", good.size(), 10, 1000},
      {"pixel offset inside the header", good.size(), 10, 20},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.what);
    ByteBuffer bytes(good.begin(), good.begin() + c.length);
    if (c.at) {
      for (int i = 0; i < 4; ++i) bytes[c.at + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
    }
    EXPECT_FALSE(ReadBmpHeader(bytes));
  }
  ByteBuffer wrongMagic = good;
  wrongMagic[1] = 'A';
  EXPECT_FALSE(ReadBmpHeader(wrongMagic));
}

// Every reader of BMP bytes refuses short or malformed bytes instead of
// reading past their end.
TEST(BmpReaders, FailOnShortBytes) {
  gdiplus::Session library;
  const ByteBuffer good = MakeBmp(20, 20, Checker);
  for (std::size_t length : {0u, 1u, 17u, 21u, 25u, 53u, 57u}) {
    SCOPED_TRACE(length);
    const ByteBuffer cut(good.begin(), good.begin() + length);
    EXPECT_TRUE(ScaleImageBytes(cut, 40, 40).empty());
    EXPECT_TRUE(ComposeOnBackground(cut, good, 0xFFFFFF, 0, 0, true, good, 20, 20).empty());
    EXPECT_TRUE(ComposeOnBackground(good, cut, 0xFFFFFF, 0, 0, true, good, 20, 20).empty());
    EXPECT_TRUE(OverlayLogo(cut, good, 0, 0).empty());
    EXPECT_TRUE(OverlayLogo(good, cut, 0, 0).empty());
    EXPECT_FALSE(BitmapFromImageBytes(cut));
    EXPECT_TRUE(ConvertImageBytes(cut, 5).empty());
  }
}

struct FormatCase {
  int type;  // ConvertImageBytes numbering, 1..5
  std::vector<std::uint8_t> signature;
  std::vector<std::uint8_t> ending;  // how a complete file of the format ends
};

TEST(ConvertImageBytes, WritesEachFormatWithNothingAfterItsEnd) {
  gdiplus::Session library;
  ASSERT_TRUE(library.started());
  const ByteBuffer source = MakeBmp(57, 57, Checker);
  const FormatCase cases[] = {
      {1, {'B', 'M'}, {}},
      {2, {0xFF, 0xD8, 0xFF}, {0xFF, 0xD9}},
      {3, {'G', 'I', 'F', '8'}, {0x3B}},
      {4, {}, {}},
      {5, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.type);
    const ByteBuffer out = ConvertImageBytes(source, c.type);
    ASSERT_FALSE(out.empty());
    if (c.type == 4) {
      EXPECT_TRUE(StartsWith(out, {'I', 'I', 0x2A, 0}) || StartsWith(out, {'M', 'M', 0, 0x2A}));
    } else {
      EXPECT_TRUE(StartsWith(out, c.signature));
      EXPECT_TRUE(EndsWith(out, c.ending));
    }
    if (c.type == 1) {
      EXPECT_EQ(Le32(out, 2), out.size());  // the file's own length
    }

    // The lossless formats decode back to the same pixels. (Not GIF: Wine's
    // encoder writes only the file's frame, 24 bytes, no picture.)
    if (c.type == 1 || c.type == 4 || c.type == 5) {
      const ByteBuffer backBytes = ConvertImageBytes(out, 1);
      const BmpPixels back(backBytes);
      ASSERT_TRUE(back.valid()) << backBytes.size() << " bytes";
      int wrong = 0;
      for (int y = 0; y < 57; ++y)
        for (int x = 0; x < 57; ++x) wrong += back.At(x, y) != Checker(x, y);
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(ConvertImageBytes, FailsForUnknownTypesAndUndecodableBytes) {
  gdiplus::Session library;
  const ByteBuffer source = MakeBmp(8, 8, Checker);
  for (int type : {0, 6, -1, 100}) EXPECT_TRUE(ConvertImageBytes(source, type).empty()) << type;
  EXPECT_TRUE(ConvertImageBytes({}, 5).empty());
  const ByteBuffer garbage = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_TRUE(ConvertImageBytes(garbage, 5).empty());
}

TEST(BitmapFromImageBytes, LoadsAtItsOwnOrTheRequestedSize) {
  const ByteBuffer source = MakeBmp(30, 20, Checker);
  const auto own = ReadBitmap(BitmapFromImageBytes(source).get());
  ASSERT_EQ(own.width, 30);
  ASSERT_EQ(own.height, 20);
  EXPECT_EQ(own.At(0, 0), Checker(0, 0));
  EXPECT_EQ(own.At(29, 19), Checker(29, 19));
  EXPECT_EQ(own.At(13, 6), Checker(13, 6));

  win::Bitmap stretched = BitmapFromImageBytes(source, 60, 40);
  const auto big = ReadBitmap(stretched.get());
  EXPECT_EQ(big.width, 60);
  EXPECT_EQ(big.height, 40);

  EXPECT_FALSE(BitmapFromImageBytes(source, -1, 20));
  EXPECT_FALSE(BitmapFromImageBytes({}));
  const ByteBuffer garbage(100, 0x5A);
  EXPECT_FALSE(BitmapFromImageBytes(garbage));
}

// Run lengths of equal colours along a row (vertical = false) or a column.
std::vector<int> Runs(const BmpPixels& image, int line, bool vertical) {
  std::vector<int> runs;
  const int length = vertical ? image.height() : image.width();
  for (int i = 0; i < length; ++i) {
    const RgbColor here = vertical ? image.At(line, i) : image.At(i, line);
    const RgbColor before = i == 0 ? ~here : vertical ? image.At(line, i - 1) : image.At(i - 1, line);
    if (here != before) runs.push_back(0);
    ++runs.back();
  }
  return runs;
}

TEST(ScaleImageBytes, EnlargesByRepeatingPixels) {
  const ByteBuffer source = MakeBmp(51, 51, Checker);
  const ByteBuffer scaled = ScaleImageBytes(source, 288, 288);
  const BmpPixels image(scaled);
  ASSERT_TRUE(image.valid());
  ASSERT_EQ(image.width(), 288);
  ASSERT_EQ(image.height(), 288);
  for (int line : {0, 100, 287}) {
    for (bool vertical : {false, true}) {
      const std::vector<int> runs = Runs(image, line, vertical);
      ASSERT_EQ(runs.size(), 51u) << line;
      for (int run : runs) EXPECT_TRUE(run == 5 || run == 6) << run;
    }
  }
  EXPECT_TRUE(ScaleImageBytes(source, 0, 288).empty());
  EXPECT_TRUE(ScaleImageBytes(source, 288, -1).empty());
}

}  // namespace
}  // namespace varnelo::qr
