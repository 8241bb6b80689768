#include "app/share_image.h"

#include <gtest/gtest.h>

namespace varnelo::app {
namespace {

TEST(ArgbFromRgb, SwapsRedAndBlueAndPutsAlphaOnTop) {
  struct Case {
    RgbColor rgb;
    std::optional<std::uint8_t> alpha;
    ArgbColor argb;
  };
  const Case cases[] = {
      {0x0000FF, 244, 0xF4FF0000},  // the caption brush: red, alpha 244
      {0xFFFFFF, 255, 0xFFFFFFFF},
      {0x123456, std::nullopt, 0xFF563412},
      {0x000000, 0, 0x00000000},
      {0xFF0000, 1, 0x010000FF},
      {0xAB00CD, std::nullopt, 0xFFCD00AB},
      {0xFF123456, 7, 0x07563412},  // a byte above the colour is ignored
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgbFromRgb(c.rgb, c.alpha), c.argb) << std::hex << c.rgb;
  }
  static_assert(ArgbFromRgb(0x0000FF, 244) == 0xF4FF0000);
}

TEST(MakeLayoutRect, TakesOmittedWidthAndHeightAsZero) {
  const draw::RectF caption = MakeLayoutRect(6.0f, 6.0f, 288.0f, 24.0f);
  EXPECT_EQ(caption.x, 6.0f);
  EXPECT_EQ(caption.y, 6.0f);
  EXPECT_EQ(caption.width, 288.0f);
  EXPECT_EQ(caption.height, 24.0f);
  const draw::RectF point = MakeLayoutRect(1.5f, -2.0f);
  EXPECT_EQ(point.x, 1.5f);
  EXPECT_EQ(point.y, -2.0f);
  EXPECT_EQ(point.width, 0.0f);
  EXPECT_EQ(point.height, 0.0f);
}

}  // namespace
}  // namespace varnelo::app
