#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "qr/object/qr_code.h"
#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::BmpPixels;
using testing::GdiObjectCount;
using testing::Le32;
using testing::MakeBmp;
using testing::ReadBitmap;

const TextBytes kAddress = "https://campaign.example.com/p/c/17yq18lq3slc?source=CHUNCHENG_WANBAO";
const GenerateOptions kApplication{.version = 8, .level = 1};
constexpr RgbColor kBackground = 0xCC6633;

bool StartsWith(const ByteBuffer& bytes, std::initializer_list<std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// Where the stretch puts each source pixel: the first target pixel of every
// source column (or row), learnt from a picture whose neighbours all differ.
std::vector<int> StretchBoundaries(int from, int to) {
  const ByteBuffer stripes = ScaleImageBytes(
      MakeBmp(from, from, [](int x, int y) { return (x + y) % 2 ? RgbColor{0} : RgbColor{0xFFFFFF}; }),
      to, to);
  const BmpPixels image(stripes);
  std::vector<int> starts;
  for (int x = 0; x < to; ++x)
    if (x == 0 || image.At(x, 0) != image.At(x - 1, 0)) starts.push_back(x);
  starts.push_back(to);
  return starts;
}

TEST(EncodeToImageBytes, ApplicationImageIs288PixelsModuleByModule) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const ByteBuffer bytes = code.EncodeToImageBytes({.size = 288}, 0);
  ASSERT_GE(bytes.size(), 58u);
  EXPECT_EQ(Le32(bytes, 14), 44u);
  EXPECT_EQ(Le32(bytes, 10), 58u);
  EXPECT_EQ(Le32(bytes, 18), 288u);
  EXPECT_EQ(Le32(bytes, 22), 288u);
  const BmpPixels image(bytes);
  ASSERT_TRUE(image.valid());

  const std::vector<int> starts = StretchBoundaries(51, 288);
  ASSERT_EQ(starts.size(), 52u);
  for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
    const int width = starts[i + 1] - starts[i];
    EXPECT_TRUE(width == 5 || width == 6) << "module " << i << " is " << width << " wide";
  }
  int wrong = 0;
  for (int row = 0; row < 51; ++row)
    for (int column = 0; column < 51; ++column) {
      const RgbColor expected = code.Encoder().ModuleAt(row + 1, column + 1) ? 0 : 0xFFFFFF;
      for (int y = starts[row]; y < starts[row + 1]; ++y)
        for (int x = starts[column]; x < starts[column + 1]; ++x) wrong += image.At(x, y) != expected;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(EncodeToImageBytes, WithoutAPositiveSizeReturnsTheCodeImage) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_EQ(code.EncodeToImageBytes(), code.GetImageBytes());
  EXPECT_EQ(code.EncodeToImageBytes({.size = 0}), code.GetImageBytes());
  EXPECT_EQ(code.EncodeToImageBytes({.size = -5}, 0), code.GetImageBytes());
}

