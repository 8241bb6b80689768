#include "qr/encode/render_gdi.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/qr/object/test_images.h"

namespace varnelo::qr {
namespace {

using testing::ReadBitmap;

// A size x size matrix with rows of (size + 3) & ~3 bytes and an irregular
// pattern, so a shifted or mirrored copy cannot pass.
std::vector<std::uint8_t> PatternMatrix(int size) {
  const int stride = (size + 3) & ~3;
  std::vector<std::uint8_t> cells(static_cast<std::size_t>(stride) * stride, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) cells[y * stride + x] = (x * 7 + y * 3 + x * y) % 5 == 0;
  return cells;
}

struct RenderCase {
  int size, left, top, right, bottom;
  RgbColor dark;
  std::optional<RgbColor> light;
};

TEST(RenderModuleMatrix, DrawsEveryModuleInsideALightBorder) {
  const RenderCase cases[] = {
      {21, 1, 1, 1, 1, 0x000000, std::nullopt},       // default light colour: white
      {21, 4, 0, 0, 2, 0x000000, 0xFFFFFF},           // unequal margins
      {21, 0, 0, 0, 0, 0xFF0000, 0x0000FF},           // blue modules on red
      {45, 3, 1, 2, 5, 0x123456, 0xABCDEF},           // stride 48 > size + 3
  };
  for (const RenderCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "size " << c.size << " margins " << c.left << ","
                                      << c.top << "," << c.right << "," << c.bottom);
    const std::vector<std::uint8_t> matrix = PatternMatrix(c.size);
    const int stride = (c.size + 3) & ~3;
    win::Bitmap bitmap = RenderModuleMatrix(matrix, c.size, c.size, c.left, c.top, c.right,
                                            c.bottom, c.dark, c.light);
    ASSERT_TRUE(bitmap);
    const auto image = ReadBitmap(bitmap.get());
    ASSERT_EQ(image.width, c.size + c.left + c.right);
    ASSERT_EQ(image.height, c.size + c.top + c.bottom);
    const RgbColor light = c.light.value_or(0xFFFFFF);
    int wrong = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const int mx = x - c.left, my = y - c.top;
        const bool inside = mx >= 0 && my >= 0 && mx < c.size && my < c.size;
        const RgbColor expected = inside && matrix[my * stride + mx] ? c.dark : light;
        wrong += image.At(x, y) != expected;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(RenderModuleMatrix, RefusesArgumentsThatDescribeNoImage) {
  const std::vector<std::uint8_t> matrix = PatternMatrix(21);
  const std::span<const std::uint8_t> shortMatrix(matrix.data(), 24 * 21 - 1);  // stride 24
  EXPECT_FALSE(RenderModuleMatrix(shortMatrix, 21, 21));           // one byte short
  EXPECT_FALSE(RenderModuleMatrix({}, 21, 21));                    // no bytes
  EXPECT_FALSE(RenderModuleMatrix(matrix, 0, 21));                 // no width
  EXPECT_FALSE(RenderModuleMatrix(matrix, 21, -1));                // negative height
  EXPECT_FALSE(RenderModuleMatrix(matrix, 21, 21, -11, 0, -10));   // margins eat the width
  EXPECT_FALSE(RenderModuleMatrix(matrix, 21, 21, 0x7FFFFFFF, 0, 1));  // width overflows
}

}  // namespace
}  // namespace varnelo::qr
