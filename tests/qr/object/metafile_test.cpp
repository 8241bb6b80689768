// The metafile exports played back into bitmaps: every module in its colour,
// the backgrounds exactly as large as drawn. Windows tree only.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "qr/object/exports.h"
#include "qr/object/metafile.h"
#include "tests/qr/object/test_images.h"
#include "win/handles.h"

namespace varnelo::qr {
namespace {

constexpr RgbColor kSentinel = 0xFF00FF;

SymbolView Pattern(int width, int height, RgbColor dark, RgbColor light) {
  SymbolView view;
  view.hasCode = true;
  view.width = width;
  view.height = height;
  view.darkColour = dark;
  view.lightColour = light;
  // Irregular enough that a shifted or transposed drawing shows.
  view.dark = [](int row, int column) { return (row * 7 + column * 3 + row * column) % 5 < 2; };
  return view;
}

// A top-down 32-bit DIB section filled with the sentinel colour.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<std::uint32_t*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    selection_.emplace(dc_.get(), bitmap_.get());
    win::Brush sentinel(CreateSolidBrush(kSentinel));
    RECT all{0, 0, width, height};
    FillRect(dc_.get(), &all, sentinel.get());
  }
  HDC dc() const { return dc_.get(); }
  bool ready() const { return pixels_ && dc_; }
  // The pixel as an RgbColor (DIB pixels are 0x00RRGGBB).
  RgbColor At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = pixels_[y * width_ + x];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  }

 private:
  int width_, height_;
  win::Bitmap bitmap_;
  std::uint32_t* pixels_ = nullptr;
  win::MemoryDc dc_;
  std::optional<win::Selection> selection_;
};

TEST(MetafileExport, WmfPlaysBackModuleForModule) {
  const SymbolView symbol = Pattern(9, 7, 0x402010, 0xE0F0FF);
  const ByteBuffer bits = ExportWmf(symbol);
  ASSERT_FALSE(bits.empty());
  EXPECT_EQ(ExportVector(symbol, 3), bits);  // same recording every time
  win::MetaFile metafile(SetMetaFileBitsEx(static_cast<UINT>(bits.size()), bits.data()));
  ASSERT_TRUE(metafile);

  Canvas canvas(symbol.width + 3, symbol.height + 3);
  ASSERT_TRUE(canvas.ready());
  ASSERT_TRUE(PlayMetaFile(canvas.dc(), metafile.get()));
  for (int y = 0; y < symbol.height + 3; ++y)
    for (int x = 0; x < symbol.width + 3; ++x) {
      RgbColor expected = kSentinel;  // the background is exactly W x H
      if (x < symbol.width && y < symbol.height)
        expected = symbol.Dark(y + 1, x + 1) ? symbol.darkColour : symbol.lightColour;
      ASSERT_EQ(canvas.At(x, y), expected) << x << "," << y;
    }
}

TEST(MetafileExport, EmfPlaysBackWithItsWiderBackground) {
  const SymbolView symbol = Pattern(9, 7, 0x000000, 0xFFFFFF);
  const ByteBuffer bits = ExportVector(symbol, 4);
  ASSERT_GE(bits.size(), sizeof(ENHMETAHEADER));
  ENHMETAHEADER header;
  std::memcpy(&header, bits.data(), sizeof header);
  EXPECT_EQ(header.iType, static_cast<DWORD>(EMR_HEADER));
  EXPECT_EQ(header.dSignature, static_cast<DWORD>(ENHMETA_SIGNATURE));
  // Drawn bounds, inclusive: the background reaches (W + 1, H + 1) exclusive.
  EXPECT_EQ(header.rclBounds.left, 0);
  EXPECT_EQ(header.rclBounds.top, 0);
  EXPECT_EQ(header.rclBounds.right, symbol.width);
  EXPECT_EQ(header.rclBounds.bottom, symbol.height);

  ASSERT_GT(header.nDescription, 0u);
  ASSERT_LE(header.offDescription + header.nDescription * 2, bits.size());
  std::wstring wide(header.nDescription, L'\0');
  std::memcpy(wide.data(), bits.data() + header.offDescription, header.nDescription * 2);
  const std::string description(wide.begin(), wide.end());
  // The text, then the zero characters that end a description.
  const std::size_t end = description.find('\0');
  ASSERT_NE(end, std::string::npos);
  EXPECT_TRUE(std::regex_match(description.substr(0, end),
                               std::regex("TALVERN\nQREMFC[0-9]{12}[A-Z0-9]{2}")))
      << description;
  EXPECT_EQ(description.substr(end, 2), std::string(2, '\0'));

  // Played back 8 pixels to the unit; every module's centre and the extra
  // light strip right of and below the modules.
  win::EnhMetaFile metafile(SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data()));
  ASSERT_TRUE(metafile);
  constexpr int kScale = 8;
  const int width = (symbol.width + 1) * kScale, height = (symbol.height + 1) * kScale;
  Canvas canvas(width + kScale, height + kScale);
  ASSERT_TRUE(canvas.ready());
  // The frame spans the inclusive bounds, W x H units: map those to 8 pixels
  // each.
  const RECT target{0, 0, symbol.width * kScale, symbol.height * kScale};
  ASSERT_TRUE(PlayEnhMetaFile(canvas.dc(), metafile.get(), &target));
  for (int row = 1; row <= symbol.height + 1; ++row)
    for (int column = 1; column <= symbol.width + 1; ++column) {
      const bool module = row <= symbol.height && column <= symbol.width;
      const RgbColor expected =
          module && symbol.Dark(row, column) ? symbol.darkColour : symbol.lightColour;
      ASSERT_EQ(canvas.At((column - 1) * kScale + kScale / 2, (row - 1) * kScale + kScale / 2),
                expected)
          << row << "," << column;
    }
  EXPECT_EQ(canvas.At(width + kScale / 2, height + kScale / 2), kSentinel);
}

