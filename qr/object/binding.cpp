#include "qr/object/binding.h"

#include <array>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>

#include "qr/object/binding_draw.h"
#include "qr/object/binding_layout.h"
#include "qr/object/display_properties.h"

namespace varnelo::qr {
namespace {

// Positions in kDisplayProperties.
enum Property : int {
  kPreviousProcedure,
  kCodeBitmap,
  kCodeWidth,
  kCodeHeight,
  kMode,
  kLogoBitmap,
  kLogoWidth,
  kLogoHeight,
  kLightColour,
  kFillColour,
  kDisplaySize,
  kBackgroundBitmap,  // this one and all after it only with a background
  kBackgroundWidth,
  kBackgroundHeight,
  kOffsetX,
  kOffsetY,
  kNoiseBytes,
  kNoiseCount,
  kSpeckle,
};
constexpr int kPropertiesWithoutBackground = kBackgroundBitmap;

// The copies of every bound window. A window has the properties exactly when
// it has an entry here, and the properties name what the entry owns. Never
// destroyed: objects released at exit may still unbind through it.
using BoundWindows = std::unordered_map<HWND, std::unique_ptr<DisplayCopies>>;
BoundWindows& Bound() {
  static auto* bound = new BoundWindows;
  return *bound;
}

HANDLE Value(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }
HANDLE Value(int value) { return Value(static_cast<std::intptr_t>(value)); }
HANDLE Value(const void* pointer) { return Value(reinterpret_cast<std::intptr_t>(pointer)); }

HANDLE Get(HWND window, Property property) {
  return GetPropA(window, kDisplayProperties[property]);
}
// A number property: the int32 stored sign-extended in the pointer-sized value.
int GetInt(HWND window, Property property) {
  return static_cast<int>(
      static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(Get(window, property))));
}

void RemoveProperties(HWND window) {
  for (const char* name : kDisplayProperties) RemovePropA(window, name);
}

// The window's previous procedure; none when the property is missing or,
// should it ever name this binding, when forwarding would only come back here.
WNDPROC PreviousProcedure(HWND window) {
  const auto previous = reinterpret_cast<WNDPROC>(Get(window, kPreviousProcedure));
  return previous == &DisplayWindowProc ? nullptr : previous;
}

LRESULT Forward(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                  : DefWindowProcA(window, message, wParam, lParam);
}

// What one paint reads from the properties.
struct PaintValues {
  HBITMAP code = nullptr;
  DisplayScene scene;
  HBITMAP logo = nullptr;
  RgbColor lightColour = 0;
  RgbColor fillColour = 0;
  HBITMAP background = nullptr;
  std::span<const std::uint8_t> noise;  // only with a background and speckle
};

PaintValues ReadPaintValues(HWND window, int clientWidth, int clientHeight) {
  PaintValues v;
  v.code = static_cast<HBITMAP>(Get(window, kCodeBitmap));
  v.scene.clientWidth = clientWidth;
  v.scene.clientHeight = clientHeight;
  v.scene.mode = GetInt(window, kMode);
  v.scene.codeWidth = GetInt(window, kCodeWidth);
  v.scene.codeHeight = GetInt(window, kCodeHeight);
  v.scene.displaySize = GetInt(window, kDisplaySize);
  v.logo = static_cast<HBITMAP>(Get(window, kLogoBitmap));
  v.scene.logoWidth = v.logo ? GetInt(window, kLogoWidth) : 0;
  v.scene.logoHeight = v.logo ? GetInt(window, kLogoHeight) : 0;
  v.lightColour = static_cast<RgbColor>(GetInt(window, kLightColour));
  v.fillColour = static_cast<RgbColor>(GetInt(window, kFillColour));
  v.background = static_cast<HBITMAP>(Get(window, kBackgroundBitmap));
  if (v.background) {
    v.scene.background =
        DisplayBackground{GetInt(window, kBackgroundWidth), GetInt(window, kBackgroundHeight),
                          GetInt(window, kOffsetX), GetInt(window, kOffsetY)};
    const auto* noise = static_cast<const std::uint8_t*>(Get(window, kNoiseBytes));
    const auto count =
        static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(Get(window, kNoiseCount)));
    if (GetInt(window, kSpeckle) != 0 && noise) v.noise = {noise, count};
  }
  return v;
}

