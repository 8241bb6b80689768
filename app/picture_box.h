// The form toolkit's picture box: shows a picture given as image bytes,
// keeps a tag text and reports a left-button press. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/gdiplus_support.h"
#include "app/picture_fit.h"
#include "win/handles.h"

namespace varnelo::app {

class PictureBox {
 public:
  PictureBox() = default;
  PictureBox(const PictureBox&) = delete;
  PictureBox& operator=(const PictureBox&) = delete;
  ~PictureBox();

  // Creates the box as a child of parent at (x, y), width × height (both
  // 1..4096); false when it exists already or cannot be made.
  bool Create(HWND parent, int x, int y, int width, int height);

  // Shows the picture in bytes (BMP, PNG or another format GDI+ reads),
  // placed by FitPicture on the window background. The bytes are kept as the
  // current picture even when they cannot be decoded (the box then shows no
  // picture). Returns whether a picture is shown.
  bool SetPicture(std::span<const std::uint8_t> bytes);
  // The bytes last given to SetPicture.
  const std::vector<std::uint8_t>& Picture() const { return picture_; }
  // Where the current picture is drawn in the box; empty when none is shown.
  PictureRect PictureArea() const { return area_; }
  // Colour (0x00BBGGRR) of the pixel at (x, y) of what the box shows; 0
  // outside the box or before Create.
  std::uint32_t PixelAt(int x, int y) const;

  void SetTag(std::string tag) { tag_ = std::move(tag); }
  // Tag text (GBK), empty until set.
  const std::string& Tag() const { return tag_; }

  // Called on every left-button press in the box.
  void SetLeftButtonDownHandler(std::function<void()> handler) { onLeftButtonDown_ = std::move(handler); }

  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Render();

  HWND window_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  GdiplusSession gdiplus_;
  win::Bitmap canvas_;  // what the box shows, width_ × height_, 32 bits, top-down
  std::uint32_t* canvasBits_ = nullptr;
  std::vector<std::uint8_t> picture_;
  PictureRect area_;
  std::string tag_;
  std::function<void()> onLeftButtonDown_;
};

}  // namespace varnelo::app
