#include "qr/object/gdiplus_flat.h"

// The library's headers use min and max unqualified; NOMINMAX removes the
// macros, so give them the standard ones.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <utility>

namespace varnelo::qr::gdiplus {

void ImageDisposer::operator()(Gdiplus::GpImage* image) const {
  Gdiplus::DllExports::GdipDisposeImage(image);
}

Image LoadBitmapFromStream(IStream* stream) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (!stream || Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok) {
    return {};
  }
  return Image(bitmap);
}

bool SaveImageToStream(Gdiplus::GpImage* image, IStream* stream, const CLSID& encoder) {
  return image && stream &&
         Gdiplus::DllExports::GdipSaveImageToStream(image, stream, &encoder, nullptr) == Gdiplus::Ok;
}

Session::Session() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

Session::Session(Session&& other) noexcept : token_(std::exchange(other.token_, 0)) {}

Session& Session::operator=(Session&& other) noexcept {
  if (this != &other) {
    Shutdown();
    token_ = std::exchange(other.token_, 0);
  }
  return *this;
}

void Session::Shutdown() {
  if (token_ != 0) Gdiplus::GdiplusShutdown(std::exchange(token_, 0));
}

}  // namespace varnelo::qr::gdiplus
