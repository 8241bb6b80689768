// The QR object's side of the display binding: which windows paint its code,
// and the copies each of them paints with.
#include <algorithm>

#include "qr/object/binding.h"
#include "qr/object/binding_layout.h"
#include "qr/object/display_properties.h"
#include "qr/object/qr_code.h"

namespace varnelo::qr {
namespace {

win::Bitmap CopyBitmap(HBITMAP bitmap) {
  if (!bitmap) return {};
  return win::Bitmap(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
}

bool BitmapSize(HBITMAP bitmap, int& width, int& height) {
  BITMAP record{};
  if (GetObject(bitmap, sizeof record, &record) != sizeof record) return false;
  width = record.bmWidth;
  height = record.bmHeight;
  return true;
}

// Only a window of this process can be subclassed.
bool IsOwnWindow(HWND window) {
  DWORD process = 0;
  return window && IsWindow(window) && GetWindowThreadProcessId(window, &process) != 0 &&
         process == GetCurrentProcessId();
}

}  // namespace

bool QrCode::AttachToWindow(HWND window, std::optional<int> mode, const DisplayOptions& options) {
  // The defaults of the optional parameters.
  const int displayMode = mode.value_or(0);
  const RgbColor fillColour = options.fillColour.value_or(0xFFFFFF);
  const int displaySize = options.displaySize.value_or(0);
  const int offsetX = options.offsetX.value_or(0);
  const int offsetY = options.offsetY.value_or(0);
  const bool speckle = options.speckle.value_or(false);
  // Background width and height go together: both as given when the width
  // is, both the picture's own when it is not (0 keeps a dimension).
  const int backgroundWidth = options.backgroundWidth.value_or(0);
  const int backgroundHeight = options.backgroundWidth ? options.backgroundHeight.value_or(0) : 0;

  if (!IsOwnWindow(window)) return false;
  // A negative size would paint the code mirrored.
  if (displayMode < 0 || displayMode >= kDisplayModeCount || displaySize < 0) return false;

  DisplayCopies copies;
  if (HasCode()) {
    copies.code = CopyBitmap(codeBitmap.get());
    if (!copies.code) return false;
    copies.codeWidth = GetImageWidth();
    copies.codeHeight = GetImageHeight();
  }
  copies.mode = displayMode;
  if (logoBitmap) {
    copies.logo = CopyBitmap(logoBitmap.get());
    if (!copies.logo) return false;
    copies.logoWidth = logoWidth;
    copies.logoHeight = logoHeight;
  }
  copies.lightColour = lightColour;
  copies.fillColour = fillColour;
  copies.displaySize = displaySize;

  // A background that does not decode leaves the window without one.
  if (options.background && !options.background->empty()) {
    ByteBuffer converted = ConvertImageBytes(*options.background, 1);
    if (!converted.empty()) {
      displayBackgroundBmpBytes = std::move(converted);
      displayBackgroundBitmap =
          BitmapFromImageBytes(displayBackgroundBmpBytes, backgroundWidth, backgroundHeight);
      int width = 0;
      int height = 0;
      if (displayBackgroundBitmap && BitmapSize(displayBackgroundBitmap.get(), width, height)) {
        copies.background = CopyBitmap(displayBackgroundBitmap.get());
        if (!copies.background) return false;
        // The size the picture was made at: as given, and the picture's own
        // for a dimension given as 0 or not given.
        copies.backgroundWidth = width;
        copies.backgroundHeight = height;
        copies.offsetX = offsetX;
        copies.offsetY = offsetY;
        copies.noise = noiseBytes;
        copies.speckle = speckle;
      }
    }
  }

  // A second attach replaces the first.
  DetachFromWindow(window);
  if (!BindWindow(window, std::move(copies))) return false;
  attachedWindows.push_back(window);
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

bool QrCode::IsAttached(HWND window) const {
  return std::find(attachedWindows.begin(), attachedWindows.end(), window) != attachedWindows.end();
}

bool QrCode::DetachFromWindow(HWND window) {
  const auto attached = std::find(attachedWindows.begin(), attachedWindows.end(), window);
  if (!window || !IsWindow(window)) {
    // A window destroyed while bound: the copies it painted with go, and so
    // does its place in the list.
    if (attached != attachedWindows.end()) {
      ForgetWindow(window);
      attachedWindows.erase(attached);
    }
    return false;
  }
  if (const HANDLE previous = GetPropA(window, kPreviousProcedureProperty)) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  InvalidateRect(window, nullptr, TRUE);
  // Another object's window keeps its properties.
  if (attached == attachedWindows.end()) return true;
  UnbindWindow(window);
  attachedWindows.erase(attached);
  return true;
}

}  // namespace varnelo::qr
