#include "qr/object/qr_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "qr/encode/qr_encoder.h"
#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::BmpPixels;
using testing::GdiObjectCount;
using testing::MakeBmp;
using testing::ReadBitmap;

const TextBytes kAddress = "https://campaign.example.com/p/c/17yq18lq3slc?source=CHUNCHENG_WANBAO";
const GenerateOptions kApplication{.version = 8, .level = 1};

bool StartsWith(const ByteBuffer& bytes, std::initializer_list<std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Every pixel of the code image against the encoder's module at that pixel.
int PixelsUnlikeModules(const QrCode& code) {
  const BmpPixels image(code.GetImageBytes());
  if (!image.valid()) return -1;
  int wrong = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const RgbColor expected = code.Encoder().ModuleAt(y + 1, x + 1) ? code.GetDarkColour()
                                                                       : code.GetLightColour();
      wrong += image.At(x, y) != expected;
    }
  return wrong;
}

TEST(QrCode, StartsWithoutACode) {
  QrCode code;
  EXPECT_FALSE(code.HasCode());
  EXPECT_EQ(code.GetImageWidth(), 0);
  EXPECT_EQ(code.GetImageHeight(), 0);
  EXPECT_EQ(code.GetLevel(), 2);
  EXPECT_EQ(code.GetLightColour(), 0xFFFFFFu);
  EXPECT_EQ(code.GetDarkColour(), 0u);
  EXPECT_EQ(code.GetCodeBitmap(), nullptr);
  EXPECT_TRUE(code.EncodeToImageBytes().empty());
  EXPECT_FALSE(code.CopyToClipboard());
}

TEST(QrCode, ApplicationCodeIs51PixelsWithOneModuleMargins) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_TRUE(code.HasCode());
  EXPECT_NE(code.GetCodeBitmap(), nullptr);
  EXPECT_EQ(code.GetImageWidth(), 51);
  EXPECT_EQ(code.GetImageHeight(), 51);
  EXPECT_EQ(code.Encoder().Matrix().size, 49);
  EXPECT_EQ(code.GetVersion(), 8);
  EXPECT_EQ(code.GetLevel(), 1);
  EXPECT_EQ(code.GetText(), kAddress);
  EXPECT_EQ(code.GetMarginLeft(), 1);
  EXPECT_EQ(code.GetMarginBottom(), 1);
  EXPECT_EQ(code.GetMarginTop(), 1);
  EXPECT_EQ(code.GetMarginRight(), 1);
  EXPECT_EQ(PixelsUnlikeModules(code), 0);
  // The finder's top-left corner sits just inside the margin.
  const BmpPixels image(code.GetImageBytes());
  EXPECT_EQ(image.At(1, 1), 0u);
  EXPECT_EQ(image.At(0, 0), 0xFFFFFFu);
  // And the bitmap the object keeps shows the same.
  const auto kept = ReadBitmap(code.GetCodeBitmap());
  ASSERT_EQ(kept.width, 51);
  EXPECT_EQ(kept.At(1, 1), 0u);
  EXPECT_EQ(kept.At(50, 50), 0xFFFFFFu);
}

TEST(QrCode, MarginsAndColoursShapeTheImage) {
  QrCode code;
  ASSERT_TRUE(code.Generate("HELLO", {.version = 1, .darkColour = 0xFF0000, .lightColour = 0x0000FF,
                                      .marginLeft = 4, .marginBottom = 0, .marginTop = 2, .marginRight = 1}));
  EXPECT_EQ(code.GetImageWidth(), 26);
  EXPECT_EQ(code.GetImageHeight(), 23);
  EXPECT_EQ(PixelsUnlikeModules(code), 0);
  const BmpPixels image(code.GetImageBytes());
  EXPECT_EQ(image.At(4, 2), 0xFF0000u);  // symbol at x 4, y 2
  EXPECT_EQ(image.At(3, 2), 0x0000FFu);
  EXPECT_EQ(image.At(4, 1), 0x0000FFu);
  EXPECT_EQ(image.At(4, 22), 0xFF0000u);  // no bottom margin: the finder reaches the edge
}

TEST(QrCode, NoiseBytesFollowTheImageSizeAndAreDrawnAnew) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const ByteBuffer first(code.NoiseBytes().begin(), code.NoiseBytes().end());
  EXPECT_EQ(first.size(), 3251u);  // 51 * 51 * 10 / 8 = 3251.25
  // Uniform bytes: every value turns up, none dominates.
  std::vector<int> seen(256, 0);
  for (std::uint8_t b : first) ++seen[b];
  EXPECT_LT(*std::max_element(seen.begin(), seen.end()), 60);
  EXPECT_GT(std::count_if(seen.begin(), seen.end(), [](int n) { return n > 0; }), 240);

  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_NE(ByteBuffer(code.NoiseBytes().begin(), code.NoiseBytes().end()), first);
  ASSERT_TRUE(code.Generate("1234", {}));
  EXPECT_EQ(code.GetImageWidth(), 23);  // automatic version: the smallest, version 1
  EXPECT_EQ(code.NoiseBytes().size(), 23u * 23 * 10 / 8);
}

