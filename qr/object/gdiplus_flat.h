// The few calls of the graphics library's flat interface that the QR object
// uses, with owners for what they return. Windows only.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>

#include "win/handles.h"

namespace Gdiplus {
class GpImage;  // the flat interface's opaque image
}

namespace varnelo::qr::gdiplus {

struct ImageDisposer {
  void operator()(Gdiplus::GpImage* image) const;
};
using Image = win::Owner<Gdiplus::GpImage*, ImageDisposer>;

// Decodes an image from a stream. The image keeps reading the stream: declare
// the stream's owner first so the image is disposed before it.
Image LoadBitmapFromStream(IStream* stream);

// Encodes the image with the encoder of that class identifier, no encoder
// parameters.
bool SaveImageToStream(Gdiplus::GpImage* image, IStream* stream, const CLSID& encoder);

// One start of the graphics library, shut down on destruction. Move-only.
class Session {
 public:
  Session();  // GdiplusStartup, version 1, library's own background thread
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  Session(Session&& other) noexcept;
  Session& operator=(Session&& other) noexcept;
  ~Session() { Shutdown(); }

  bool started() const { return token_ != 0; }
  void Shutdown();  // safe to call twice

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace varnelo::qr::gdiplus
