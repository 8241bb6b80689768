// Shared test helpers for the drawing layer: the graphics library is started
// once for the whole executable (draw_fixture.cpp).
#pragma once

#include <cstdint>

#include "draw/bitmap.h"
#include "draw/records.h"

namespace varnelo::draw::testing {

// A width x height ARGB bitmap whose four quadrants have the given colours
// (top-left, top-right, bottom-left, bottom-right).
void MakeQuadrants(Bitmap& bitmap, int width, int height, const ArgbColor (&colours)[4]);

// Number of pixels in the rectangle whose colour satisfies `match`.
template <typename Match>
int CountPixels(const Bitmap& bitmap, const RectI& area, Match match) {
  int count = 0;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      if (match(bitmap.GetPixel(x, y))) ++count;
    }
  }
  return count;
}

inline int Red(ArgbColor c) { return (c >> 16) & 0xFF; }
inline int Green(ArgbColor c) { return (c >> 8) & 0xFF; }
inline int Blue(ArgbColor c) { return c & 0xFF; }

// The GBK bytes of the caption font's family name, "宋体".
inline const TextBytes kSongTi = "\xCB\xCE\xCC\xE5";

}  // namespace varnelo::draw::testing

namespace varnelo::draw::testing {

// Test-side owners for native objects the layer has no class for; each
// lends itself to the layer as a NativeObjectRef.
class TestPen : public NativeObjectRef {
 public:
  explicit TestPen(ArgbColor colour, float width = 1);
  ~TestPen() override;
};

class TestMatrix : public NativeObjectRef {
 public:
  TestMatrix();
  ~TestMatrix() override;
};

}  // namespace varnelo::draw::testing