struct RefusedCase {
  const char* what;
  GenerateOptions options;
};

TEST(QrCode, RefusesOutOfRangeSettingsBeforeStoringAnything) {
  const RefusedCase cases[] = {
      {"version 41", {.version = 41}},   {"version -1", {.version = -1}},
      {"level 5", {.level = 5}},         {"level -1", {.level = -1}},
      {"mask 8", {.mask = 8}},           {"mask -2", {.mask = -2}},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.what);
    QrCode code;
    ASSERT_TRUE(code.Generate("FIRST", {.version = 2, .level = 3}));
    EXPECT_FALSE(code.Generate("SECOND", c.options));
    EXPECT_FALSE(code.HasCode());
    EXPECT_EQ(code.GetImageWidth(), 0);
    EXPECT_EQ(code.GetText(), "FIRST");
    EXPECT_EQ(code.GetVersion(), 2);
    EXPECT_EQ(code.GetLevel(), 3);
    EXPECT_TRUE(code.EncodeToImageBytes().empty());
  }
}

TEST(QrCode, AcceptsTheEdgesOfEachRange) {
  QrCode code;
  EXPECT_TRUE(code.Generate("A", {.level = 0}));
  EXPECT_EQ(code.GetLevel(), 0);
  EXPECT_TRUE(code.Generate("A", {.version = 40, .level = 4, .mask = 7}));
  EXPECT_EQ(code.GetImageWidth(), 179);
  EXPECT_TRUE(code.Generate("A", {.mask = -1}));
  EXPECT_TRUE(code.Generate("", {}));  // an empty message is a code too
  EXPECT_EQ(code.GetImageWidth(), 23);
}

TEST(QrCode, TextTooLongForTheVersionStoresTheSettingsButNoCode) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const TextBytes longText(300, 'x');
  EXPECT_FALSE(code.Generate(longText, kApplication));
  EXPECT_FALSE(code.HasCode());
  EXPECT_EQ(code.GetImageWidth(), 0);
  EXPECT_EQ(code.GetText(), longText);
  EXPECT_TRUE(code.EncodeToImageBytes({.size = 288}, 0).empty());
}

TEST(TextToUtf8, ConvertsFromTheAnsiCodePage) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the GBK code page";
  EXPECT_EQ(TextToUtf8("\xB8\xA3"), (ByteBuffer{0xE7, 0xA6, 0x8F}));  // 福
  EXPECT_EQ(TextToUtf8("A\xB8\xA3" "B"), (ByteBuffer{'A', 0xE7, 0xA6, 0x8F, 'B'}));
  EXPECT_TRUE(TextToUtf8("").empty());
  EXPECT_EQ(TextToUtf8(std::string("AB\0CD", 5)), (ByteBuffer{'A', 'B'}));  // ends at the zero
}

// The matrix the encoder makes of these bytes, Kanji allowed or not.
ModuleMatrix DirectMatrix(const ByteBuffer& bytes, bool allowKanji) {
  QrEncoder encoder;
  EncodeOptions options;
  options.data = bytes;
  options.dataLength = static_cast<int>(bytes.size());
  options.version = 2;
  options.level = 2;
  options.allowKanji = allowKanji;
  EXPECT_TRUE(encoder.EncodeMatrix(options));
  return encoder.Matrix();
}

TEST(QrCode, EncodesUtf8OrTheAnsiBytesWithoutKanjiOutsideCodePage932) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the GBK code page";
  // Four GBK characters whose bytes are also Shift JIS Kanji pairs.
  const TextBytes gbk = "\x88\x9F\x88\xA0\x88\xA1\x88\xA2";
  const ByteBuffer ansi(gbk.begin(), gbk.end());
  const ByteBuffer kanjiMatrix = DirectMatrix(ansi, true).cells;
  const ByteBuffer byteMatrix = DirectMatrix(ansi, false).cells;
  ASSERT_NE(kanjiMatrix, byteMatrix);  // the text would go into Kanji mode

  QrCode code;
  ASSERT_TRUE(code.Generate(gbk, {.inputFlags = 1, .version = 2}));
  EXPECT_EQ(code.Encoder().Matrix().cells, byteMatrix);

  ASSERT_TRUE(code.Generate(gbk, {.inputFlags = 0, .version = 2}));
  EXPECT_EQ(code.Encoder().Matrix().cells, DirectMatrix(TextToUtf8(gbk), false).cells);
  // Other flag bits change nothing.
  ASSERT_TRUE(code.Generate(gbk, {.inputFlags = 2, .version = 2}));
  EXPECT_EQ(code.Encoder().Matrix().cells, DirectMatrix(TextToUtf8(gbk), false).cells);
}

