// The GDI+ pieces the form toolkit and the share image use directly: the
// library's start, owners for its images and graphics, and decoding image
// bytes. Windows only.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <algorithm>
// The platform's GDI+ headers expect min and max, which NOMINMAX removes.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <cstdint>
#include <span>
#include <vector>

#include "win/handles.h"

namespace varnelo::app {

namespace gp {
// MinGW declares the GDI+ handle types inside Gdiplus, MSVC at global scope;
// unqualified names in here find either.
using namespace Gdiplus;
using Image = GpImage;
using Graphics = GpGraphics;
namespace flat = DllExports;
}  // namespace gp

// One start of GDI+ (GdiplusStartup with version 1 and no callbacks
// suppressed), shut down by Shutdown or the destructor. Starts nest: the
// library stays up until its last start is shut down.
class GdiplusSession {
 public:
  GdiplusSession() = default;
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() { Shutdown(); }

  // Starts the library unless this session already holds a start.
  bool Start();
  // Shuts this session's start down (nothing when it holds none).
  void Shutdown();
  ULONG_PTR Token() const { return token_; }

 private:
  ULONG_PTR token_ = 0;
};

struct GpImageCloser {
  void operator()(gp::Image* image) const { gp::flat::GdipDisposeImage(image); }
};
struct GpGraphicsCloser {
  void operator()(gp::Graphics* graphics) const { gp::flat::GdipDeleteGraphics(graphics); }
};
using GpImageOwner = win::Owner<gp::Image*, GpImageCloser>;
using GpGraphicsOwner = win::Owner<gp::Graphics*, GpGraphicsCloser>;

// An image decoded from bytes, with the stream it may go on reading from
// (GDI+ requires the stream to live as long as the image). The image is
// declared last so that it goes before its stream.
struct DecodedImage {
  win::ComPtr<IStream> stream;
  GpImageOwner image;

  explicit operator bool() const { return static_cast<bool>(image); }
  gp::Image* get() const { return image.get(); }
};

// Decodes image bytes (any format GDI+ reads: BMP, PNG, ...) from a copy of
// them, after ReadableBmpHeader. Empty when they are not an image or the
// library is not started.
DecodedImage DecodeImage(std::span<const std::uint8_t> bytes);

// The QR object writes BMP files whose information header claims 44 bytes:
// the standard 40-byte header and 4 spare bytes before the pixels, which
// start where the file header says. Some BMP decoders refuse that size. For
// an uncompressed BMP of 16 bits per pixel or more (no colour table to
// find) this returns a copy that calls its header the standard 40 bytes;
// the pixels stay where they are. Any other bytes come back unchanged.
std::vector<std::uint8_t> ReadableBmpHeader(std::span<const std::uint8_t> bytes);

// Pixel size of an image; {0, 0} for none.
SIZE ImageSize(gp::Image* image);

// A stream over a copy of the bytes on movable global memory; the stream
// frees the memory when it is released. Empty when memory is short.
win::ComPtr<IStream> StreamOnCopy(std::span<const std::uint8_t> bytes);

}  // namespace varnelo::app