TEST(EncodeToImageBytes, WritesTheFiveFormatsAndRefusesOthers) {
  QrCode code;
  EXPECT_TRUE(code.EncodeToImageBytes({}, 4).empty());  // no code yet
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_TRUE(StartsWith(code.EncodeToImageBytes({.size = 100}, 0), {'B', 'M'}));
  EXPECT_TRUE(StartsWith(code.EncodeToImageBytes({.size = 100}, 1), {0xFF, 0xD8, 0xFF}));
  EXPECT_TRUE(StartsWith(code.EncodeToImageBytes({.size = 100}, 2), {'G', 'I', 'F', '8'}));
  const ByteBuffer tiff = code.EncodeToImageBytes({.size = 100}, 3);
  EXPECT_TRUE(StartsWith(tiff, {'I', 'I', 0x2A, 0}) || StartsWith(tiff, {'M', 'M', 0, 0x2A}));
  const ByteBuffer png = code.EncodeToImageBytes({.size = 100}, 4);
  EXPECT_TRUE(StartsWith(png, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
  // The PNG holds the same picture as the BMP.
  const BmpPixels fromPng(ConvertImageBytes(png, 1));
  const BmpPixels fromBmp(code.EncodeToImageBytes({.size = 100}, 0));
  ASSERT_TRUE(fromPng.valid());
  int wrong = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) wrong += fromPng.At(x, y) != fromBmp.At(x, y);
  EXPECT_EQ(wrong, 0);

  for (int format : {5, -1, 100}) EXPECT_TRUE(code.EncodeToImageBytes({.size = 100}, format).empty()) << format;
}

TEST(EncodeToImageBytes, SetsTheCodeOntoABackground) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  const BmpPixels image(code.EncodeToImageBytes({.size = 200, .background = background}));
  ASSERT_TRUE(image.valid());
  EXPECT_EQ(image.width(), 400);
  EXPECT_EQ(image.height(), 300);
  EXPECT_EQ(image.At(99, 49), 0xFFFFFFu);  // the code's light corner
  EXPECT_EQ(image.At(98, 49), kBackground);
  EXPECT_EQ(image.At(99, 48), kBackground);
  // A dark finder module shows the background through.
  EXPECT_EQ(image.At(99 + 6, 49 + 6), kBackground);

  // Stretched background, shifted code.
  const BmpPixels shifted(code.EncodeToImageBytes(
      {.size = 200, .background = background, .backgroundWidth = 600, .backgroundHeight = 500,
       .offsetX = 10, .offsetY = -20}));
  EXPECT_EQ(shifted.width(), 600);
  EXPECT_EQ(shifted.height(), 500);
  EXPECT_EQ(shifted.At(209, 129), 0xFFFFFFu);
  EXPECT_EQ(shifted.At(208, 129), kBackground);

  // A PNG background decodes too.
  const BmpPixels fromPng(code.EncodeToImageBytes({.size = 200, .background = ConvertImageBytes(background, 5)}));
  EXPECT_EQ(fromPng.width(), 400);
  EXPECT_EQ(fromPng.At(98, 49), kBackground);
}

TEST(EncodeToImageBytes, LeavesOutABackgroundThatDoesNotDecode) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const ByteBuffer withoutBackground = code.EncodeToImageBytes({.size = 200});
  const ByteBuffer garbage(500, 0x42);
  ByteBuffer cutPng = ConvertImageBytes(MakeBmp(40, 40, [](int, int) { return kBackground; }), 5);
  cutPng.resize(30);
  for (const ByteBuffer& bad : {garbage, cutPng})
    EXPECT_EQ(code.EncodeToImageBytes({.size = 200, .background = bad, .offsetX = 30, .speckle = true}),
              withoutBackground);
}

TEST(EncodeToImageBytes, SpecklesAroundTheCodeOnly) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, {.version = 8, .level = 1, .lightColour = 0xF0FFF0}));
  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  const BmpPixels plain(code.EncodeToImageBytes({.size = 200, .background = background}));
  const BmpPixels speckled(code.EncodeToImageBytes({.size = 200, .background = background, .speckle = true}));
  ASSERT_TRUE(speckled.valid());
  int lightOutside = 0, changedInside = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      const bool deepInside = x >= 99 + 8 && x < 299 - 8 && y >= 49 + 8 && y < 249 - 8;
      if (deepInside) changedInside += plain.At(x, y) != speckled.At(x, y);
      const bool outside = x < 99 || x >= 299 || y < 49 || y >= 249;
      if (outside) lightOutside += speckled.At(x, y) == 0xF0FFF0;
    }
  EXPECT_EQ(changedInside, 0);
  // About half of the cells get a 1 bit.
  EXPECT_GT(lightOutside, 400 * 300 / 5);
  EXPECT_LT(lightOutside, 400 * 300 * 4 / 5);
}

