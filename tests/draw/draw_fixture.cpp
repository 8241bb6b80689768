#include "tests/draw/draw_fixture.h"

#include <gtest/gtest.h>

#include "draw/native.h"

namespace varnelo::draw::testing {

namespace {

// The layer leaves start-up and shut-down to its owner; here that is the
// test executable.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

void MakeQuadrants(Bitmap& bitmap, int width, int height, const ArgbColor (&colours)[4]) {
  ASSERT_TRUE(bitmap.CreateWithSize(width, height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int quadrant = (y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1);
      bitmap.SetPixel(x, y, colours[quadrant]);
    }
  }
}

}  // namespace varnelo::draw::testing

namespace varnelo::draw::testing {

TestPen::TestPen(ArgbColor colour, float width) {
  native::Pen* pen = nullptr;
  native::flat::GdipCreatePen1(colour, width, native::UnitPixel, &pen);
  SetNativeHandle(pen);
}

TestPen::~TestPen() { native::flat::GdipDeletePen(static_cast<native::Pen*>(GetNativeHandle())); }

TestMatrix::TestMatrix() {
  native::Matrix* matrix = nullptr;
  native::flat::GdipCreateMatrix(&matrix);
  SetNativeHandle(matrix);
}

TestMatrix::~TestMatrix() { native::flat::GdipDeleteMatrix(static_cast<native::Matrix*>(GetNativeHandle())); }

}  // namespace varnelo::draw::testing
