// Every entry point that takes image bytes, fed bytes that are no image:
// empty, a truncated PNG, a BMP header claiming a huge picture, and random
// bytes. Each gives its failure result (or goes on without the picture, where
// a picture is optional); nothing crashes and nothing leaks GDI objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/bitmap.h"
#include "draw/image.h"
#include "draw/status.h"
#include "qr/object/image_conversion.h"
#include "qr/object/qr_code.h"
#include "tests/support/win_resources.h"

namespace varnelo {
namespace {

using qr::ByteBuffer;

struct Malformed {
  std::string name;
  ByteBuffer bytes;
};

void Put32(ByteBuffer& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
void Put16(ByteBuffer& b, std::size_t at, std::uint16_t v) { std::memcpy(b.data() + at, &v, 2); }

// A 54-byte BMP header with the given size and no pixel data behind it.
ByteBuffer BmpHeader(std::int32_t width, std::int32_t height, std::uint16_t bits) {
  ByteBuffer b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, 54);
  Put32(b, 10, 54);
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(width));
  Put32(b, 22, static_cast<std::uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  return b;
}

std::vector<Malformed> MalformedInputs() {
  qr::QrCode code;
  EXPECT_TRUE(code.Generate("https://campaign.example.com/", {.version = 3}));
  const ByteBuffer png = code.EncodeToImageBytes({.size = 200}, 4);
  EXPECT_GT(png.size(), 100u);
  std::mt19937 random(20261211);
  ByteBuffer noise(4096);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  ByteBuffer pngHeaderThenNoise(png.begin(), png.begin() + 33);
  const ByteBuffer small = BmpHeader(10, 10, 24);
  pngHeaderThenNoise.insert(pngHeaderThenNoise.end(), noise.begin(), noise.begin() + 500);
  return {
      {"empty", {}},
      {"truncated PNG", ByteBuffer(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2))},
      {"PNG signature only", ByteBuffer(png.begin(), png.begin() + 8)},
      {"PNG header then noise", pngHeaderThenNoise},
      {"BMP claiming 100000 x 100000", BmpHeader(100000, 100000, 32)},
      {"BMP claiming 2^31-1 x 2^31-1", BmpHeader(0x7FFFFFFF, 0x7FFFFFFF, 24)},
      {"BMP with negative width", BmpHeader(-5000, 100, 24)},
      {"BMP header cut at 20 bytes", ByteBuffer(small.begin(), small.begin() + 20)},
      {"random bytes", noise},
      {"one byte", ByteBuffer(1, 0x89)},
  };
}

class MalformedImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { inputs_ = new std::vector<Malformed>(MalformedInputs()); }
  static void TearDownTestSuite() { delete inputs_; }
  static const std::vector<Malformed>& Inputs() { return *inputs_; }

  // Runs body twice and expects the second run to leave the GDI object count
  // where it found it (the first warms the platform's caches up).
  template <typename Body>
  static void ExpectNoGdiGrowth(Body body) {
    body();
    const long before = testing::GdiObjectCount();
    body();
    EXPECT_EQ(testing::GdiObjectCount(), before);
  }

 private:
  static inline std::vector<Malformed>* inputs_ = nullptr;
};

TEST_F(MalformedImages, ConversionsFail) {
  ExpectNoGdiGrowth([] {
    for (const Malformed& m : Inputs()) {
      SCOPED_TRACE(m.name);
      for (int type = 1; type <= 5; ++type) EXPECT_TRUE(qr::ConvertImageBytes(m.bytes, type).empty());
      EXPECT_FALSE(qr::BitmapFromImageBytes(m.bytes));
      EXPECT_FALSE(qr::BitmapFromImageBytes(m.bytes, 50, 50));
    }
  });
}

TEST_F(MalformedImages, GenerateGoesOnWithoutTheLogo) {
  qr::QrCode plain;
  ASSERT_TRUE(plain.Generate("LOGO TEST", {.version = 4}));
  const ByteBuffer expected = plain.EncodeToImageBytes({.size = 120}, 0);
  qr::QrCode code;
  ExpectNoGdiGrowth([&] {
    for (const Malformed& m : Inputs()) {
      SCOPED_TRACE(m.name);
      ASSERT_TRUE(code.Generate("LOGO TEST", {.version = 4, .logo = m.bytes}));
      EXPECT_TRUE(code.HasCode());
      EXPECT_EQ(code.GetLogo(), m.bytes);                              // kept as given
      EXPECT_EQ(code.EncodeToImageBytes({.size = 120}, 0), expected);  // but nothing pasted
    }
  });
}

TEST_F(MalformedImages, OutputsComposeAsIfNoBackgroundWasGiven) {
  qr::QrCode code;
  ASSERT_TRUE(code.Generate("BACKGROUND TEST", {.version = 2}));
  const ByteBuffer expected = code.EncodeToImageBytes({.size = 100}, 0);
  const std::string path = "malformed_background.png";
  ExpectNoGdiGrowth([&] {
    for (const Malformed& m : Inputs()) {
      SCOPED_TRACE(m.name);
      const qr::ImageComposition composition{.size = 100,
                                             .background = m.bytes,
                                             .backgroundWidth = 300,
                                             .backgroundHeight = 200,
                                             .speckle = true};
      EXPECT_EQ(code.EncodeToImageBytes(composition, 0), expected);
      EXPECT_TRUE(code.SaveImageToFile(path, composition, 4));
      EXPECT_TRUE(code.CopyToClipboard(composition));
    }
  });
  DeleteFileA(path.c_str());
}

TEST_F(MalformedImages, BindingPaintsWithoutTheBackground) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  {
    qr::QrCode code;
    ASSERT_TRUE(code.Generate("BINDING TEST", {.version = 2}));
    ExpectNoGdiGrowth([&] {
      for (const Malformed& m : Inputs()) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(code.AttachToWindow(window, 2, {.background = m.bytes, .speckle = true}));
        EXPECT_TRUE(code.IsAttached(window));
        EXPECT_EQ(GetPropA(window, "PR8T4FF3DGEGFF2NSN1M"), nullptr);  // no background property
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_TRUE(code.DetachFromWindow(window));
      }
    });
  }
  DestroyWindow(window);
}

TEST_F(MalformedImages, DrawingLayerLoadsFail) {
  ExpectNoGdiGrowth([] {
    for (const Malformed& m : Inputs()) {
      SCOPED_TRACE(m.name);
      draw::Image image;
      EXPECT_FALSE(image.LoadFromBytes(m.bytes));
      EXPECT_NE(draw::LastStatus(), 0);
      EXPECT_EQ(image.GetNativeHandle(), nullptr);
      draw::Bitmap bitmap;
      EXPECT_FALSE(bitmap.CreateFromBytes(m.bytes));
      EXPECT_NE(draw::LastStatus(), 0);
      EXPECT_EQ(bitmap.GetNativeHandle(), nullptr);
    }
  });
}

}  // namespace
}  // namespace varnelo