TEST(MetafileExport, EncodedSymbolMatchesModuleAt) {
  QrEncoder encoder;
  const std::string message = "https://example.com/metafile";
  EncodeOptions options;
  options.data = std::span(reinterpret_cast<const std::uint8_t*>(message.data()), message.size());
  options.dataLength = static_cast<int>(message.size());
  options.marginLeft = 2;
  options.marginTop = 1;
  options.marginRight = 1;
  options.marginBottom = 3;
  ASSERT_TRUE(encoder.EncodeMatrix(options));
  const SymbolView symbol = MakeSymbolView(encoder);
  const ByteBuffer bits = ExportWmf(symbol);
  win::MetaFile metafile(SetMetaFileBitsEx(static_cast<UINT>(bits.size()), bits.data()));
  ASSERT_TRUE(metafile);
  Canvas canvas(symbol.width, symbol.height);
  ASSERT_TRUE(PlayMetaFile(canvas.dc(), metafile.get()));
  for (int row = 1; row <= symbol.height; ++row)
    for (int column = 1; column <= symbol.width; ++column)
      ASSERT_EQ(canvas.At(column - 1, row - 1),
                encoder.ModuleAt(row, column) ? 0x000000u : 0xFFFFFFu)
          << row << "," << column;
}

// Every brush and metafile made for an export is gone when it returns.
TEST(MetafileExport, LeavesNoGdiObjects) {
  const SymbolView symbol = Pattern(25, 25, 0, 0xFFFFFF);
  ExportEmf(symbol);  // first use may set up lasting platform state
  const long before = testing::GdiObjectCount();
  ASSERT_GE(before, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(ExportWmf(symbol).empty());
    EXPECT_FALSE(ExportEmf(symbol).empty());
  }
  EXPECT_EQ(testing::GdiObjectCount(), before);
}

TEST(MetafileExport, NoCodeGivesEmptyBuffers) {
  SymbolView none;
  EXPECT_TRUE(ExportWmf(none).empty());
  EXPECT_TRUE(ExportEmf(none).empty());
  EXPECT_TRUE(ExportVector(none, 3).empty());
  EXPECT_TRUE(ExportVector(none, 4).empty());
}

TEST(MetafileExport, SaveToFileWritesTheMetafiles) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "varnelo_metafile_test";
  fs::create_directories(dir);
  const SymbolView symbol = Pattern(5, 5, 0, 0xFFFFFF);
  const std::string wmf = (dir / "code.wmf").string(), emf = (dir / "code.emf").string();
  ASSERT_TRUE(SaveToFile(symbol, wmf, 3));
  ASSERT_TRUE(SaveToFile(symbol, emf, 4));
  std::ifstream wmfIn(wmf, std::ios::binary), emfIn(emf, std::ios::binary);
  const ByteBuffer wmfBytes{std::istreambuf_iterator<char>(wmfIn), {}};
  const std::string emfBytes{std::istreambuf_iterator<char>(emfIn), {}};
  EXPECT_EQ(wmfBytes, ExportWmf(symbol));
  ASSERT_GT(emfBytes.size(), 44u);
  EXPECT_EQ(emfBytes.substr(40, 4), " EMF");
  wmfIn.close();
  emfIn.close();
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

}  // namespace
}  // namespace varnelo::qr