TEST(EncodeToImageBytes, PastesTheLogoOfTheLastGenerateThatHadOne) {
  QrCode code;
  const ByteBuffer logo = ConvertImageBytes(MakeBmp(100, 100, [](int, int) { return RgbColor{0x0000FF}; }), 5);
  ASSERT_FALSE(logo.empty());
  ASSERT_TRUE(code.Generate(kAddress, {.version = 8, .level = 1, .logo = logo}));
  EXPECT_EQ(code.GetLogo(), logo);
  for (int size : {288, 200}) {
    const BmpPixels image(code.EncodeToImageBytes({.size = size}));
    const int at = (size - 100) / 2;
    EXPECT_EQ(image.At(at, at), 0x0000FFu) << size;
    EXPECT_EQ(image.At(at + 99, at + 99), 0x0000FFu) << size;
    EXPECT_NE(image.At(at - 1, at - 1), 0x0000FFu) << size;
    EXPECT_NE(image.At(at + 100, at + 100), 0x0000FFu) << size;
  }
  // On a background the logo moves with the offsets.
  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  const BmpPixels onBackground(code.EncodeToImageBytes({.size = 200, .background = background, .offsetX = 10, .offsetY = 5}));
  EXPECT_EQ(onBackground.At(160, 105), 0x0000FFu);
  EXPECT_NE(onBackground.At(159, 105), 0x0000FFu);

  // No logo given: the old one stays; a logo that does not decode too.
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  EXPECT_TRUE(code.GetLogo().empty());
  EXPECT_EQ(BmpPixels(code.EncodeToImageBytes({.size = 288})).At(94, 94), 0x0000FFu);
  const ByteBuffer broken(64, 7);
  ASSERT_TRUE(code.Generate(kAddress, {.version = 8, .level = 1, .logo = broken}));
  EXPECT_EQ(code.GetLogo(), broken);
  EXPECT_EQ(BmpPixels(code.EncodeToImageBytes({.size = 288})).At(94, 94), 0x0000FFu);
}

class SaveImageToFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("qr_object_save_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  static ByteBuffer Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path folder;
};

TEST_F(SaveImageToFile, WritesThePlatformEncodersFiles) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  const std::filesystem::path path = folder / "code.img";
  ASSERT_TRUE(code.SaveImageToFile(path.string(), {}, 0));
  const ByteBuffer bmp = Read(path);
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_TRUE(StartsWith(bmp, {'B', 'M'}));
  EXPECT_EQ(Le32(bmp, 14), 40u);  // re-encoded, not our 44-byte header
  EXPECT_EQ(Le32(bmp, 18), 51u);

  ASSERT_TRUE(code.SaveImageToFile(path.string(), {.size = 288}, 4));  // replaces
  const ByteBuffer png = Read(path);
  EXPECT_TRUE(StartsWith(png, {0x89, 'P', 'N', 'G'}));
  EXPECT_EQ(BmpPixels(ConvertImageBytes(png, 1)).width(), 288);
  for (int format : {1, 2, 3}) {
    ASSERT_TRUE(code.SaveImageToFile(path.string(), {.size = 64}, format)) << format;
    EXPECT_FALSE(Read(path).empty());
  }
}

TEST_F(SaveImageToFile, NeverDestroysAnExistingFile) {
  const std::filesystem::path path = folder / "precious.png";
  { std::ofstream(path, std::ios::binary) << "precious"; }
  const ByteBuffer precious = Read(path);

  QrCode empty;
  EXPECT_FALSE(empty.SaveImageToFile(path.string(), {}, 4));  // no code
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  for (int format : {5, -1, 99}) {
    EXPECT_FALSE(code.SaveImageToFile(path.string(), {}, format)) << format;
    EXPECT_FALSE(code.SaveImageToFile(path.string(), {.size = 288}, format)) << format;
  }
  EXPECT_FALSE(code.SaveImageToFile(path.string(), {.size = 0}, 4));  // nothing to stretch to
  EXPECT_FALSE(code.SaveImageToFile((folder / "missing" / "x.png").string(), {}, 4));
  EXPECT_FALSE(code.SaveImageToFile(folder.string(), {}, 4));  // a folder in the way
  EXPECT_FALSE(code.SaveImageToFile("", {}, 4));

  EXPECT_EQ(Read(path), precious);
  // And no temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
  EXPECT_EQ(entries, 1);
}