// The whole client area is built in a back buffer and copied with one BitBlt.
void PaintDisplay(HWND window) {
  win::PaintDc paint(window);
  if (!paint.get()) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  const PaintValues v = ReadPaintValues(window, width, height);

  win::MemoryDc buffer(CreateCompatibleDC(paint.get()));
  win::Bitmap bufferBitmap(CreateCompatibleBitmap(paint.get(), width, height));
  if (!buffer || !bufferBitmap) return;
  win::Selection bufferSelection(buffer.get(), bufferBitmap.get());
  const HDC out = buffer.get();

  if (v.fillColour == kNoFill) {
    // What the window's erase left in the client area stays.
    BitBlt(out, 0, 0, width, height, paint.get(), 0, 0, SRCCOPY);
  } else {
    win::Brush fill(CreateSolidBrush(v.fillColour & 0xFFFFFF));
    if (fill) FillRect(out, &client, fill.get());
  }

  const DisplayLayout layout = LayOutDisplay(v.scene);
  if (layout.background) {
    const PixelBox& at = *layout.background;
    DrawBitmap(out, v.background, at.x, at.y, at.width, at.height, 0, 0, v.scene.background->width,
               v.scene.background->height);
    PaintSpeckle(out, v.noise, at, layout.code, v.scene.codeWidth, v.scene.codeHeight,
                 v.lightColour);
  }
  if (layout.code.width > 0 && layout.code.height > 0) {
    win::MemoryDc codeDc(CreateCompatibleDC(nullptr));
    win::Selection codeSelection(codeDc.get(), v.code);
    if (codeDc && GetCurrentObject(codeDc.get(), OBJ_BITMAP) == v.code) {
      // Over a background the code is ORed in: its dark modules let the
      // picture through.
      StretchBlt(out, layout.code.x, layout.code.y, layout.code.width, layout.code.height,
                 codeDc.get(), 0, 0, v.scene.codeWidth, v.scene.codeHeight,
                 layout.background ? SRCPAINT : SRCCOPY);
    }
  }
  DrawBitmap(out, v.logo, layout.logo.x, layout.logo.y, layout.logo.width, layout.logo.height, 0, 0,
             v.scene.logoWidth, v.scene.logoHeight);

  BitBlt(paint.get(), 0, 0, width, height, out, 0, 0, SRCCOPY);
}

}  // namespace

bool BindWindow(HWND window, DisplayCopies copies) {
  auto owned = std::make_unique<DisplayCopies>(std::move(copies));
  const DisplayCopies& c = *owned;

  SetLastError(0);
  const LONG_PTR previous =
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DisplayWindowProc));
  if (previous == 0 && GetLastError() != 0) return false;

  const std::array<HANDLE, 19> values = {
      Value(previous),
      c.code.get(),
      Value(c.codeWidth),
      Value(c.codeHeight),
      Value(c.mode),
      c.logo.get(),
      Value(c.logoWidth),
      Value(c.logoHeight),
      Value(static_cast<int>(c.lightColour)),
      Value(static_cast<int>(c.fillColour)),
      Value(c.displaySize),
      c.background.get(),
      Value(c.backgroundWidth),
      Value(c.backgroundHeight),
      Value(c.offsetX),
      Value(c.offsetY),
      Value(c.noise.data()),
      Value(static_cast<std::intptr_t>(c.noise.size())),
      Value(c.speckle ? 1 : 0),
  };
  const int count = c.background ? static_cast<int>(values.size()) : kPropertiesWithoutBackground;
  for (int i = 0; i < count; ++i) {
    if (!SetPropA(window, kDisplayProperties[i], values[i])) {
      // Nothing half-bound stays behind, nor any earlier binding's copies.
      RemoveProperties(window);
      Bound().erase(window);
      SetWindowLongPtrA(window, GWLP_WNDPROC, previous);
      return false;
    }
  }
  // A rebind without a background leaves no stale background properties.
  for (int i = count; i < static_cast<int>(values.size()); ++i) {
    RemovePropA(window, kDisplayProperties[i]);
  }
  // Any earlier copies go only now that no property names them.
  Bound()[window] = std::move(owned);
  return true;
}

void UnbindWindow(HWND window) {
  RemoveProperties(window);
  Bound().erase(window);
}

void ForgetWindow(HWND window) { Bound().erase(window); }

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = PreviousProcedure(window);
  if (message == WM_PAINT && Get(window, kCodeBitmap)) {
    PaintDisplay(window);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    // The window's last message: its copies go with it.
    const LRESULT result = Forward(previous, window, message, wParam, lParam);
    UnbindWindow(window);
    return result;
  }
  return Forward(previous, window, message, wParam, lParam);
}

}  // namespace varnelo::qr
