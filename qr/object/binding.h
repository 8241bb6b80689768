// The display binding: a QR object paints its code inside a window of the
// process that knows nothing of it. The window is subclassed, and everything
// its paint needs is stored in the nineteen window properties of
// display_properties.h. The bitmaps and noise bytes those properties name
// belong to the binding itself (one DisplayCopies per bound window, kept until
// the window is unbound or destroyed), so a later Generate or Release of the
// object never leaves a window drawing with a deleted bitmap or freed bytes.
// Windows only; message-thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "qr/encode/qr_encoder.h"
#include "win/handles.h"

namespace varnelo::qr {

// Fill colour that leaves the client area as the window's erase left it.
inline constexpr RgbColor kNoFill = 0xFFFFFFFF;  // -1

// The optional parameters of QrCode::AttachToWindow; the defaults are applied
// there.
struct DisplayOptions {
  // Colour of the client area around the code; kNoFill: none. Omitted: 0xFFFFFF.
  std::optional<RgbColor> fillColour = std::nullopt;
  // Side of the code square in pixels, 0..; 0 = the code image's own width in
  // modes 2..10. Omitted: 0.
  std::optional<int> displaySize = std::nullopt;
  // Picture behind the code, any format the platform decodes; none when
  // omitted, empty or undecodable.
  std::optional<ByteBuffer> background = std::nullopt;
  // Size the picture is stretched to: both as given (0 = its own dimension)
  // when the width is given, both the picture's own when it is omitted.
  std::optional<int> backgroundWidth = std::nullopt;
  std::optional<int> backgroundHeight = std::nullopt;
  // Shift of the code from the centre of the background (omitted: 0).
  std::optional<int> offsetX = std::nullopt;
  std::optional<int> offsetY = std::nullopt;
  // Light cells around the code on the background (omitted: off).
  std::optional<bool> speckle = std::nullopt;
};

// What a bound window paints with, owned by the binding.
struct DisplayCopies {
  win::Bitmap code;   // copy of the object's code bitmap (may be empty: no code)
  int codeWidth = 0;  // the code image's size from its BMP bytes
  int codeHeight = 0;
  int mode = 0;      // 0..10
  win::Bitmap logo;  // copy of the object's logo bitmap (may be empty)
  int logoWidth = 0;
  int logoHeight = 0;
  RgbColor lightColour = 0xFFFFFF;
  RgbColor fillColour = 0xFFFFFF;  // kNoFill: none
  int displaySize = 0;
  // With a background only: the picture at its stretched size (its pixel size
  // is in backgroundWidth x backgroundHeight), the offsets, the noise bytes
  // and the speckle flag.
  win::Bitmap background;
  int backgroundWidth = 0;
  int backgroundHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
  std::vector<std::uint8_t> noise;
  bool speckle = false;
};

// Subclasses window and sets the nineteen properties (12..19 only with a
// background) from copies, which the binding keeps. A window bound before,
// by any object, has its earlier copies replaced. False, with the window as
// it was, when it cannot be subclassed (another process's window) or a
// property cannot be set.
bool BindWindow(HWND window, DisplayCopies copies);

// Removes the nineteen properties and frees the copies the window paints
// with. The window procedure is not touched.
void UnbindWindow(HWND window);

// Frees the copies kept for a handle that no longer names a window.
void ForgetWindow(HWND window);

// The binding's window procedure: WM_PAINT with a code bitmap property paints
// the code; everything else goes to the previous procedure.
LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace varnelo::qr