TEST(QrCode, CloneOwnsItsOwnBitmapsAndBytes) {
  auto original = std::make_unique<QrCode>();
  const ByteBuffer logo = MakeBmp(10, 10, [](int, int) { return RgbColor{0x00FF00}; });
  ASSERT_TRUE(original->Generate(kAddress, {.version = 8, .level = 1, .logo = logo}));
  QrCode copy = original->Clone();
  EXPECT_TRUE(copy.HasCode());
  EXPECT_NE(copy.GetCodeBitmap(), original->GetCodeBitmap());
  EXPECT_EQ(copy.GetImageBytes(), original->GetImageBytes());
  EXPECT_EQ(copy.GetText(), kAddress);
  EXPECT_EQ(copy.GetLogo(), logo);
  const ByteBuffer before = copy.EncodeToImageBytes({.size = 288});

  // Changing and then destroying the original leaves the copy whole.
  ASSERT_TRUE(original->Generate("OTHER", {.version = 2}));
  EXPECT_EQ(copy.GetText(), kAddress);
  EXPECT_EQ(copy.GetImageWidth(), 51);
  original.reset();
  const auto kept = ReadBitmap(copy.GetCodeBitmap());
  EXPECT_EQ(kept.width, 51);
  EXPECT_EQ(PixelsUnlikeModules(copy), 0);
  EXPECT_EQ(copy.EncodeToImageBytes({.size = 288}), before);  // the logo copy still draws

  QrCode assigned;
  assigned = copy;
  EXPECT_NE(assigned.GetCodeBitmap(), copy.GetCodeBitmap());
  EXPECT_EQ(assigned.GetImageBytes(), copy.GetImageBytes());
  assigned = assigned;  // self-assignment keeps everything
  EXPECT_TRUE(assigned.HasCode());
}

TEST(QrCode, ReleaseEmptiesTheObject) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  code.Release();
  EXPECT_FALSE(code.HasCode());
  EXPECT_EQ(code.GetCodeBitmap(), nullptr);
  EXPECT_TRUE(code.GetText().empty());
  EXPECT_TRUE(code.GetImageBytes().empty());
  EXPECT_FALSE(code.CopyToClipboard());
  EXPECT_EQ(code.GetLevel(), 2);
  // And it can be used again.
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_EQ(PixelsUnlikeModules(code), 0);
  EXPECT_TRUE(StartsWith(code.EncodeToImageBytes({.size = 100}, 4), {0x89, 'P', 'N', 'G'}));
}

LRESULT CALLBACK SwallowEverything(HWND, UINT, WPARAM, LPARAM) { return 0; }

TEST(QrCode, DetachFromWindowGivesBackTheWindowProcedure) {
  QrCode code;
  EXPECT_FALSE(code.DetachFromWindow(nullptr));
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // A window subclassed the way the binding does it.
  const LONG_PTR own = GetWindowLongPtrA(window, GWLP_WNDPROC);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwallowEverything));
  SetPropA(window, "PRKIXQOCCV4YSX3JPH7G", reinterpret_cast<HANDLE>(own));
  EXPECT_FALSE(code.IsAttached(window));
  EXPECT_TRUE(code.DetachFromWindow(window));
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), own);
  // Not this object's window: its properties stay.
  EXPECT_NE(GetPropA(window, "PRKIXQOCCV4YSX3JPH7G"), nullptr);
  RemovePropA(window, "PRKIXQOCCV4YSX3JPH7G");
  DestroyWindow(window);
  EXPECT_FALSE(code.DetachFromWindow(window));  // no longer a window
}

TEST(QrCode, GenerateAndReleaseLeaveNoGdiObjects) {
  const ByteBuffer logo = MakeBmp(20, 20, [](int, int) { return RgbColor{0x00FF00}; });
  auto cycle = [&] {
    QrCode code;
    code.Generate(kAddress, kApplication);
    code.Generate(kAddress, {.version = 3, .logo = logo});
    code.Generate(TextBytes(500, 'x'), kApplication);  // fails
    code.Generate(kAddress, kApplication);
    QrCode copy = code;
    copy.Generate("X", {});
    code.Release();
  };
  cycle();  // first use creates the platform's own lasting objects
  const long before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
}  // namespace varnelo::qr
