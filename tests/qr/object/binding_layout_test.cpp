// Placement of the code, background and logo in a bound window's client area.
#include "qr/object/binding_layout.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/qr/object/binding_test_support.h"

namespace varnelo::qr {

namespace {

struct AnchoredCase {
  int mode;
  PixelBox code;
  PixelBox background;  // with the background
  PixelBox codeOnBackground;
};

// Client 400 x 300, display size 50, a 23 x 23 code image; the background is
// 200 x 100 with offsets (3, -2), so n = 75 and m = 25.
TEST(LayOutDisplay, AnchoredModesPlaceCodeAndBackground) {
  const AnchoredCase cases[] = {
      {2, {175, 125, 50, 50}, {100, 100, 200, 100}, {178, 123, 50, 50}},
      {3, {0, 0, 50, 50}, {0, 0, 200, 100}, {78, 23, 50, 50}},
      {4, {175, 0, 50, 50}, {100, 0, 200, 100}, {178, 23, 50, 50}},
      {5, {350, 0, 50, 50}, {200, 0, 200, 100}, {278, 23, 50, 50}},
      {6, {350, 125, 50, 50}, {200, 100, 200, 100}, {278, 123, 50, 50}},
      {7, {350, 250, 50, 50}, {200, 200, 200, 100}, {278, 223, 50, 50}},
      {8, {175, 250, 50, 50}, {100, 200, 200, 100}, {178, 223, 50, 50}},
      {9, {0, 250, 50, 50}, {0, 200, 200, 100}, {78, 223, 50, 50}},
      {10, {0, 125, 50, 50}, {0, 100, 200, 100}, {78, 123, 50, 50}},
  };
  for (const AnchoredCase& c : cases) {
    SCOPED_TRACE(c.mode);
    DisplayScene scene{.clientWidth = 400, .clientHeight = 300, .mode = c.mode,
                       .codeWidth = 23, .codeHeight = 23, .displaySize = 50};
    DisplayLayout plain = LayOutDisplay(scene);
    EXPECT_EQ(plain.code, c.code);
    EXPECT_FALSE(plain.background);

    scene.background = DisplayBackground{200, 100, 3, -2};
    DisplayLayout over = LayOutDisplay(scene);
    ASSERT_TRUE(over.background);
    EXPECT_EQ(*over.background, c.background);
    EXPECT_EQ(over.code, c.codeOnBackground);
    // The code's centre is the picture's centre moved by the offsets.
    EXPECT_EQ(over.code.x + 25, over.background->x + 100 + 3);
    EXPECT_EQ(over.code.y + 25, over.background->y + 50 - 2);
  }
}

struct SceneCase {
  const char* name;
  DisplayScene scene;
  PixelBox code;
  PixelBox logo;
  bool hasBackground;
  PixelBox background;
};

TEST(LayOutDisplay, FitStretchAndTruncation) {
  const DisplayBackground picture{200, 100, 0, 0};
  const SceneCase cases[] = {
      {"fit, wide client", {200, 100, 0, 23, 23, 0, {}, 20, 10}, {50, 0, 100, 100},
       {90, 45, 20, 10}, false, {}},
      {"fit, tall client", {100, 200, 0, 23, 23, 0, {}, 0, 0}, {0, 50, 100, 100},
       {50, 100, 0, 0}, false, {}},
      {"stretch", {120, 80, 1, 23, 23, 0, {}, 20, 10}, {0, 0, 120, 80}, {50, 35, 20, 10},
       false, {}},
      {"centre 1:1", {300, 300, 2, 51, 51, 0, {}, 0, 0}, {124, 124, 51, 51}, {149, 149, 0, 0},
       false, {}},
      {"bottom right", {400, 300, 7, 51, 51, 150, {}, 0, 0}, {250, 150, 150, 150},
       {325, 225, 0, 0}, false, {}},
      // Positions are truncated toward zero, also below zero.
      {"code larger than the client", {40, 40, 2, 51, 51, 0, {}, 0, 0}, {-5, -5, 51, 51},
       {20, 20, 0, 0}, false, {}},
      // Fit with a background: the picture scaled to the shorter side (k = 1.5);
      // display size 0 gives no code.
      {"fit over a picture, tall client", {300, 400, 0, 23, 23, 0, picture, 20, 10},
       {150, 200, 0, 0}, {135, 192, 30, 15}, true, {0, 125, 300, 150}},
      // k = 3: the picture is wider than the client.
      {"fit over a picture, wide client", {400, 300, 0, 23, 23, 40, picture, 0, 0},
       {140, 90, 120, 120}, {200, 150, 0, 0}, true, {-100, 0, 600, 300}},
      // kx = 1.5, ky = 4, offsets (10, 4).
      {"stretch over a picture",
       {300, 400, 1, 23, 23, 40, DisplayBackground{200, 100, 10, 4}, 20, 10},
       {135, 136, 60, 160}, {150, 196, 30, 40}, true, {0, 0, 300, 400}},
      {"mode out of range is fit", {200, 100, 11, 23, 23, 0, {}, 0, 0}, {50, 0, 100, 100},
       {100, 50, 0, 0}, false, {}},
      {"picture without size is none",
       {300, 300, 2, 23, 23, 0, DisplayBackground{0, 100, 0, 0}, 0, 0},
       {138, 138, 23, 23}, {149, 149, 0, 0}, false, {}},
      // No value a caller passes overflows: positions stop at 2^30.
      {"huge offset", {300, 300, 2, 23, 23, 0, DisplayBackground{100, 100, INT_MAX, INT_MIN}, 0, 0},
       {1 << 30, -(1 << 30), 23, 23}, {1 << 30, -(1 << 30) + 12, 0, 0}, true, {100, 100, 100, 100}},
  };
  for (const SceneCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DisplayLayout layout = LayOutDisplay(c.scene);
    EXPECT_EQ(layout.code, c.code);
    EXPECT_EQ(layout.logo, c.logo);
    ASSERT_EQ(layout.background.has_value(), c.hasBackground);
    if (c.hasBackground) {
      EXPECT_EQ(*layout.background, c.background);
    }
  }
}

}  // namespace
}  // namespace varnelo::qr
