// Where the picture box draws a picture. Portable.
#pragma once

namespace varnelo::app {

struct PictureRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PictureRect&) const = default;
};

// A picture that fits the box is drawn at its own size; a larger one is
// scaled down, keeping its aspect ratio, to the largest size that fits (never
// cropped). Either way it is centred; odd leftovers go right and down.
// Sizes below 1 give an empty rectangle.
constexpr PictureRect FitPicture(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight) {
  if (pictureWidth < 1 || pictureHeight < 1 || boxWidth < 1 || boxHeight < 1) return {};
  int width = pictureWidth;
  int height = pictureHeight;
  if (width > boxWidth || height > boxHeight) {
    const double scaleX = static_cast<double>(boxWidth) / pictureWidth;
    const double scaleY = static_cast<double>(boxHeight) / pictureHeight;
    const double scale = scaleX < scaleY ? scaleX : scaleY;
    width = static_cast<int>(pictureWidth * scale + 0.5);
    height = static_cast<int>(pictureHeight * scale + 0.5);
    width = width < 1 ? 1 : (width > boxWidth ? boxWidth : width);
    height = height < 1 ? 1 : (height > boxHeight ? boxHeight : height);
  }
  return {(boxWidth - width) / 2, (boxHeight - height) / 2, width, height};
}

}  // namespace varnelo::app
