// Where a bound window paints the code, its background and the logo: the
// placement of the eleven display modes, computed from the client size and
// the values captured when the window was bound. Portable: no platform types.
#pragma once

#include <optional>

namespace varnelo::qr {

inline constexpr int kDisplayModeCount = 11;  // display modes 0..10

// A rectangle in client pixels. width and height may be 0 or below, which
// means nothing is drawn there.
struct PixelBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The background picture of a bound window and the shift of the code from
// its centre.
struct DisplayBackground {
  int width = 0;  // the picture's pixel size, 1..
  int height = 0;
  int offsetX = 0;
  int offsetY = 0;
};

struct DisplayScene {
  int clientWidth = 0;   // 1..
  int clientHeight = 0;  // 1..
  // 0 fit, 1 stretch, 2 centre, 3 top left, 4 top centre, 5 top right,
  // 6 right, 7 bottom right, 8 bottom centre, 9 bottom left, 10 left.
  int mode = 0;
  int codeWidth = 0;  // the code image, 1 pixel per module: 1..
  int codeHeight = 0;
  // Side of the code square, 0..; in modes 2..10 0 stands for codeWidth. In
  // modes 0 and 1 it only counts with a background, scaled with it.
  int displaySize = 0;
  std::optional<DisplayBackground> background = std::nullopt;
  int logoWidth = 0;  // 0 when there is no logo
  int logoHeight = 0;
};

struct DisplayLayout {
  PixelBox code;                       // the code image stretched into it
  std::optional<PixelBox> background;  // the picture stretched into it; speckle covers it too
  PixelBox logo;                       // the logo stretched into it
};

// The placement of one paint. Positions and sizes are worked out in double
// precision and truncated toward zero, each clamped to +-2^30 so that no
// caller's value can overflow the drawing calls. A mode outside 0..10, or a
// background of no size, is taken as mode 0 / no background.
DisplayLayout LayOutDisplay(const DisplayScene& scene);

}  // namespace varnelo::qr
