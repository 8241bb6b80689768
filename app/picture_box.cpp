#include "app/picture_box.h"

#include "app/window_class.h"

namespace varnelo::app {
namespace {

constexpr wchar_t kClassName[] = L"VarneloPictureBox";
constexpr int kMaxSide = 4096;

}  // namespace

PictureBox::~PictureBox() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

bool PictureBox::Create(HWND parent, int x, int y, int width, int height) {
  if (window_ || !IsWindow(parent)) return false;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, kClassName, &PictureBox::WindowProc, reinterpret_cast<LPCWSTR>(IDC_HAND),
                           nullptr)) {
    return false;
  }
  gdiplus_.Start();

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::Bitmap canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!canvas || !bits) return false;

  HWND window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                nullptr, instance, this);
  if (!window) return false;
  canvas_ = std::move(canvas);
  canvasBits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  Render();
  return true;
}

bool PictureBox::SetPicture(std::span<const std::uint8_t> bytes) {
  picture_.assign(bytes.begin(), bytes.end());
  const bool shown = Render();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
  return shown;
}

// Draws the current picture into the canvas; returns whether it decoded.
bool PictureBox::Render() {
  area_ = {};
  if (!canvas_) return false;
  win::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  win::Selection selected(dc.get(), canvas_.get());
  RECT all{0, 0, width_, height_};
  FillRect(dc.get(), &all, GetSysColorBrush(COLOR_WINDOW));

  DecodedImage image = DecodeImage(picture_);
  if (!image) return false;
  const SIZE size = ImageSize(image.get());
  const PictureRect area = FitPicture(size.cx, size.cy, width_, height_);
  if (area.width == 0) return false;

  gp::Graphics* rawGraphics = nullptr;
  if (gp::flat::GdipCreateFromHDC(dc.get(), &rawGraphics) != gp::Ok) return false;
  GpGraphicsOwner graphics(rawGraphics);
  const bool sameSize = area.width == size.cx && area.height == size.cy;
  // A code at its own size must keep every module edge: copy pixels as they
  // are. A scaled picture gets the smooth filter.
  gp::flat::GdipSetInterpolationMode(
      graphics.get(), sameSize ? gp::InterpolationModeNearestNeighbor
                               : gp::InterpolationModeHighQualityBicubic);
  gp::flat::GdipSetPixelOffsetMode(graphics.get(), gp::PixelOffsetModeHalf);
  const bool drawn = gp::flat::GdipDrawImageRectI(graphics.get(), image.get(), area.x, area.y,
                                                             area.width, area.height) == gp::Ok;
  graphics.reset();
  GdiFlush();
  if (drawn) area_ = area;
  return drawn;
}

std::uint32_t PictureBox::PixelAt(int x, int y) const {
  if (!canvasBits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  const std::uint32_t bgrx = canvasBits_[static_cast<std::size_t>(y) * width_ + x];
  // DIB pixels are 0x00RRGGBB; colours here are 0x00BBGGRR.
  return ((bgrx & 0xFF) << 16) | (bgrx & 0xFF00) | ((bgrx >> 16) & 0xFF);
}

LRESULT CALLBACK PictureBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return RouteToOwner(window, message, wParam, lParam, &PictureBox::window_, &PictureBox::HandleMessage);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      win::PaintDc paint(window);
      win::MemoryDc source(CreateCompatibleDC(paint.get()));
      if (source && canvas_) {
        win::Selection selected(source.get(), canvas_.get());
        BitBlt(paint.get(), 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (onLeftButtonDown_) onLeftButtonDown_();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace varnelo::app
