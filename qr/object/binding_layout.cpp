#include "qr/object/binding_layout.h"

#include <algorithm>
#include <cmath>

namespace varnelo::qr {
namespace {

constexpr double kLimit = 1 << 30;

int Truncate(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(std::trunc(value), -kLimit, kLimit));
}

PixelBox Box(double x, double y, double width, double height) {
  return {Truncate(x), Truncate(y), Truncate(width), Truncate(height)};
}

// Mode 0: the square of the client's shorter side, centred along the longer
// one; a background is scaled to that side with its proportions kept.
DisplayLayout LayOutFit(const DisplayScene& s) {
  const double w = s.clientWidth;
  const double h = s.clientHeight;
  DisplayLayout layout;
  if (!s.background) {
    const double side = std::min(w, h);
    const double x = w > h ? (w - side) / 2 : 0;
    const double y = w > h ? 0 : (h - side) / 2;
    layout.code = Box(x, y, side, side);
    layout.logo =
        Box(x + (side - s.logoWidth) / 2, y + (side - s.logoHeight) / 2, s.logoWidth, s.logoHeight);
    return layout;
  }
  const DisplayBackground& bg = *s.background;
  const double k = w > h ? h / bg.height : w / bg.width;
  layout.background = w > h ? Box((w - bg.width * k) / 2, 0, bg.width * k, h)
                            : Box(0, (h - bg.height * k) / 2, w, bg.height * k);
  const double side = s.displaySize * k;
  layout.code = Box(bg.offsetX * k + (w - side) / 2, bg.offsetY * k + (h - side) / 2, side, side);
  layout.logo = Box(bg.offsetX * k + (w - s.logoWidth * k) / 2,
                    bg.offsetY * k + (h - s.logoHeight * k) / 2, s.logoWidth * k, s.logoHeight * k);
  return layout;
}

// Mode 1: everything stretched to the client, each axis on its own.
DisplayLayout LayOutStretch(const DisplayScene& s) {
  const double w = s.clientWidth;
  const double h = s.clientHeight;
  DisplayLayout layout;
  if (!s.background) {
    layout.code = Box(0, 0, w, h);
    layout.logo = Box((w - s.logoWidth) / 2, (h - s.logoHeight) / 2, s.logoWidth, s.logoHeight);
    return layout;
  }
  const DisplayBackground& bg = *s.background;
  const double kx = w / bg.width;
  const double ky = h / bg.height;
  const double size = s.displaySize;
  layout.background = Box(0, 0, w, h);
  layout.code = Box((bg.width - size) / 2 * kx + bg.offsetX * kx,
                    (bg.height - size) / 2 * ky + bg.offsetY * ky, size * kx, size * ky);
  layout.logo = Box(bg.offsetX * kx + kx * (bg.width - s.logoWidth) / 2,
                    bg.offsetY * ky + ky * (bg.height - s.logoHeight) / 2, s.logoWidth * kx,
                    s.logoHeight * ky);
  return layout;
}

// Modes 2..10: everything at its own size, anchored at a side, a corner or
// the centre. With a background the picture is anchored and the code sits
// where the picture's centre is, shifted by the offsets.
DisplayLayout LayOutAnchored(const DisplayScene& s) {
  const double w = s.clientWidth;
  const double h = s.clientHeight;
  const double side = s.displaySize != 0 ? s.displaySize : s.codeWidth;
  // Horizontal and vertical anchor of each mode: 0 start, 1 centre, 2 end.
  struct Anchor {
    int horizontal;
    int vertical;
  };
  static constexpr Anchor kAnchors[kDisplayModeCount] = {
      {1, 1}, {1, 1},                  // modes 0 and 1 are laid out elsewhere
      {1, 1}, {0, 0}, {1, 0}, {2, 0},  // centre, top left, top centre, top right
      {2, 1}, {2, 2}, {1, 2}, {0, 2},  // right, bottom right, bottom centre, bottom left
      {0, 1}};                         // left
  const Anchor anchor = kAnchors[s.mode];
  const auto place = [](int where, double outer, double inner) {
    return where == 0 ? 0.0 : where == 1 ? (outer - inner) / 2 : outer - inner;
  };

  DisplayLayout layout;
  double x = place(anchor.horizontal, w, side);
  double y = place(anchor.vertical, h, side);
  if (s.background) {
    const DisplayBackground& bg = *s.background;
    layout.background = Box(place(anchor.horizontal, w, bg.width),
                            place(anchor.vertical, h, bg.height), bg.width, bg.height);
    // The picture's margin around a centred code square.
    const double n = (bg.width - side) / 2;
    const double m = (bg.height - side) / 2;
    x = bg.offsetX + (anchor.horizontal == 0 ? n : anchor.horizontal == 1 ? x : w - side - n);
    y = bg.offsetY + (anchor.vertical == 0 ? m : anchor.vertical == 1 ? y : h - side - m);
  }
  layout.code = Box(x, y, side, side);
  layout.logo = Box(layout.code.x + (side - s.logoWidth) / 2,
                    layout.code.y + (side - s.logoHeight) / 2, s.logoWidth, s.logoHeight);
  return layout;
}

}  // namespace

DisplayLayout LayOutDisplay(const DisplayScene& scene) {
  DisplayScene s = scene;
  if (s.mode < 0 || s.mode >= kDisplayModeCount) s.mode = 0;
  if (s.background && (s.background->width <= 0 || s.background->height <= 0)) {
    s.background.reset();
  }
  switch (s.mode) {
    case 0:
      return LayOutFit(s);
    case 1:
      return LayOutStretch(s);
    default:
      return LayOutAnchored(s);
  }
}

}  // namespace varnelo::qr