// The CF_BITMAP on the clipboard, read as pixels.
testing::BitmapPixels ClipboardBitmap() {
  win::ClipboardSession clipboard(nullptr);
  if (!clipboard.open()) return {};
  return ReadBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
}

TEST(CopyToClipboard, PutsACopyOfTheCodeOrTheComposition) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  ASSERT_TRUE(code.CopyToClipboard());
  {
    win::ClipboardSession clipboard(nullptr);
    ASSERT_TRUE(clipboard.open());
    const HANDLE onClipboard = GetClipboardData(CF_BITMAP);
    ASSERT_NE(onClipboard, nullptr);
    EXPECT_NE(onClipboard, code.GetCodeBitmap());
  }
  const auto kept = ReadBitmap(code.GetCodeBitmap());
  const auto copied = ClipboardBitmap();
  ASSERT_EQ(copied.width, 51);
  ASSERT_EQ(copied.height, 51);
  EXPECT_EQ(copied.pixels, kept.pixels);

  // A later Generate leaves the clipboard alone.
  ASSERT_TRUE(code.Generate("SOMETHING ELSE", {.version = 3}));
  EXPECT_EQ(ClipboardBitmap().pixels, kept.pixels);

  ASSERT_TRUE(code.Generate(kAddress, kApplication));
  ASSERT_TRUE(code.CopyToClipboard({.size = 288}));
  const auto stretched = ClipboardBitmap();
  const BmpPixels expected(code.EncodeToImageBytes({.size = 288}));
  ASSERT_EQ(stretched.width, 288);
  int wrong = 0;
  for (int y = 0; y < 288; ++y)
    for (int x = 0; x < 288; ++x) wrong += stretched.At(x, y) != expected.At(x, y);
  EXPECT_EQ(wrong, 0);

  const ByteBuffer background = MakeBmp(400, 300, [](int, int) { return kBackground; });
  ASSERT_TRUE(code.CopyToClipboard({.size = 200, .background = background}));
  const auto composed = ClipboardBitmap();
  EXPECT_EQ(composed.width, 400);
  EXPECT_EQ(composed.height, 300);
  EXPECT_FALSE(code.CopyToClipboard({.size = 0}));
}

TEST(ImageOutputs, LeaveNoGdiObjectsBehind) {
  QrCode code;
  ASSERT_TRUE(code.Generate(kAddress, {.version = 8, .level = 1,
                                      .logo = MakeBmp(30, 30, [](int, int) { return RgbColor{0xFF}; })}));
  const ByteBuffer background = MakeBmp(300, 300, [](int, int) { return kBackground; });
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "qr_object_gdi.png";
  auto outputs = [&] {
    for (int format = 0; format < 5; ++format) code.EncodeToImageBytes({.size = 288}, format);
    code.EncodeToImageBytes({.size = 200, .background = background, .offsetX = 3, .speckle = true}, 4);
    code.EncodeToImageBytes({.size = 200, .background = ByteBuffer(40, 1)}, 0);
    code.EncodeToImageBytes({}, 7);
    code.SaveImageToFile(path.string(), {.size = 100}, 4);
    code.SaveImageToFile(path.string(), {}, 9);
    code.CopyToClipboard();
    code.CopyToClipboard({.size = 150, .background = background});
  };
  // Bitmaps handed to the clipboard are the clipboard's: empty it before
  // each count.
  auto emptyClipboard = [] {
    win::ClipboardSession clipboard(nullptr);
    return clipboard.open() && EmptyClipboard();
  };
  outputs();  // first use creates the platform's own lasting objects
  ASSERT_TRUE(emptyClipboard());
  const long before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 3; ++i) outputs();
  ASSERT_TRUE(emptyClipboard());
  EXPECT_EQ(GdiObjectCount(), before);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace varnelo::qr
